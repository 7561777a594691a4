"""The timing tools of the latency benchmark: XTest presses reach the probe's key log as the
right characters, each arriving after its press on the calibrated clock, and the letters the
probe injects into itself arrive complete and in order."""

import string
import time
import unittest

from key_log import KeyLog
from tavrel_e2e import Session
from xtest import Keyboard


class KeyLogTiming(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = Session()
        try:
            cls.keyboard = Keyboard()
            cls.log = KeyLog(cls.session)
            cls.log.focus()
            time.sleep(0.3)
            cls.log.calibrate()
        except BaseException:
            cls.session.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.keyboard.close()
        cls.session.close()

    def test_each_press_arrives_as_its_character_after_the_press(self):
        # Presses timed on another clock than the calibration (CLOCK_MONOTONIC was 0.2 s
        # from the raw clock on a slewed host), or an offset applied the wrong way round
        # where the clocks differ, put arrivals before their presses.
        for key, unit in (("x", "x"), ("5", "5"), ("space", " "), ("Return", "\r")):
            with self.subTest(key=key):
                start = self.log.count()
                pressed = self.keyboard.tap(key)
                self.assertEqual(self.log.wait_count(start + 1), start + 1)
                [(arrived_unit, arrived_at)] = self.log.chars(start)
                self.assertEqual(chr(arrived_unit), unit)
                self.assertGreater(arrived_at, pressed)

    def test_the_probes_own_letters_arrive_complete_and_in_order(self):
        start = self.log.count()
        self.assertEqual(self.log.send_letters(100), 200)  # a down and an up per letter
        self.assertEqual(self.log.wait_count(start + 100), start + 100)
        self.assertEqual(self.log.text(start), (string.ascii_lowercase * 4)[:100])
        times = [at for _, at in self.log.chars(start)]
        self.assertEqual(times, sorted(times))


if __name__ == "__main__":
    unittest.main()
