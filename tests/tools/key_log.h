#pragma once
// The probe's key log: a focused window that reports every character it receives, with the
// time it arrived, for latency measurements and typing tests driven from Python.

namespace tavrel::probe {

// Shows the window, prints "ready" and then serves until standard input closes (see key_log.cpp).
int runKeyLog();

}  // namespace tavrel::probe
