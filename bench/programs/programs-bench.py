#!/usr/bin/env python3
"""Times printing from the programs people print from, as Debian ships them: from the
program's start until the printer has the job, on the T48 queue (T48 PPD,
t48-colorfilter in the chain) beside a queue with a generic colour PostScript PPD
(tests/data/generic-colour-ps.ppd, 600 dpi like the T48's), both of a cupsd of its own (tests/programs/programs_fixture on localhost:20780) printing to the
simulated printer's LPD side (t48-printer-lpd on 127.0.30.8:20781):

  * Chromium, kiosk printing the colour page (a fresh user-data-dir each run);
  * Firefox ESR, printing the colour page silently (a fresh profile each run);
  * a PyQt5 program painting three rects on a QPrinter (QT_QPA_PLATFORM=offscreen);
  * build/tests/programs/gtk-print-page QUEUE (GtkPrintOperation, no dialog);
  * LibreOffice Writer without a GUI: `soffice --headless --convert-to pdf` of a Writer
    document, then `lp` of the PDF (one profile, made in the warm-up round);
  * `lp` of tests/data/colour-page.ps.

Usage, under a display and a D-Bus session bus of its own:
  xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \\
      /usr/bin/python3 bench/programs/programs-bench.py [BUILD_DIR] [RUNS]
RUNS (default 5) of each program on each queue, the two queues in turn, in a round robin
over the programs after a warm-up round; prints the medians in milliseconds and the
ratio T48/generic per program. Every process is stopped by its PID.
"""
import os
import shutil
import statistics
import sys
import time

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 5
os.environ.setdefault("T48_SOURCE_DIR", SOURCE)
os.environ["T48_BINARY_DIR"] = BUILD
sys.path.insert(0, os.path.join(SOURCE, "tests", "programs"))

import browsers  # noqa: E402
from programs_fixture import (COLOUR_CELLS_HTML, COLOUR_PAGE_HTML, COLOUR_PAGE_PS,  # noqa: E402
                              GENERIC_COLOUR_PPD, Process, PrintWorld, wait_for)

QUEUES = ("T48", "Generic")
QT_PROGRAM = """
import sys
from PyQt5.QtCore import Qt
from PyQt5.QtGui import QPainter
from PyQt5.QtPrintSupport import QPrinter, QPrinterInfo
from PyQt5.QtWidgets import QApplication
app = QApplication(sys.argv)
printer = QPrinter(QPrinterInfo.printerInfo(sys.argv[1]), QPrinter.HighResolution)
printer.setColorMode(QPrinter.Color)
painter = QPainter(printer)
for i, colour in enumerate((Qt.red, Qt.blue, Qt.green)):
    painter.fillRect(200 + i * 1000, 400, 900, 900, colour)
painter.end()
"""


class Bench:
    def __init__(self, world):
        self.world = world
        self.count = 0  # runs so far, for fresh folders

    def folder(self, name):
        self.count += 1
        path = self.world.file(f"{name}-{self.count}")
        os.makedirs(path)
        return path

    def until_printed(self, steps, seconds=120):
        """Milliseconds from the first step's start until the printer has one more job.
        Each step is (argv, env, waits): a step that waits runs to its end before the next
        starts; the others are stopped once the job is there."""
        jobs = len(self.world.jobs())
        started = []
        start = time.perf_counter()
        try:
            for argv, env, waits in steps:
                process = Process(argv, env, self.world.file("programs.log"))
                started.append(process)
                if waits and process.popen.wait(seconds) != 0:
                    sys.exit(f"programs-bench: {argv[0]} failed (see {process.log})")
            wait_for("the job at the printer", lambda: len(self.world.jobs()) > jobs, seconds,
                     interval=0.005)
            return (time.perf_counter() - start) * 1000
        finally:
            for process in started:
                process.stop()

    def chromium(self, queue):
        return self.until_printed([(browsers.chromium(self.world, queue, COLOUR_PAGE_HTML),
                                    self.world.env, False)])

    def firefox(self, queue):
        return self.until_printed([(browsers.firefox(self.world, queue, COLOUR_PAGE_HTML),
                                    self.world.env, False)])

    def qt(self, queue):
        env = dict(self.world.env, QT_QPA_PLATFORM="offscreen")
        return self.until_printed([(["/usr/bin/python3", "-c", QT_PROGRAM, queue], env, True)])

    def gtk(self, queue):
        return self.until_printed([([os.path.join(BUILD, "tests", "programs", "gtk-print-page"),
                                     queue], self.world.env, True)])

    def libreoffice(self, queue):
        pdf = self.folder("libreoffice")
        return self.until_printed([
            (self.soffice("--convert-to", "pdf", "--outdir", pdf, self.writer_document),
             self.world.env, True),
            (["lp", "-d", queue, os.path.join(pdf, "colour-page.pdf")], self.world.env, True)])

    def soffice(self, *arguments):
        return ["soffice", "--headless", "--norestore",
                "-env:UserInstallation=file://" + self.world.file("lo"), *arguments]

    def make_writer_document(self):
        """A Writer document (not Writer/Web) with red, blue and green cells, as a user has
        one (Writer leaves out the colour page's CSS backgrounds)."""
        folder = self.world.file("writer")
        os.makedirs(folder)
        page = os.path.join(folder, "colour-page.html")
        shutil.copy(COLOUR_CELLS_HTML, page)
        soffice = Process(self.soffice("--infilter=HTML (StarWriter)", "--convert-to",
                                       "odt:writer8", "--outdir", folder, page),
                          self.world.env, self.world.file("programs.log"))
        soffice.popen.wait(180)
        soffice.stop()  # a soffice.bin the launcher left behind
        self.writer_document = os.path.join(folder, "colour-page.odt")
        if not os.path.exists(self.writer_document):
            sys.exit("programs-bench: soffice made no Writer document")

    def lp(self, queue):
        return self.until_printed([(["lp", "-d", queue, COLOUR_PAGE_PS], self.world.env, True)])


def main():
    if not os.environ.get("DISPLAY"):
        sys.exit("programs-bench: no display (run it under xvfb-run, see its docstring)")
    world = PrintWorld("localhost:20780", "127.0.30.8", 20781, name="programs-bench")
    try:
        world.add_queue("T48")
        world.add_queue("Generic", GENERIC_COLOUR_PPD)
        bench = Bench(world)
        bench.make_writer_document()
        programs = [("Chromium (kiosk printing)", bench.chromium),
                    ("Firefox ESR (silent printing)", bench.firefox),
                    ("PyQt5 QPrinter", bench.qt),
                    ("gtk-print-page (GtkPrintOperation)", bench.gtk),
                    ("LibreOffice: soffice --convert-to pdf + lp", bench.libreoffice),
                    ("lp colour-page.ps", bench.lp)]
        samples = {(name, queue): [] for name, _ in programs for queue in QUEUES}
        # Round robin, the queues in turn and each first every other round, so a load that
        # comes and goes weighs on both alike; the first round warms up.
        for run in range(RUNS + 1):
            for name, measure in programs:
                for queue in QUEUES if run % 2 == 0 else reversed(QUEUES):
                    sample = measure(queue)
                    if run > 0:
                        samples[(name, queue)].append(sample)
        print("%-44s %10s %10s %8s" % (f"until the printer has the job (median of {RUNS})",
                                         "T48 ms", "generic ms", "T48/gen"))
        for name, _ in programs:
            t48, generic = (statistics.median(samples[(name, q)]) for q in QUEUES)
            print("%-44s %10.0f %10.0f %8.2f" % (name, t48, generic, t48 / generic))
    finally:
        world.stop()


if __name__ == "__main__":
    main()
