"""Chromium and Firefox ESR, as Debian ships them, printing the colour page to a T48 queue
without a dialog (Chromium's kiosk printing with its print preview's saved settings,
Firefox's silent printing with the queue's settings in its profile): in colour and in
black and white. Chromium's preview offers colour or black and white only for a queue
whose PPD has a colour option it knows, so the job's ColorModel following the saved
setting shows the T48 queue has the choice. Chromium's black and white is ColorModel=Gray
with print-color-mode=color; Firefox's adds print-color-mode=monochrome."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import browsers  # noqa: E402
from programs_fixture import COLOUR_PAGE_HTML, PrintWorldTest  # noqa: E402


class PrintsThePage:
    """The tests of a browser `browser` (a command line of browsers.py)."""

    def print_page(self, colour):
        return self.world.job_from(
            self.browser(self.world, "T48", COLOUR_PAGE_HTML, colour), self.world_at[3] + ".log")

    def test_colour_page_prints_in_colour(self):
        self.assertPrinted(self.print_page(colour=True), "RGB", False)

    def test_black_and_white_prints_grey(self):
        self.assertPrinted(self.print_page(colour=False), "Gray", True)


class ChromiumPrintTest(PrintsThePage, PrintWorldTest):
    world_at = ("localhost:20760", "127.0.30.1", 20761, "chromium")
    browser = staticmethod(browsers.chromium)


class FirefoxPrintTest(PrintsThePage, PrintWorldTest):
    world_at = ("localhost:20762", "127.0.30.2", 20763, "firefox")
    browser = staticmethod(browsers.firefox)


if __name__ == "__main__":
    unittest.main(verbosity=2)
