#!/usr/bin/env python3
"""Latency of injected text, against the floor of the same key typed physically.

    bench/latency.py [build folder] [presses]

Runs inside tools/with-display. A key press leaves through XTest with its time read right
before it is sent; the probe's key log window (tests/tools/key_log.cpp) notes when each
WM_CHAR arrives, on the same clock after calibration. Four runs of the X key:
  floor   tavrel.exe not running: X types x itself
  plain   a keyboard hook that only passes events on (probe.exe plain-hook): Wine's cost of a hook
  hooks   tavrel.exe running with its hooks in, no binding on X: x passes through the hooks
  bound   X bound, blocked, to "Insert text" "x": the x that arrives is the injected one
and then one press of F8 bound to a text of 65,536 UTF-16 units, timed from the press to the
last character, with every character counted and compared. For reference, the probe also
injects letters into itself in the same batches, with no hook, the plain hook and tavrel.exe's
hooks: what Wine itself costs a unit.
"""

import math
import os
import pathlib
import random
import statistics
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]
if len(sys.argv) > 1:
    os.environ["TAVREL_BUILD"] = str(pathlib.Path(sys.argv[1]).resolve())
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

from key_log import KeyLog  # noqa: E402
from tavrel_e2e import Session  # noqa: E402
from xtest import Keyboard, now_ns  # noqa: E402

PRESSES = int(sys.argv[2]) if len(sys.argv) > 2 else 200
LONG_UNITS = 65536
REFERENCE_UNITS = 8192
X_SCAN, F8_SCAN, Q_SCAN = 0x2D, 0x42, 0x10

HEADER = ('<?xml version="1.0" encoding="UTF-8"?>\n<tavrel schemaVersion="4" language="en" compact="false" '
          'autoUpdate="false" width="1100" height="760">\n')
BINDING = ('  <binding id="{{7A4C2E10-5B3D-4F6A-8E21-9C0B1D2E3F{n:02X}}}" enabled="true" keepOriginalFunction="false" '
           'holdThresholdMs="500" holdEnabled="true">\n    <name>{name}</name>\n'
           '    <trigger kind="keyboard" code="{code}" extended="false" modifiers="0"/>\n'
           '    <onPress>{action}</onPress>\n    <onHold/>\n  </binding>\n')


def config(*bindings):
    return HEADER + "".join(BINDING.format(n=n, **b) for n, b in enumerate(bindings)) + "</tavrel>\n"


def text_binding(name, code, text):
    return {"name": name, "code": code, "action": f'<action enabled="true" type="text"><text>{text}</text></action>'}


# Letters and digits only: nothing that XML changes, and single-byte UTF-8, because Wine's
# XML reader garbles a multi-byte character that straddles its read buffers (the text then
# reads back longer than the limit and the configuration is refused).
LONG_TEXT = "abcdefghijklmnopqrstuvwxyz0123456789"
LONG_TEXT = (LONG_TEXT * (LONG_UNITS // len(LONG_TEXT) + 1))[:LONG_UNITS]

CONFIGS = {
    "hooks": config({"name": "Q", "code": Q_SCAN, "action": '<action enabled="true" type="delay" ms="1"/>'}),
    "bound": config(text_binding("X", X_SCAN, "x"), text_binding("Long", F8_SCAN, LONG_TEXT)),
}


def percentile(values, share):
    ordered = sorted(values)
    return ordered[max(0, math.ceil(share * len(ordered)) - 1)]


def open_log(session):
    log = KeyLog(session)
    log.focus()
    time.sleep(0.3)
    log.calibrate()
    return log


def press_series(log, keyboard, key, char, presses):
    """Latencies in ms of presses of key until char arrives; presses with no char are counted as missed."""
    latencies, missed = [], 0
    random.seed(1)
    for _ in range(presses):
        if missed >= 10 and not latencies:
            break  # the key gives nothing here: no use waiting out every press
        start = log.count()
        pressed = keyboard.press(key)
        time.sleep(0.005)
        keyboard.release(key)
        arrived = log.wait_count(start + 1, timeout=0.5) > start
        if arrived:
            unit, at = log.chars(start)[0]
            if unit == ord(char):
                latencies.append((at - pressed) / 1e6)
            else:
                missed += 1
        else:
            missed += 1
        time.sleep(max(0.0, random.uniform(0.030, 0.050) - (now_ns() - pressed) / 1e9))
    return latencies, missed


def run_series(name, presses):
    """One session with the named configuration: the presses of X, and the texts it measures."""
    with Session(CONFIGS.get(name, "empty.xml")) as session, Keyboard() as keyboard:
        if name == "plain":
            session.probe("plain-hook")
        elif name != "floor":
            session.start_and_wait()
        log = open_log(session)
        latencies, missed = press_series(log, keyboard, "x", "x", presses)
        result = {"latencies": latencies, "missed": missed, "calibration": (log.offset_ns, log.round_trip_ns)}
        if name == "bound":
            result["long"] = long_text(log, keyboard) if latencies else None
        else:
            result["reference"] = reference_text(log)
    return result


def reference_text(log):
    """Seconds per unit for text the probe injects into itself: what Wine costs without the program."""
    time.sleep(0.3)
    start = log.count()
    sent = now_ns()
    log.send_letters(REFERENCE_UNITS)
    log.wait_count(start + REFERENCE_UNITS, timeout=60)
    chars = log.chars(start)
    return (chars[-1][1] - sent) / 1e9 / len(chars) if len(chars) == REFERENCE_UNITS else None


def long_text(log, keyboard):
    """(seconds from the press to the last character, characters arrived, content exact)."""
    time.sleep(0.5)
    start = log.count()
    pressed = keyboard.tap("F8", 0.02)
    # Ends when all have arrived, or when nothing more came for 5 s.
    seen, idle_since = start, time.monotonic()
    while True:
        count = log.wait_count(start + LONG_UNITS, timeout=1.0)
        if count >= start + LONG_UNITS:
            break
        if count != seen:
            seen, idle_since = count, time.monotonic()
        elif time.monotonic() - idle_since > 5.0:
            break
    chars = log.chars(start)
    if not chars:
        return None
    text = "".join(chr(unit) for unit, _ in chars)
    return (chars[-1][1] - pressed) / 1e9, len(chars), text == LONG_TEXT


def row(label, latencies, missed, presses):
    if not latencies:
        return f"  {label:<44} not available (none of {missed} presses gave the character)"
    return (f"  {label:<44} {statistics.median(latencies):8.3f} {percentile(latencies, 0.99):8.3f} "
            f"{max(latencies):8.3f}   {missed:3d}/{presses}")


def main():
    names = ("floor", "plain", "hooks", "bound")
    results = {name: run_series(name, PRESSES) for name in names}
    labels = {"floor": "floor: tavrel.exe not running",
              "plain": "plain hook: one that only passes events on",
              "hooks": "hooks: tavrel.exe running, X not bound",
              "bound": 'bound: X blocked, inserts "x"'}
    print(f"Key X pressed through XTest, to the probe's WM_CHAR 'x' ({PRESSES} presses 30-50 ms apart, ms)")
    print(f"  {'':<44} {'median':>8} {'p99':>8} {'max':>8}   missed")
    for name in names:
        print(row(labels[name], results[name]["latencies"], results[name]["missed"], PRESSES))
    offsets = ", ".join(f"{n} {r['calibration'][0] / 1e3:+.1f} us (round trip {r['calibration'][1] / 1e3:.1f} us)"
                        for n, r in results.items())
    print(f"  clock offset, probe counter minus CLOCK_MONOTONIC_RAW: {offsets}")
    medians = {n: statistics.median(r["latencies"]) if r["latencies"] else None for n, r in results.items()}
    for upper, lower in (("plain", "floor"), ("hooks", "floor"), ("hooks", "plain")):
        if medians[upper] is not None and medians[lower] is not None:
            print(f"  {upper} over {lower}, median: {medians[upper] - medians[lower]:+.3f} ms")
    if medians["floor"] is not None and medians["bound"] is not None:
        over = medians["bound"] - medians["floor"]
        print(f"  bound over floor, median: {over:+.3f} ms (goal under 1 ms: {'met' if over < 1.0 else 'NOT met'})")
    else:
        print("  bound over floor: not available")

    long_result = results["bound"]["long"]
    if long_result:
        seconds, count, exact = long_result
        verdict = "met" if seconds < 5.0 and count == LONG_UNITS and exact else "NOT met"
        print(f"Text of {LONG_UNITS} UTF-16 units: {seconds:.3f} s from the press to the last WM_CHAR, "
              f"{count}/{LONG_UNITS} arrived, {'content exact' if exact else 'content DIFFERS'} "
              f"(goal under 5 s: {verdict})")
    else:
        print(f"Text of {LONG_UNITS} UTF-16 units: not available")
    for name, what in (("floor", "no hook"), ("plain", "the plain hook in"), ("hooks", "tavrel.exe's hooks in")):
        per_unit = results[name]["reference"]
        if per_unit is None:
            print(f"  reference, the probe injecting {REFERENCE_UNITS} units itself, {what}: not available")
        else:
            print(f"  reference, the probe injecting {REFERENCE_UNITS} units itself, {what}: "
                  f"{per_unit * 1e6:.0f} us a unit, {per_unit * LONG_UNITS:.1f} s for {LONG_UNITS}")


if __name__ == "__main__":
    main()
