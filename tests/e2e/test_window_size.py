"""The main window takes its size from the configuration, scaled by the system DPI."""

import subprocess
import unittest

from tavrel_e2e import WINE_RUN, Session

DPI_KEY = r"HKCU\Control Panel\Desktop"


def set_system_dpi(dpi):
    """Wine reads the system DPI from the registry when a process starts; None restores the default."""
    if dpi is None:
        args = ["reg", "delete", DPI_KEY, "/v", "LogPixels", "/f"]
    else:
        args = ["reg", "add", DPI_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"]
    subprocess.run([str(WINE_RUN), *args], capture_output=True, timeout=30)


class WindowSize(unittest.TestCase):
    def tearDown(self):
        set_system_dpi(None)

    def test_default_size_at_96_and_144_dpi(self):
        # The default configuration is 1100 x 760 units of 1/96 inch.
        for dpi, width, height in ((96, 1100, 760), (144, 1650, 1140)):
            with self.subTest(dpi=dpi), Session() as session:
                set_system_dpi(dpi)
                session.start_and_wait()
                state = session.window_state()
                self.assertEqual((state["width"], state["height"]), (width, height))


if __name__ == "__main__":
    unittest.main()
