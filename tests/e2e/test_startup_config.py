"""Start-up with config.xml: the first file in a new folder, a file without a language,
and a damaged file with and without a backup."""

import time
import unittest

from tavrel_e2e import MAIN_TITLE, Session, find_windows, wait_for, xdotool

VALID = ('<?xml version="1.0" encoding="UTF-8"?>\n<tavrel schemaVersion="4" {language}autoUpdate="false" '
         'width="{width}" height="760"/>\n')
DAMAGED = '<?xml version="1.0" encoding="UTF-8"?>\n<tavrel schemaVersion="9"/>\n'


def valid(width=1100, language='language="en" '):
    return VALID.format(width=width, language=language)


class StartupConfig(unittest.TestCase):
    def wait_for_file(self, path, what):
        return wait_for(lambda: path.exists() and path.read_text(encoding="utf-8-sig"), what=what)

    def answer_box(self, session, key):
        box = wait_for(lambda: find_windows("^Config error$"), timeout=30, what="the config error box")[0]
        text = session.ask("dialog-text", "Config error")
        xdotool("windowfocus", "--sync", box)
        xdotool("key", key)
        return text

    def test_a_missing_config_writes_the_first_file(self):
        with Session(config=None) as session:
            session.start_and_wait()
            text = self.wait_for_file(session.folder / "config.xml", "the first config.xml")
            self.assertIn('language="en"', text)
            self.assertFalse((session.folder / "config.xml.bak").exists())

    def test_a_backup_without_config_xml_is_put_back_instead_of_defaults(self):
        # What a save stopped between the two renames of ReplaceFileW leaves behind.
        with Session(config=None) as session:
            (session.folder / "config.xml.bak").write_text(valid(width=900), encoding="utf-8")
            session.start_and_wait()
            self.assertEqual(session.window_state()["width"], 900)
            self.assertIn('width="900"', (session.folder / "config.xml").read_text(encoding="utf-8-sig"))

    def test_a_config_without_language_is_saved_with_it(self):
        with Session(valid(language="")) as session:
            session.start_and_wait()
            text = self.wait_for_file(session.folder / "config.xml", "config.xml")
            self.assertIn('language="en"', text)
            # The file it replaced is the backup.
            self.assertNotIn("language=", (session.folder / "config.xml.bak").read_text(encoding="utf-8-sig"))

    def test_a_damaged_config_with_a_backup_is_restored_on_yes(self):
        with Session(DAMAGED) as session:
            (session.folder / "config.xml.bak").write_text(valid(width=900), encoding="utf-8")
            process = session.start()
            text = self.answer_box(session, "y")
            self.assertIn("Unsupported config schemaVersion. File was not changed.", text)
            self.assertIn("Restore the last valid backup? The damaged file will be preserved.", text)
            wait_for(lambda: find_windows(f"^{MAIN_TITLE}$"), what="the main window")
            self.assertIsNone(process.poll())
            self.assertEqual(session.window_state()["width"], 900)  # the backup's content
            self.assertEqual(find_windows("^Config error$"), [])  # writable: no load error shown
            self.assertIn('width="900"', (session.folder / "config.xml").read_text(encoding="utf-8-sig"))
            copies = list(session.folder.glob("config.xml.invalid-*"))
            self.assertEqual(len(copies), 1)
            self.assertEqual(copies[0].read_text(encoding="utf-8"), DAMAGED)

    def test_a_damaged_config_answered_no_runs_read_only_with_the_error(self):
        with Session(DAMAGED) as session:
            (session.folder / "config.xml.bak").write_text(valid(width=900), encoding="utf-8")
            session.start()
            self.answer_box(session, "n")
            wait_for(lambda: find_windows(f"^{MAIN_TITLE}$"), what="the main window")
            # The load error is shown once more over the main window.
            text = self.answer_box(session, "Return")
            self.assertIn("Unsupported config schemaVersion. File was not changed.", text)
            self.assertNotIn("Restore", text)
            time.sleep(0.5)
            self.assertEqual((session.folder / "config.xml").read_text(encoding="utf-8"), DAMAGED)
            self.assertEqual(list(session.folder.glob("config.xml.invalid-*")), [])

    def test_a_damaged_config_without_a_backup_only_reports(self):
        with Session(DAMAGED) as session:
            process = session.start()
            text = self.answer_box(session, "Return")
            self.assertIn(str(session.folder.name), text)  # the path comes first
            self.assertIn("Unsupported config schemaVersion. File was not changed.", text)
            self.assertIsNone(process.poll())
            self.assertEqual((session.folder / "config.xml").read_text(encoding="utf-8"), DAMAGED)


if __name__ == "__main__":
    unittest.main()
