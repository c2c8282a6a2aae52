"""Chromium, as Debian ships it, printing the colour page to a T48 queue without a dialog
(kiosk printing with the print preview's saved settings): in colour and in black and
white. Its preview offers colour or black and white only for a queue whose PPD has a
colour option it knows, so the job's ColorModel following the saved setting shows the T48
queue has the choice."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from browsers import chromium  # noqa: E402
from programs_fixture import COLOUR_PAGE_HTML, PrintWorldTest  # noqa: E402


class ChromiumPrintTest(PrintWorldTest):
    world_at = ("localhost:20760", "127.0.30.1", 20761, "chromium")

    def print_page(self, colour):
        return self.world.job_from(chromium(self.world, "T48", COLOUR_PAGE_HTML, colour),
                                   "chromium.log")

    def test_colour_page_prints_in_colour(self):
        self.assertPrinted(self.print_page(colour=True), "RGB", False)

    def test_black_and_white_prints_grey(self):
        # Chromium sends its page in colour with print-color-mode=color.
        self.assertPrinted(self.print_page(colour=False), "Gray", True)


if __name__ == "__main__":
    unittest.main(verbosity=2)
