"""LibreOffice Writer as Debian ships it without a GUI (libreoffice-writer-nogui): its
--pt sends nothing to CUPS, so a user converts the document to PDF with soffice and prints
the PDF with lp. The job carries the T48 options the queue has as its defaults."""

import os
import shutil
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from programs_fixture import COLOUR_CELLS_HTML, PrintWorld, read  # noqa: E402



class LibreOfficePrintTest(unittest.TestCase):
    def setUp(self):
        self.world = PrintWorld("localhost:20768", "127.0.30.5", 20769, "libreoffice")
        self.addCleanup(self.world.stop)
        self.world.add_queue("T48")

    def convert(self, source, to, *options):
        """soffice --headless --convert-to `to` of the file `source` in the test's folder,
        with a profile of the test's own; the file it wrote."""
        program = self.world.start(
            ["soffice", "--headless", "--norestore",
             "-env:UserInstallation=file://" + self.world.file("lo"), *options,
             "--convert-to", to, "--outdir", self.world.dir, self.world.file(source)],
            self.world.env, "soffice.log")
        program.popen.wait(120)
        program.stop()  # a soffice.bin the launcher left behind
        written = self.world.file(os.path.splitext(source)[0] + "." + to.split(":")[0])
        # soffice's status is 0 whether it wrote the file or not.
        self.assertTrue(os.path.exists(written), read(program.log)[-2000:])
        return written

    def test_a_writer_document_as_pdf_prints_with_the_queues_t48_options(self):
        shutil.copy(COLOUR_CELLS_HTML, self.world.file("cells.html"))
        # Into Writer itself: an HTML page opens in Writer/Web without the input filter.
        self.convert("cells.html", "odt:writer8", "--infilter=HTML (StarWriter)")
        pdf = self.convert("cells.odt", "pdf")
        self.world.client("lpadmin", "-p", "T48", "-o", "ZTQuickColor=Vivid")
        self.world.client("lp", "-d", "T48", pdf)
        job = self.world.job_after(0)
        self.assertEqual((job.features.get("ColorModel"), job.color_as_gray(),
                          job.page_device.get("ZTQuickColor")), ("RGB", False, "/Vivid"),
                         job.describe())
        self.assertGreater(job.colour_pixels, 0, job.describe())


if __name__ == "__main__":
    unittest.main(verbosity=2)
