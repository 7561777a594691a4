"""One instance per user: a second start hands over to the running window and exits;
a start that finds the instance taken but no window fails with the start-up box."""

import time
import unittest

from tavrel_e2e import MAIN_CLASS, Session, find_windows, wait_for, xdotool


class SecondStart(unittest.TestCase):
    def test_second_start_exits_0_and_the_first_stays_the_only_instance(self):
        with Session() as session:
            first, _ = session.start_and_wait()
            second = session.start()
            self.assertEqual(second.wait(timeout=30), 0)
            time.sleep(0.5)
            self.assertIsNone(first.poll(), "the first instance must keep running")
            self.assertEqual(session.window_state()["count"], 1)

    def test_second_start_brings_a_minimised_window_back(self):
        for args in ((), ("--safe",)):
            with self.subTest(args=args), Session() as session:
                session.start_and_wait()
                session.ask("minimize", MAIN_CLASS)
                self.assertEqual(session.window_state()["iconic"], 1)
                self.assertEqual(session.start(*args).wait(timeout=30), 0)
                state = wait_for(lambda: (s := session.window_state())["iconic"] == 0 and s,
                                 what="the window to be restored")
                self.assertEqual(state["visible"], 1)
                self.assertEqual(state["foreground"], 1)


class StartupFailure(unittest.TestCase):
    def test_taken_instance_without_window_shows_the_box_and_exits_1(self):
        with Session() as session:
            session.probe("hold-instance-mutex")  # the instance exists, but has no window
            started = time.monotonic()
            tavrel = session.start()
            box = wait_for(lambda: find_windows("^Tavrel$"), timeout=30, what="the start-up message box")[0]
            # The running instance is looked for about five seconds before giving up.
            self.assertGreater(time.monotonic() - started, 4.0)
            self.assertIn("Another instance is starting or exiting. Try again shortly.",
                          session.ask("dialog-text", "Tavrel"))
            xdotool("windowfocus", "--sync", box)
            xdotool("key", "Return")
            self.assertEqual(tavrel.wait(timeout=15), 1)


if __name__ == "__main__":
    unittest.main()
