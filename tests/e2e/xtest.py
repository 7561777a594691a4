"""Physical key presses through the X server's XTest extension, called directly with ctypes.

Unlike starting xdotool for every key, a press leaves in a few microseconds and its time is
read right before it is sent, on CLOCK (CLOCK_MONOTONIC_RAW: the clock Wine's performance
counter follows, see tests/tools/key_log.cpp). Keys are named by X keysym names ("x", "F8",
"Control_L", "Shift_L").

    with Keyboard() as keyboard:
        pressed_at = keyboard.press("x")
        keyboard.release("x")
"""

import ctypes
import os
import time

CLOCK = time.CLOCK_MONOTONIC_RAW


def now_ns():
    return time.clock_gettime_ns(CLOCK)


def _load():
    x11 = ctypes.CDLL("libX11.so.6")
    xtst = ctypes.CDLL("libXtst.so.6")
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
    x11.XStringToKeysym.restype = ctypes.c_ulong
    x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XKeysymToKeycode.restype = ctypes.c_ubyte
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xtst.XTestQueryExtension.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_int)] * 4
    xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    return x11, xtst


class Keyboard:
    """A connection to DISPLAY that fakes key presses and releases."""

    def __init__(self, display=None):
        self._x11, self._xtst = _load()
        name = display if display is not None else os.environ.get("DISPLAY", "")
        self._display = self._x11.XOpenDisplay(name.encode())
        if not self._display:
            raise RuntimeError(f"cannot open the X display {name!r}")
        ints = [ctypes.c_int() for _ in range(4)]
        if not self._xtst.XTestQueryExtension(self._display, *map(ctypes.byref, ints)):
            self.close()
            raise RuntimeError("the X server has no XTest extension")
        self._codes = {}
        self._down = set()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def keycode(self, key):
        if key not in self._codes:
            keysym = self._x11.XStringToKeysym(key.encode())
            code = self._x11.XKeysymToKeycode(self._display, keysym) if keysym else 0
            if not code:
                raise ValueError(f"no key code for the keysym {key!r}")
            self._codes[key] = code
        return self._codes[key]

    def _send(self, key, down):
        code = self.keycode(key)
        at = now_ns()
        self._xtst.XTestFakeKeyEvent(self._display, code, 1 if down else 0, 0)
        self._x11.XFlush(self._display)
        (self._down.add if down else self._down.discard)(key)
        return at

    def press(self, key):
        """Presses key; returns the CLOCK time in ns read right before the event was sent."""
        return self._send(key, True)

    def release(self, key):
        """Releases key; returns the CLOCK time in ns read right before the event was sent."""
        return self._send(key, False)

    def tap(self, key, hold_s=0.02):
        at = self.press(key)
        time.sleep(hold_s)
        self.release(key)
        return at

    def sync(self):
        """Waits until the X server has handled every event sent so far."""
        self._x11.XSync(self._display, 0)

    def release_all(self):
        for key in list(self._down):
            self.release(key)
        self.sync()

    def close(self):
        if self._display:
            self.release_all()
            self._x11.XCloseDisplay(self._display)
            self._display = None
