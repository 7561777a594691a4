"""The end-to-end tooling itself: real key presses reach a focused Wine window while
tavrel.exe runs from its own folder, and the window's text can be read back."""

import unittest

from tavrel_e2e import Session


class Harness(unittest.TestCase):
    def test_typed_text_reaches_notepad_and_reads_back(self):
        with Session() as session:
            session.start_and_wait()
            notepad = session.notepad()
            notepad.type("Hello, Wine 123")
            notepad.keys("Return")
            notepad.type("second line")
            self.assertEqual(notepad.text().replace("\r\n", "\n"), "Hello, Wine 123\nsecond line")


if __name__ == "__main__":
    unittest.main()
