"""The Python side of `probe.exe key-log` (tests/tools/key_log.cpp): a focused Wine window
that reports every character it receives with its arrival time.

Arrival times are converted to xtest.CLOCK through an offset measured with "time" requests:
the probe's counter is read in the middle of a request's round trip, so the shortest of many
round trips bounds the error of the offset by half its length.
"""

import queue
import threading
import time

from tavrel_e2e import find_windows, wait_for, xdotool
from xtest import now_ns

TITLE = "Tavrel key log"


class KeyLog:
    def __init__(self, session):
        self._process = session.probe("key-log")
        self._chars = []  # (UTF-16 unit, arrival in CLOCK ns before calibration: counter ns)
        self._changed = threading.Condition()
        self._answers = queue.Queue()
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        self.window = wait_for(lambda: find_windows(f"^{TITLE}$"), what="the key log window")[0]
        self.offset_ns = 0
        self.round_trip_ns = None

    def _read(self):
        for raw in self._process.stdout:
            parts = raw.decode().split()
            if parts and parts[0] == "char":
                with self._changed:
                    self._chars.append((int(parts[1], 16), int(parts[2])))
                    self._changed.notify_all()
            elif parts:
                self._answers.put(parts)
        with self._changed:
            self._changed.notify_all()

    def _command(self, line):
        self._process.stdin.write(line.encode() + b"\n")
        self._process.stdin.flush()
        return self._answers.get(timeout=10)

    def _ticks_to_ns(self, ticks):
        return ticks * 1_000_000_000 // self._frequency

    def calibrate(self, rounds=200):
        """Measures the offset between the probe's counter and xtest.CLOCK; returns it in ns."""
        best = None
        for _ in range(rounds):
            before = now_ns()
            answer = self._command("time")
            after = now_ns()
            ticks, self._frequency = int(answer[1]), int(answer[2])
            if best is None or after - before < best[0]:
                best = (after - before, self._ticks_to_ns(ticks) - (before + after) // 2)
        self.round_trip_ns, self.offset_ns = best
        return self.offset_ns

    def focus(self):
        """Gives the window the X keyboard focus and the Windows foreground."""
        xdotool("windowactivate", "--sync", self.window, check=False)
        xdotool("windowfocus", "--sync", self.window)
        self._command("focus")

    def send_letters(self, count):
        """Has the probe inject count letters into itself (see key_log.cpp); returns the events accepted."""
        self._process.stdin.write(f"send {count}\n".encode())
        self._process.stdin.flush()
        return int(self._answers.get(timeout=600)[1])

    def count(self):
        with self._changed:
            return len(self._chars)

    def wait_count(self, count, timeout=10.0):
        """Waits until count characters have arrived in all; returns how many did."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while len(self._chars) < count:
                left = deadline - time.monotonic()
                if left <= 0 or self._process.poll() is not None:
                    break
                self._changed.wait(left)
            return len(self._chars)

    def chars(self, start=0):
        """[(unit, arrival ns on xtest.CLOCK)] from the start-th character on."""
        with self._changed:
            items = self._chars[start:]
        if not hasattr(self, "_frequency"):
            self.calibrate(rounds=1)
        return [(unit, self._ticks_to_ns(ticks) - self.offset_ns) for unit, ticks in items]

    def text(self, start=0):
        units = "".join(chr(unit) for unit, _ in self.chars(start))
        return units.encode("utf-16-le", "surrogatepass").decode("utf-16-le")
