"""End-to-end helpers: run tavrel.exe under Wine from a temporary folder, drive real X
input with xdotool and read what a target window received.

Every test runs inside tools/with-display, which provides DISPLAY and the Wine prefix.
Everything a Session starts is stopped when it closes, by process id.
"""

import os
import pathlib
import shutil
import subprocess
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("TAVREL_BUILD", ROOT / "build"))
WINE_RUN = ROOT / "tools" / "wine-run"
FIXTURES = pathlib.Path(__file__).resolve().parent / "fixtures"
MAIN_TITLE = "Tavrel v1.5.3"
MAIN_CLASS = "Tavrel.Main.v1"


def xdotool(*args, timeout=15, check=True):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(map(str, args))} failed: {result.stderr.strip()}")
    return result.stdout.strip()


def find_windows(name, visible_only=True):
    """X window ids whose title matches the regular expression name (none is an empty list)."""
    args = ["search"] + (["--onlyvisible"] if visible_only else []) + ["--name", name]
    out = xdotool(*args, check=False)
    return [int(w) for w in out.split()] if out else []


def wait_for(predicate, timeout=20.0, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def wait_for_window(name, timeout=20.0):
    return wait_for(lambda: find_windows(name), timeout, what=f"a window named {name!r}")[0]


def clipboard_text():
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True, timeout=10)
    return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else ""


def clear_clipboard():
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"", timeout=10)


class Session:
    """A temporary folder holding tavrel.exe and a chosen config.xml, and the Wine
    processes started from it. Use it as a context manager: it always cleans up."""

    def __init__(self, config="empty.xml"):
        self.folder = pathlib.Path(tempfile.mkdtemp(prefix="tavrel-e2e-"))
        self.exe = self.folder / "tavrel.exe"
        shutil.copy2(BUILD / "tavrel.exe", self.exe)
        if config is not None:
            text = (FIXTURES / config).read_text(encoding="utf-8") if config.endswith(".xml") else config
            (self.folder / "config.xml").write_text(text, encoding="utf-8")
        self.processes = []

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def wine(self, program, *args, stdin=None, stdout=None):
        """Starts a Windows program (a path, or a name Wine finds) in the session folder."""
        process = subprocess.Popen([str(WINE_RUN), str(program), *map(str, args)], cwd=self.folder,
                                   stdin=stdin, stdout=stdout, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def start(self, *args):
        """Starts tavrel.exe with the given arguments."""
        return self.wine(self.exe, *args)

    def start_and_wait(self, *args, timeout=20.0):
        """Starts tavrel.exe and waits until its main window is visible; returns (process, window)."""
        process = self.start(*args)
        window = wait_for(lambda: find_windows(f"^{MAIN_TITLE}$") or process.poll() is not None,
                          timeout, what="the main window")
        if process.poll() is not None:
            hint = " (it handed over: another instance runs in this Wine prefix)" if process.returncode == 0 else ""
            raise RuntimeError(f"tavrel.exe exited with {process.returncode} before its window appeared{hint}")
        return process, window[0]

    def probe(self, *args):
        """Starts the test probe and waits for its "ready" line."""
        process = self.wine(BUILD / "tavrel_probe.exe", *args, stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        line = process.stdout.readline().decode().strip()
        if line != "ready":
            raise RuntimeError(f"probe {' '.join(args)} did not get ready (said {line!r})")
        return process

    def ask(self, *args):
        """Runs the probe once and returns what it printed (see tests/tools/probe.cpp)."""
        result = subprocess.run([str(WINE_RUN), str(BUILD / "tavrel_probe.exe"), *map(str, args)],
                                cwd=self.folder, capture_output=True, timeout=30)
        return result.stdout.decode("utf-8", "replace").replace("\r\n", "\n").strip()

    def window_state(self, class_name=MAIN_CLASS):
        """{"count", "visible", "iconic", "foreground", "width", "height"} of the windows of a class,
        as Windows sees them (the size is the first window's)."""
        pairs = (item.split("=") for item in self.ask("window-state", class_name).split())
        return {key: int(value) for key, value in pairs}

    def notepad(self):
        """Opens Wine's notepad, focuses it and returns a Target for it."""
        self.wine("notepad")
        window = wait_for_window("Notepad")
        target = Target(window)
        target.focus()
        return target

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                if process.stdin:
                    process.stdin.close()
                process.terminate()
        for process in self.processes:
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait(timeout=10)
        for process in self.processes:
            if process.stdout:
                process.stdout.close()
        self.processes.clear()
        shutil.rmtree(self.folder, ignore_errors=True)


class Target:
    """A window that receives real input and whose text is read back through the clipboard."""

    def __init__(self, window):
        self.window = window

    def focus(self):
        xdotool("windowactivate", "--sync", self.window, check=False)
        xdotool("windowfocus", "--sync", self.window)
        time.sleep(0.2)

    def type(self, text):
        xdotool("type", "--delay", 30, text)

    def keys(self, *keys):
        xdotool("key", "--delay", 30, *keys)

    def text(self):
        """Everything the window's edit field holds (select all, copy, read the clipboard)."""
        clear_clipboard()
        self.focus()
        self.keys("ctrl+a", "ctrl+c")
        try:
            return wait_for(clipboard_text, timeout=5, what="the clipboard")
        except TimeoutError:
            return ""
