"""PyQt5 programs printing a colour page to the T48 through Qt's CUPS support, off
screen: the program's own colour mode, and the colour choice of Qt's print dialog. Qt
5.15 hides its dialog's Color/Grayscale group for a CUPS printer and offers the PPD's
Color Mode instead, on the Advanced tab of the printer's Properties dialog."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PyQt5.QtCore import QTimer, Qt  # noqa: E402
from PyQt5.QtGui import QPainter  # noqa: E402
from PyQt5.QtPrintSupport import QPrintDialog, QPrinter, QPrinterInfo  # noqa: E402
from PyQt5.QtWidgets import (QApplication, QComboBox, QDialog, QDialogButtonBox,  # noqa: E402
                             QGroupBox, QPushButton, QWidget)

from programs_fixture import GENERIC_PPD, PrintWorld  # noqa: E402

WORLD = None
APP = None


def setUpModule():
    global WORLD, APP
    WORLD = PrintWorld("localhost:20764", "127.0.30.3", 20765, "qt")
    try:
        WORLD.add_queue("T48")
        WORLD.add_queue("Generic", GENERIC_PPD)
        # Qt's CUPS support reads the server and the user's files from the environment.
        os.environ.update(WORLD.env, QT_QPA_PLATFORM="offscreen")
        APP = QApplication(["qt-test"])
    except BaseException:
        WORLD.stop()
        raise


def tearDownModule():
    WORLD.stop()


def t48_printer():
    return QPrinter(QPrinterInfo.printerInfo("T48"), QPrinter.HighResolution)


def print_colour_page(printer):
    """Paints red, blue and green areas, as a program does; the job once the printer has it."""
    count = len(WORLD.jobs())
    painter = QPainter(printer)
    if not painter.isActive():
        raise AssertionError("Qt cannot print to " + printer.printerName())
    for i, colour in enumerate((Qt.red, Qt.blue, Qt.green)):
        painter.fillRect(200 + i * 1000, 400, 900, 900, colour)
    painter.end()
    return WORLD.job_after(count)


def own_buttons(dialog):
    """The dialog's own button box (not that of a dialog it opened)."""
    return next(b for b in dialog.findChildren(QDialogButtonBox) if b.window() is dialog)


def in_properties(print_dialog, act):
    """act(properties) in the printer Properties dialog that the print dialog's button
    opens (Qt runs it with exec(), so act runs from a timer inside that loop); act's answer.
    The Properties dialog is closed afterwards when act left it open."""
    outcome = {}

    def look():
        properties = next((w for w in QApplication.topLevelWidgets() if isinstance(w, QDialog)
                           and w.isVisible() and w is not print_dialog), None)
        if properties is None:
            return
        timer.stop()
        try:
            outcome["answer"] = act(properties)
        except BaseException as error:  # an exception must not leave Qt's event loop
            outcome["error"] = error
        if properties.isVisible():
            properties.reject()

    timer = QTimer(interval=20)
    timer.timeout.connect(look)
    timer.start()
    print_dialog.findChild(QPushButton, "properties").click()
    timer.stop()
    if "error" in outcome:
        raise outcome["error"]
    if "answer" not in outcome:
        raise AssertionError("the Properties button opened no dialog")
    return outcome["answer"]


def advanced_options(properties):
    """The Advanced tab's PPD options: each option's label and its combo box."""
    page = properties.findChild(QWidget, "cupsPropertiesPage")
    options = {}
    for group in page.findChildren(QGroupBox) if page else []:
        for combo in group.findChildren(QComboBox):
            options[group.layout().labelForField(combo.parentWidget()).text()] = combo
    return options


def choices(combo):
    return [combo.itemText(i) for i in range(combo.count())]


class QtPrintTest(unittest.TestCase):
    def print_dialog(self, queue):
        """Qt's print dialog shown for `queue`, and its printer."""
        printer = t48_printer()
        dialog = QPrintDialog(printer)
        dialog.show()
        printers = dialog.findChild(QComboBox, "printers")
        printers.setCurrentIndex(printers.findText(queue))
        self.assertEqual(printers.currentText(), queue)
        return printer, dialog

    def test_the_programs_colour_mode(self):
        printer = t48_printer()
        printer.setColorMode(QPrinter.Color)
        job = print_colour_page(printer)
        self.assertTrue(job.colour_pixels > 0 and not job.color_as_gray(), job.describe())
        printer = t48_printer()
        printer.setColorMode(QPrinter.GrayScale)  # Qt renders grey and sends no option
        job = print_colour_page(printer)
        self.assertEqual(job.colour_pixels, 0, job.describe())

    def test_properties_offer_color_mode_for_the_t48_only(self):
        def color_mode(properties):
            combo = advanced_options(properties).get("Color Mode")
            return combo and choices(combo)

        for queue, offered in (("T48", ["Color", "Grayscale"]), ("Generic", None)):
            with self.subTest(queue=queue):
                _, dialog = self.print_dialog(queue)
                self.assertEqual(in_properties(dialog, color_mode), offered)
                dialog.reject()

    def test_grayscale_in_the_properties_prints_grey(self):
        printer, dialog = self.print_dialog("T48")

        def choose_grayscale(properties):
            mode = advanced_options(properties)["Color Mode"]
            mode.setCurrentIndex(mode.findText("Grayscale"))
            own_buttons(properties).button(QDialogButtonBox.Ok).click()
            return mode.currentText()

        self.assertEqual(in_properties(dialog, choose_grayscale), "Grayscale")
        own_buttons(dialog).button(QDialogButtonBox.Ok).click()  # Print
        self.assertEqual(dialog.result(), QDialog.Accepted)
        job = print_colour_page(printer)
        self.assertEqual((job.features.get("ColorModel"), job.color_as_gray(), job.colour_pixels),
                         ("Gray", True, 0), job.describe())


if __name__ == "__main__":
    unittest.main(verbosity=2)
