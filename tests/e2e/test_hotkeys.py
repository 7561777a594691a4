"""Hotkeys against real X input: with a binding on Q, typing into a focused Wine notepad
shows whether the hooks keep or block the trigger's own key."""

import subprocess
import unittest

from tavrel_e2e import BUILD, Session


def start_host(session, mode):
    """The runtime with one binding on Q (see tests/tools/runtime_host.cpp), hooks installed."""
    host = session.wine(BUILD / "tavrel_runtime_host.exe", mode, stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    line = host.stdout.readline().decode().strip()
    if line != "ready":
        raise RuntimeError(f"the runtime host did not get ready (said {line!r})")
    return host


class OriginalKeyFunction(unittest.TestCase):
    def test_blocked_trigger_never_reaches_the_window_kept_trigger_does(self):
        for mode, expected in (("block", "aa"), ("keep", "aqa")):
            with self.subTest(mode=mode), Session() as session:
                start_host(session, mode)
                target = session.notepad()
                target.type("aqa")
                self.assertEqual(target.text(), expected)

    def test_other_keys_pass_while_the_hooks_are_in(self):
        with Session() as session:
            start_host(session, "block")
            target = session.notepad()
            target.type("hello")
            self.assertEqual(target.text(), "hello")


class ConfiguredHotkeys(unittest.TestCase):
    def test_the_program_blocks_or_keeps_its_bound_key(self):
        for config, expected in (("q_blocked.xml", "aa"), ("q_kept.xml", "aqa")):
            with self.subTest(config=config), Session(config) as session:
                session.start_and_wait()
                target = session.notepad()
                target.type("aqa")
                self.assertEqual(target.text(), expected)

    def test_safe_mode_starts_with_the_hotkeys_paused(self):
        with Session("q_blocked.xml") as session:
            session.start_and_wait("--safe")
            target = session.notepad()
            target.type("aqa")
            self.assertEqual(target.text(), "aqa")


if __name__ == "__main__":
    unittest.main()
