"""The T48 queue shared with another desktop: that desktop's cupsd (no filter of ours) has
a driverless queue made from the server's queue attributes (its own PPD, ColorModel
Gray/RGB) and a plain IPP queue without a PPD, both forwarding to the server's T48 queue.
An IPP client (ipptool) prints a colour page to them with the job attributes that
desktop's dialog sends, the queue's print-color-mode-default among them; the same choices
from `lp` on the server are the reference. And an IPP client's black and white straight to
the server's queue."""

import os
import re
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from programs_fixture import COLOUR_PAGE_PS, PRIVATE_CUPSD, PrintWorld, cups_client  # noqa: E402

SERVER = "localhost:20770"
DESKTOP = "localhost:20772"
T48_URI = f"ipp://{SERVER}/printers/T48"


class Desktop:
    """Another desktop's cupsd, with the queues Desk (driverless, `-m everywhere`) and
    DeskRaw (plain IPP, no PPD) on the server's T48 queue."""

    def __init__(self, folder, env):
        started = subprocess.run([PRIVATE_CUPSD, "start", folder, DESKTOP], env=env,
                                 check=True, capture_output=True, text=True).stdout
        self.folder = folder
        cups = dict(line.split("=", 1) for line in started.split())
        cups.pop("PID")
        self.env = dict(env, **cups)
        cups_client(["lpadmin", "-p", "Desk", "-E", "-v", T48_URI, "-m", "everywhere"], self.env)
        cups_client(["lpadmin", "-p", "DeskRaw", "-E", "-v", T48_URI], self.env)

    def color_mode_default(self, queue):
        """The queue's print-color-mode-default, which lp and GTK add to each job."""
        options = cups_client(["lpoptions", "-p", queue], self.env)
        return re.search(r"\bprint-color-mode=(\S+)", options).group(1)

    def stop(self):
        subprocess.run([PRIVATE_CUPSD, "stop", self.folder], capture_output=True)


class SharedQueueTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.world = PrintWorld(SERVER, "127.0.30.6", 20771, name="shared-queue")
        cls.desktop = None
        try:
            cls.world.add_queue("T48")
            cls.page = cls.world.file("colour-page.pdf")
            cls.world.client("ps2pdf", COLOUR_PAGE_PS, cls.page)
            cls.desktop = Desktop(cls.world.file("desktop"), cls.world.env)
        except BaseException:
            cls.tearDownClass()  # tearDownClass does not run after a failed setUpClass
            raise

    @classmethod
    def tearDownClass(cls):
        if cls.desktop:
            cls.desktop.stop()
        cls.world.stop()

    def printed(self, send):
        """The job `send()` puts on the printer, with what the server's cupsd took."""
        count = len(self.world.jobs())
        send()
        job = self.world.job_after(count)
        job.sent = self.world.sent_options()
        return job

    def lp(self, *options):
        return self.printed(lambda: self.world.client("lp", "-d", "T48", *options, self.page))

    def ipptool(self, uri, attributes, env):
        """Print-Job of the page to `uri` with the job attributes [(tag, name, value)]."""
        test = self.world.file(f"print-job-{len(self.world.jobs())}.test")
        with open(test, "w") as out:
            out.write("{\nNAME \"Print-Job\"\nOPERATION Print-Job\n"
                      "GROUP operation-attributes-tag\n"
                      "ATTR charset attributes-charset utf-8\n"
                      "ATTR language attributes-natural-language en\n"
                      "ATTR uri printer-uri $uri\n"
                      "ATTR name requesting-user-name desk\n"
                      "ATTR mimeMediaType document-format application/pdf\n"
                      "GROUP job-attributes-tag\n"
                      + "".join(f"ATTR {tag} {name} {value}\n" for tag, name, value in attributes)
                      + f"FILE {self.page}\nSTATUS successful-ok\nEXPECT job-id\n}}\n")
        return self.printed(lambda: cups_client(["ipptool", "-t", uri, test], env))

    def from_desktop(self, queue, *choices):
        """The desktop's dialog printing to its `queue`: the choices (options of the
        queue as names, as cupsEncodeOptions sends them) and the queue's colour mode."""
        mode = ("keyword", "print-color-mode", self.desktop.color_mode_default(queue))
        return self.ipptool(f"ipp://{DESKTOP}/printers/{queue}",
                            [("name", *choice.split("=")) for choice in choices] + [mode],
                            self.desktop.env)

    def assertPrintsAs(self, theirs, ours):
        """The same T48 options, and colour on the page or none, as the server's lp job."""
        self.assertEqual((theirs.features, theirs.page_device, theirs.colour_pixels > 0),
                         (ours.features, ours.page_device, ours.colour_pixels > 0),
                         f"sent {theirs.sent!r}, the server's lp {ours.sent!r}")

    def test_driverless_queue_grayscale_and_colour_print_as_the_servers_lp(self):
        for choice, reference in (("Gray", ["-o", "ColorModel=Gray"]), ("RGB", [])):
            with self.subTest(ColorModel=choice):
                ours = self.lp(*reference)
                theirs = self.from_desktop("Desk", "ColorModel=" + choice)
                self.assertPrintsAs(theirs, ours)
                self.assertEqual(theirs.features.get("ColorModel"), choice, theirs.sent)
                self.assertEqual(theirs.color_as_gray(), choice == "Gray", theirs.describe())

    def test_plain_ipp_queue_keeps_a_quick_color_job_in_colour(self):
        # That queue knows nothing of colour: its jobs say print-color-mode=monochrome,
        # which neither the T48's options nor the page's colours may follow.
        ours = self.lp("-o", "ZTQuickColor=Vivid")
        theirs = self.from_desktop("DeskRaw", "ZTQuickColor=Vivid")
        self.assertPrintsAs(theirs, ours)
        self.assertEqual(theirs.features.get("ZTColorAsGray"), "False", theirs.sent)
        self.assertTrue(not theirs.color_as_gray() and theirs.colour_pixels > 0, theirs.describe())

    def test_ipp_clients_black_and_white_prints_grey(self):
        job = self.ipptool(T48_URI, [("keyword", "print-color-mode", "monochrome")],
                           self.world.env)
        self.assertTrue(job.color_as_gray(), job.describe())
        self.assertEqual(job.features.get("ColorModel"), "Gray", job.sent)


if __name__ == "__main__":
    unittest.main(verbosity=2)
