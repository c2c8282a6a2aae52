"""A GTK 3 program printing a colour page to the T48 through GtkPrintOperation
(gtk-print-page), straight and through GTK's own print dialog, read and driven through
AT-SPI: GTK's Color tab shows the PPD's Color Mode beside the T48's Color as Grayscale,
and the user's Grayscale there prints grey although Color as Grayscale stays unticked."""

import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "dialog"))

import pyatspi  # noqa: E402

from atspi_driver import (choices, choose, chosen, find, find_all, find_labelled,  # noqa: E402
                          press, screenshot, select_tab, state, table_rows)
from dialog_fixture import wait_for  # noqa: E402
from programs_fixture import BINARY, PrintWorldTest, read  # noqa: E402

PROGRAM = os.path.join(BINARY, "tests", "programs", "gtk-print-page")
SHOTS = os.path.join(BINARY, "screenshots")


class GtkProgramPrintTest(PrintWorldTest):
    world_at = ("localhost:20766", "127.0.30.4", 20767, "gtk")

    def run_program(self, *args):
        """gtk-print-page started with `args`."""
        # The accessibility registry is up before the program's bridge starts.
        wait_for("the accessibility registry", lambda: pyatspi.Registry.getDesktop(0) is not None)
        return self.world.start([PROGRAM, *args], self.world.env, "gtk-print-page.log")

    def app_of(self, program):
        return wait_for("the program on the accessibility bus", lambda: next(
            (a for a in pyatspi.Registry.getDesktop(0)
             if a is not None and a.get_process_id() == program.popen.pid), None))

    def finished(self, program):
        self.assertEqual(program.popen.wait(60), 0, read(program.log))

    def test_without_the_dialog_the_page_prints_in_colour(self):
        count = len(self.world.jobs())
        self.finished(self.run_program("T48"))
        self.assertPrinted(self.world.job_after(count), "RGB", False)

    def test_grayscale_in_the_color_tab_prints_grey(self):
        count = len(self.world.jobs())
        program = self.run_program("--dialog", "T48")
        app = self.app_of(program)
        tabs = wait_for("the dialog's tabs", lambda: next(
            (t for t in find_all(app, "page tab list") if "Color" in [c.name for c in t]), None))
        printers = find(select_tab(tabs, "General"), "table", "")
        row = next(i for i, r in enumerate(table_rows(printers)) if "T48" in r)
        if not printers.queryTable().isRowSelected(row):
            printers.queryTable().addRowSelection(row)
        page = select_tab(tabs, "Color")
        as_gray = find(page, "check box", "Color as Grayscale")  # once GTK has read the PPD
        mode = find_labelled(page, "combo box", "Color Mode:")
        self.assertEqual((choices(mode), chosen(mode)), (["Color", "Grayscale"], "Color"))
        choose(mode, "Grayscale")
        wait_for("Grayscale chosen", lambda: chosen(mode) == "Grayscale")
        self.assertFalse(state(as_gray, pyatspi.STATE_CHECKED))
        time.sleep(0.5)  # GTK redraws the combo box after the choice
        os.makedirs(SHOTS, exist_ok=True)
        screenshot(os.path.join(SHOTS, "gtk-color-mode-grayscale.png"))
        press(find(app, "push button", "Print"))
        self.finished(program)
        self.assertPrinted(self.world.job_after(count), "Gray", True)


if __name__ == "__main__":
    unittest.main(verbosity=2)
