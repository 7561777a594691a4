"""tavrel.exe --check-config [path]: loads a configuration, prints "OK <bindings>" or the
load error, and changes nothing (no window, no instance mutex, no file written)."""

import subprocess
import unittest

from tavrel_e2e import WINE_RUN, Session, find_windows

BINDING = ('<binding id="b{0}" enabled="true" keepOriginalFunction="true" holdThresholdMs="500">'
           '<name>B{0}</name><trigger kind="keyboard" code="{1}" extended="false" modifiers="0"/>'
           '<onPress><action type="delay" ms="10"/></onPress><onHold/></binding>')


def config_with(bindings):
    body = "".join(BINDING.format(i, 59 + i) for i in range(bindings))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<tavrel schemaVersion="4" language="en" '
            f'autoUpdate="false" width="1100" height="760">{body}</tavrel>\n')


class CheckConfig(unittest.TestCase):
    def check(self, session, *args):
        result = subprocess.run([str(WINE_RUN), str(session.exe), "--check-config", *map(str, args)],
                                cwd=session.folder, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
        # Wine's own complaints, if any, go with a failure's message.
        self.stderr = result.stderr.decode("utf-8", "replace")
        return result.returncode, result.stdout.decode("utf-8")

    def assertChecks(self, session, args, expected):
        self.assertEqual(self.check(session, *args), expected, f"stderr: {self.stderr!r}")

    def test_a_valid_file_prints_its_binding_count(self):
        with Session(config_with(3)) as session:
            (session.folder / "other.xml").write_text(config_with(0), encoding="utf-8")
            self.assertChecks(session, [], (0, "OK 3\r\n"))
            self.assertChecks(session, [session.folder / "other.xml"], (0, "OK 0\r\n"))
            self.assertChecks(session, ["other.xml"], (0, "OK 0\r\n"))  # relative to the current folder

    def test_a_damaged_file_prints_the_load_error_and_exits_1(self):
        damaged = config_with(1).replace('enabled="true"', 'enabled="True"', 1)
        with Session(damaged) as session:
            before = sorted(p.name for p in session.folder.iterdir())
            self.assertChecks(session, [], (1, "Invalid boolean: enabled\r\n"))
            code, output = self.check(session, session.folder / "missing.xml")
            self.assertEqual(code, 1)
            self.assertTrue(output.startswith("Read config file: "), output)
            # Nothing written, not even a language fill or a first config.xml.
            self.assertEqual(sorted(p.name for p in session.folder.iterdir()), before)
            self.assertEqual((session.folder / "config.xml").read_text(encoding="utf-8"), damaged)

    def test_runs_beside_a_running_instance_without_a_window(self):
        with Session() as session:
            session.start_and_wait()
            self.assertChecks(session, [], (0, "OK 0\r\n"))
            self.assertEqual(session.window_state()["count"], 1)

    def test_a_missing_default_file_is_not_created(self):
        with Session(config=None) as session:
            code, output = self.check(session)
            self.assertEqual(code, 1)
            self.assertTrue(output.startswith("Read config file: "), output)
            self.assertFalse((session.folder / "config.xml").exists())
            self.assertEqual(find_windows("^Tavrel"), [])


if __name__ == "__main__":
    unittest.main()
