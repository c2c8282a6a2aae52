"""The print path as the programs people print from meet it: a cupsd of the test's own
(tests/support/private-cupsd) with the real filter chain and t48-colorfilter, whose queues
print to the simulated printer's LPD side (t48-printer-lpd), and the bytes the printer
received, as Ghostscript renders them and as the T48 takes its own options from them.
Every process started here is stopped by its PID."""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.environ.get("T48_SOURCE_DIR", os.path.dirname(os.path.dirname(HERE)))
BINARY = os.environ.get("T48_BINARY_DIR", os.path.join(SOURCE, "build"))
PRIVATE_CUPSD = os.path.join(SOURCE, "tests", "support", "private-cupsd")
sys.path.insert(0, os.path.join(SOURCE, "tests", "support"))
import waiting  # noqa: E402
from waiting import read  # noqa: E402,F401  (the tests read the files of their processes)
T48_PPD = os.path.join(SOURCE, "PDE", "Resources", "T48.ppd")
GENERIC_PPD = os.path.join(SOURCE, "tests", "data", "generic-ps.ppd")
GENERIC_COLOUR_PPD = os.path.join(SOURCE, "tests", "data", "generic-colour-ps.ppd")
COLOUR_PAGE_HTML = os.path.join(SOURCE, "tests", "data", "colour-page.html")
COLOUR_PAGE_PS = os.path.join(SOURCE, "tests", "data", "colour-page.ps")
COLOUR_CELLS_HTML = os.path.join(SOURCE, "tests", "data", "colour-cells.html")
WAIT_SECONDS = 60
# cupsd's own attributes of a job, not the ones its program sent
BOOKKEEPING = re.compile(
    r"(attributes-|job-(id|uri|uuid|state|printer-|k-octets|impressions|media-|more-info"
    r"|preserved|originating-)|(date-)?time-at-|number-of-documents|document-format)")


def wait_for(what, probe, seconds=WAIT_SECONDS, interval=0.02):
    """probe()'s first true answer; fails after `seconds`."""
    return waiting.wait_for(what, probe, seconds, interval)


def cups_client(argv, env):
    """A CUPS client program's output; asked again when its connection fails on a loaded
    machine although the server answers ("Unable to connect ... Bad file descriptor")."""
    for _ in range(5):
        run = subprocess.run(argv, env=env, capture_output=True, text=True, timeout=60)
        if run.returncode == 0:
            return run.stdout
        if "Unable to connect" not in run.stdout + run.stderr:
            break
        time.sleep(0.2)
    raise AssertionError(f"{argv} failed: {run.stdout}{run.stderr}")


class Process:
    """A program in a session of its own; stop() ends it and the processes it started
    (the session's group is named by the program's PID)."""

    def __init__(self, argv, env, log):
        self.log = log
        with open(log, "ab") as out:
            self.popen = subprocess.Popen(argv, env=env, stdout=out, stderr=subprocess.STDOUT,
                                          stdin=subprocess.DEVNULL, start_new_session=True)

    def stop(self):
        try:
            os.killpg(self.popen.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        try:
            self.popen.wait(10)
        except subprocess.TimeoutExpired:
            os.killpg(self.popen.pid, signal.SIGKILL)
            self.popen.wait()


class PrintedJob:
    """A job as the printer received it: its setup's feature blocks, the page Ghostscript
    renders from it, and the T48's own page-device keys as the job's setup leaves them."""

    def __init__(self, folder):
        self.folder = folder
        with open(os.path.join(folder, "data"), "rb") as data:
            self.data = data.read()
        self.features = dict(
            (k.decode(), v.decode())
            for k, v in re.findall(rb"^%%BeginFeature: \*(\S+) (\S+)", self.data, re.M))
        self.colour_pixels, self.page_device = self._render()

    def _render(self):
        with tempfile.TemporaryDirectory() as work:
            page = os.path.join(work, "page.ppm")
            job = os.path.join(work, "job.ps")
            with open(job, "wb") as out:
                out.write(self.data)
            run = subprocess.run(
                ["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=ppmraw", "-r20",
                 "-dFirstPage=1", "-dLastPage=1", "-sOutputFile=" + page,
                 os.path.join(HERE, "t48-page-device.ps"), job,
                 "-c", "T48PageDevice { exch =only ( ) print == } forall"],
                capture_output=True, text=True, timeout=60)
            if run.returncode != 0 or not os.path.exists(page):
                raise AssertionError("Ghostscript cannot render the job: " + run.stderr[-2000:])
            with open(page, "rb") as image:
                pixels = image.read()
        header = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+255\s", pixels)
        body = memoryview(pixels)[header.end():]
        colour = sum(1 for i in range(0, len(body) - 2, 3)
                     if max(body[i:i + 3]) - min(body[i:i + 3]) > 30)
        keys = dict(line.split(" ", 1) for line in run.stdout.splitlines() if " " in line)
        return colour, keys

    def color_as_gray(self):
        """The T48's Color as Grayscale as the printer takes it from the job."""
        return self.page_device.get("ZTColorAsGray") == "true"

    def t48_prints_grey(self):
        """The page comes out without colour: it has none, or the T48 prints it grey."""
        return self.colour_pixels == 0 or self.color_as_gray()

    def describe(self):
        return (f"{self.colour_pixels} colour pixels, ColorModel {self.features.get('ColorModel')}, "
                f"ZTColorAsGray {self.page_device.get('ZTColorAsGray')}, "
                f"ZTQuickColor {self.page_device.get('ZTQuickColor')}")


class PrintWorld:
    """A private cupsd listening on `listen` (cupsd calls its queues by "localhost" to a
    loopback client, and programs fetch a queue's PPD by that name, so a port of
    localhost), the simulated printer's LPD side on printer:lpd_port, and the queues made
    on them."""

    def __init__(self, listen, printer, lpd_port, name="programs"):
        self.listen = listen
        self.dir = tempfile.mkdtemp(prefix=f"t48-{name}-")
        os.chmod(self.dir, 0o711)  # cupsd runs its filters as the user lp
        self.processes = []
        self.printer_uri = f"lpd://{printer}:{lpd_port}"
        self.jobs_dir = os.path.join(self.dir, "jobs")
        self.cupsd_dir = os.path.join(self.dir, "cups")
        self.cupsd_started = False
        try:
            self._start(listen, printer, lpd_port)
        except BaseException:
            self.stop()
            raise

    def _start(self, listen, printer, lpd_port):
        os.makedirs(self.jobs_dir)
        base = dict(os.environ, LANGUAGE="", LANG="C.UTF-8", LC_ALL="")
        lpd = self.start([os.path.join(BINARY, "sim", "t48-printer-lpd"),
                          f"{printer}:{lpd_port}", self.jobs_dir], base, "lpd.log")
        wait_for("the LPD server", lambda: "listening" in read(lpd.log))
        started = subprocess.run(
            [PRIVATE_CUPSD, "start", self.cupsd_dir, listen,
             os.path.join(BINARY, "filter", "t48-colorfilter")],
            env=base, check=True, capture_output=True, text=True).stdout
        self.cupsd_started = True
        cups = dict(line.split("=", 1) for line in started.split())
        cups.pop("PID")
        runtime = os.path.join(self.dir, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.env = dict(base, XDG_RUNTIME_DIR=runtime,
                        XDG_CONFIG_HOME=os.path.join(self.dir, "config"), **cups)

    def file(self, name):
        return os.path.join(self.dir, name)

    def add_queue(self, name, ppd=T48_PPD):
        subprocess.run([PRIVATE_CUPSD, "queue", self.cupsd_dir, name,
                        f"{self.printer_uri}/{name}?snmp=false", ppd],
                       env=self.env, check=True, capture_output=True)

    def client(self, *argv):
        """A CUPS client program (lp, lpadmin, ipptool ...) against this server; its output."""
        return cups_client(list(argv), self.env)

    def sent_options(self):
        """What the program sent with the server's newest job, as cupsd keeps it:
        "name=value, ..."."""
        listed = self.client("lpstat", "-W", "all", "-o")
        job_id = max(int(n) for n in re.findall(r"^\S+-(\d+) ", listed, re.M))
        # A job another cupsd forwarded holds job-originating-user-name twice, which fails
        # ipptool's test: its answer is read all the same.
        run = subprocess.run(["ipptool", "-tv", f"ipp://{self.listen}/jobs/{job_id}",
                              "get-job-attributes.test"], env=self.env, capture_output=True,
                             text=True, timeout=60)
        found = (re.match(r"\s+([\w-]+) \([^)]*\) = (.*)", line)
                 for line in run.stdout.splitlines())
        return ", ".join(f"{m[1]}={m[2]}" for m in found if m and not BOOKKEEPING.match(m[1]))

    def jobs(self):
        """The jobs the printer has, in order (each folder whole once it shows)."""
        return sorted(j for j in os.listdir(self.jobs_dir) if not j.startswith("."))

    def job_after(self, count, seconds=WAIT_SECONDS):
        """The printer's next job once it had `count`."""
        jobs = wait_for("the job at the printer", lambda: len(self.jobs()) > count and self.jobs(),
                        seconds)
        return PrintedJob(os.path.join(self.jobs_dir, jobs[count]))

    def start(self, argv, env, log):
        process = Process(argv, env, os.path.join(self.dir, log))
        self.processes.append(process)
        return process

    def job_from(self, argv, log, seconds=120):
        """The job `argv`, a program that prints one and may linger, gets to the printer; the
        program is stopped once it is there. What it sent goes to the test's output."""
        count = len(self.jobs())
        program = self.start(argv, self.env, log)
        try:
            job = self.job_after(count, seconds)
        finally:
            program.stop()
        print(f"\n{job.describe()}\nsent: {self.sent_options()}", file=sys.stderr)
        return job

    def error_log(self):
        path = os.path.join(self.cupsd_dir, "log", "error_log")
        return read(path) if os.path.exists(path) else ""

    def stop(self):
        for process in reversed(self.processes):
            process.stop()
        self.processes = []
        if self.cupsd_started:
            subprocess.run([PRIVATE_CUPSD, "stop", self.cupsd_dir], capture_output=True)
            self.cupsd_started = False
        os.environ.get("T48_KEEP") or shutil.rmtree(self.dir, ignore_errors=True)


class PrintWorldTest(unittest.TestCase):
    """Tests sharing one PrintWorld at `world_at` (listen, printer, port, name) with a T48
    queue, the server's default."""
    world_at = ()

    @classmethod
    def setUpClass(cls):
        cls.world = PrintWorld(*cls.world_at)
        try:
            cls.world.add_queue("T48")
            cls.world.client("lpadmin", "-d", "T48")
        except BaseException:
            cls.world.stop()  # tearDownClass does not run after a failed setUpClass
            raise

    @classmethod
    def tearDownClass(cls):
        cls.world.stop()

    def assertPrinted(self, job, model, as_gray):
        """The job's setup chooses ColorModel `model` and Color as Grayscale `as_gray`, and
        the T48 takes Color as Grayscale so."""
        self.assertEqual((job.features.get("ColorModel"), job.features.get("ZTColorAsGray"),
                          job.color_as_gray()), (model, str(as_gray), as_gray), job.describe())
        # The page is rendered as it is printed: grey with Color as Grayscale (pdftops, run
        # by the filter, is told so), in colour without.
        self.assertEqual(job.colour_pixels > 0, not as_gray, job.describe())
