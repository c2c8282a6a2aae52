"""Firefox ESR, as Debian ships it, printing the colour page to a T48 queue silently
(print.always_print_silent, the queue's settings in the profile): in colour and in black
and white."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from browsers import firefox  # noqa: E402
from programs_fixture import COLOUR_PAGE_HTML, PrintWorldTest  # noqa: E402


class FirefoxPrintTest(PrintWorldTest):
    world_at = ("localhost:20762", "127.0.30.2", 20763, "firefox")

    def print_page(self, colour):
        return self.world.job_from(firefox(self.world, "T48", COLOUR_PAGE_HTML, colour),
                                   "firefox.log")

    def test_colour_page_prints_in_colour(self):
        self.assertPrinted(self.print_page(colour=True), "RGB", False)

    def test_black_and_white_prints_grey(self):
        self.assertPrinted(self.print_page(colour=False), "Gray", True)


if __name__ == "__main__":
    unittest.main(verbosity=2)
