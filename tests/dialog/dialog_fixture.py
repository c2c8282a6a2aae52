"""The world of a print-dialog window test: a private cupsd with two T48 queues on the
simulated printer (snmpd with t48-printer-sim, t48-printer-lpd) and a queue of a generic
PostScript printer, the real xpcservice and T48Helper under a test root, and
t48-print-dialog under the display the test runs in, read and driven through AT-SPI.
Every process started here is stopped by its PID."""

import gettext
import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile

import pyatspi

SOURCE = os.environ["T48_SOURCE_DIR"]
BINARY = os.environ["T48_BINARY_DIR"]
sys.path.insert(0, os.path.join(SOURCE, "bench"))
sys.path.insert(0, os.path.join(SOURCE, "tests", "support"))
import system_paths  # noqa: E402
import waiting  # noqa: E402
from waiting import read  # noqa: E402,F401  (the tests read the files of their processes)
PRINTER_ADDRESS = "127.0.21.1"
# cupsd names its queues by "localhost" to a loopback client, so it listens there.
CUPS_LISTEN = "localhost:20720"
LPD_PORT = 20721
QUEUES = ("T48_Office", "T48_Lab")
GENERIC_QUEUE = "Generic"
PATHS = system_paths.read(BINARY)
HELPER = PATHS["HELPER"].lstrip("/")
PREFERENCES = PATHS["PREFERENCES_FOLDER"].lstrip("/")
ICON = PATHS["PRINTER_ICON"].lstrip("/")
WAIT_SECONDS = 20


def wait_for(what, probe, seconds=WAIT_SECONDS, interval=0.05):
    """probe()'s first true answer, asked every `interval` seconds; fails after `seconds`.
    A probe that raises is asked again: the accessible tree changes under us while we look."""
    return waiting.wait_for(what, probe, seconds, interval, retried=Exception)


def translator(language):
    """The panel's texts in `language` ("" for English), as the dialog shows them."""
    locale = os.path.join(BINARY, "PDE", "colorpde.resources", "locale")
    english = gettext.translation("colorpde", locale, languages=["en"], fallback=True)
    if not language:
        return english.gettext
    texts = gettext.translation("colorpde", locale, languages=[language])
    texts.add_fallback(english)
    return texts.gettext


class Process:
    def __init__(self, argv, env, log):
        self.log = log
        with open(log, "wb") as out:
            self.popen = subprocess.Popen(argv, env=env, stdout=out, stderr=subprocess.STDOUT)

    def stop(self):
        if self.popen.poll() is None:
            self.popen.send_signal(signal.SIGTERM)
            try:
                self.popen.wait(5)
            except subprocess.TimeoutExpired:
                self.popen.kill()
                self.popen.wait()


class DialogWorld:
    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="t48-dialog-")
        os.chmod(self.dir, 0o711)
        self.processes = []
        self.cupsd_dir = os.path.join(self.dir, "cups")
        self.root = os.path.join(self.dir, "root")
        self.jobs = os.path.join(self.dir, "jobs")
        self.dialog = None
        try:
            self._start()
        except BaseException:
            self.stop()
            raise

    def _start(self):
        env = dict(os.environ, LANGUAGE="", LANG="C.UTF-8", LC_ALL="")
        # The simulated printer: six profiles on its disk, two of each class.
        sim = os.path.join(self.dir, "sim")
        os.makedirs(os.path.join(sim, "state"))
        with open(os.path.join(sim, "rows"), "w") as rows:
            for i in range(1, 7):
                rows.write(f"{i}\t4\tProfile {i}\tPROF{i}.ICC\t{(i - 1) % 3 + 1}\t0\t1\n")
        with open(os.path.join(BINARY, "sim", "snmpd.conf.in")) as template:
            conf = (template.read().replace("@AGENT_ADDRESS@", f"udp:{PRINTER_ADDRESS}:161")
                    .replace("@PRINTER_SIM@", os.path.join(BINARY, "sim", "t48-printer-sim"))
                    .replace("@ROWS_FILE@", os.path.join(sim, "rows"))
                    .replace("@REQUEST_LOG@", ""))
        with open(os.path.join(sim, "snmpd.conf"), "w") as out:
            out.write(conf)
        self.snmpd = self._run(
            ["/usr/sbin/snmpd", "-f", "-Lo", "-C", "-c", os.path.join(sim, "snmpd.conf")],
            dict(env, SNMP_PERSISTENT_DIR=os.path.join(sim, "state"), MIBS="",
                 MIBDIRS="/nonexistent"), "snmpd.log")
        os.makedirs(self.jobs)
        lpd = self._run([os.path.join(BINARY, "sim", "t48-printer-lpd"),
                         f"{PRINTER_ADDRESS}:{LPD_PORT}", self.jobs], env, "lpd.log")
        wait_for("the LPD server", lambda: "listening" in read(lpd.log))

        fixture = os.path.join(SOURCE, "tests", "support", "private-cupsd")
        colorfilter = os.path.join(BINARY, "filter", "t48-colorfilter")
        started = subprocess.run([fixture, "start", self.cupsd_dir, CUPS_LISTEN, colorfilter],
                                 env=env,
                                 check=True, capture_output=True, text=True).stdout
        self.cups_env = dict(line.split("=", 1) for line in started.split())
        self.cupsd_pid = int(self.cups_env.pop("PID"))
        for queue in QUEUES:
            subprocess.run([fixture, "queue", self.cupsd_dir, queue,
                            f"lpd://{PRINTER_ADDRESS}:{LPD_PORT}/{queue}?snmp=false"],
                           env=env, check=True, capture_output=True)
        subprocess.run([fixture, "queue", self.cupsd_dir, GENERIC_QUEUE,
                        f"lpd://{PRINTER_ADDRESS}:{LPD_PORT}/{GENERIC_QUEUE}?snmp=false",
                        os.path.join(SOURCE, "tests", "data", "generic-ps.ppd")],
                       env=env, check=True, capture_output=True)
        subprocess.run(["/usr/sbin/lpadmin", "-d", QUEUES[0]], env=dict(env, **self.cups_env),
                       check=True, capture_output=True)

        # The service and the helper under the test root, the printer icon the window shows.
        preferences = os.path.join(self.root, PREFERENCES)
        os.makedirs(preferences)
        os.chmod(preferences, 0o1777)
        helper = os.path.join(self.root, HELPER)
        os.makedirs(os.path.dirname(helper))
        shutil.copy(os.path.join(BINARY, "Helper", "T48Helper", "T48Helper"), helper)
        os.makedirs(os.path.dirname(os.path.join(self.root, ICON)))
        with open(os.path.join(self.root, ICON), "wb") as icon:
            icon.write(b"icns")
        self.t48_env = {"T48_ROOT": self.root,
                        "T48_XPC_SOCKET": os.path.join(self.root, "xpcservice.sock")}
        self._run([os.path.join(BINARY, "Helper", "XPCService", "xpcservice")],
                  dict(env, JOURNAL_STREAM="", **self.t48_env), "service.log")
        wait_for("the service", lambda: os.path.exists(self.t48_env["T48_XPC_SOCKET"]))
        self.env = dict(env, XDG_CONFIG_HOME=os.path.join(self.dir, "config"),
                        **self.cups_env, **self.t48_env)

    def offer_printer_profiles(self, queue):
        """t48-queue-profiles on `queue`, the driver's PPD where it looks under the root."""
        driver = self.root + PATHS["DRIVER_PPD"]
        os.makedirs(os.path.dirname(driver), exist_ok=True)
        shutil.copy(os.path.join(SOURCE, "PDE", "Resources", "T48.ppd"), driver)
        tool = os.path.join(BINARY, "tools", "t48-queue-profiles", "t48-queue-profiles")
        return subprocess.run([tool, queue], env=self.env, check=True, capture_output=True,
                              text=True)

    def _run(self, argv, env, log):
        process = Process(argv, env, os.path.join(self.dir, log))
        self.processes.append(process)
        return process

    def start_dialog(self, args=(), language="", env=None, program="dialog/t48-print-dialog"):
        """A print dialog (`program` in the build tree) on the world's queues."""
        # The accessibility bus and registry are up before the dialog starts: a dialog whose
        # bridge starts while this process's first request is still activating them now and
        # then never shows on the bus under load.
        wait_for("the accessibility registry", lambda: pyatspi.Registry.getDesktop(0) is not None)
        env = dict(self.env, LANGUAGE=language, **(env or {}))
        self.dialog = self._run([os.path.join(BINARY, program), *args], env, "dialog.log")
        self.dialog_name = os.path.basename(program)
        return self.dialog

    def app(self):
        """The dialog's accessible application."""
        def find():
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.name == self.dialog_name and \
                        app.get_process_id() == self.dialog.popen.pid:
                    return app
            return None
        return wait_for("the dialog on the accessibility bus", find)

    def switch_printer(self, on):
        """The simulated printer's SNMP agent answers again, or stops answering (a printer
        switched off: a walk waits for it in vain)."""
        self.snmpd.popen.send_signal(signal.SIGCONT if on else signal.SIGSTOP)

    def walk_waiting_for_the_printer(self):
        """A walk of the user's, through the real helper and service, that waits for the
        switched-off printer as long as it stays off (up to a minute); the service runs one
        walk at a time, so every other walk waits behind it. Its helper, by PID."""
        requests = self.printer_requests_queued()
        walk = self._run([os.path.join(self.root, HELPER), "mibwalk_XPC", "T48",
                          pwd.getpwuid(os.getuid()).pw_name, "snmpwalk", "-Os", "-c", "fennel",
                          "-v", "1", "-t", "60", "-r", "0", PRINTER_ADDRESS,
                          "1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1"], self.env, "walk.log")
        wait_for("the walk's request at the printer",
                 lambda: self.printer_requests_queued() > requests)
        return walk

    def printer_requests_queued(self):
        """The bytes of requests the stopped printer has not read yet."""
        address = "".join(f"{int(b):02X}" for b in reversed(PRINTER_ADDRESS.split(".")))
        with open("/proc/net/udp") as table:
            for line in table.readlines()[1:]:
                fields = line.split()
                if fields[1] == f"{address}:00A1":
                    return int(fields[4].split(":")[1], 16)
        return 0

    def profile_file(self, which="profile"):
        """The user's current ("profile") or previous ("profile.prev") profile file."""
        return os.path.join(self.root, PREFERENCES, f"{pwd.getpwuid(os.getuid()).pw_name}-T48-{which}.plist")

    def walks_running(self):
        """The helper runs of a profile walk that are alive, by PID."""
        walks = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
                    argv = cmdline.read().split(b"\0")
            except OSError:
                continue
            if argv[0].startswith(self.root.encode()) and b"mibwalk_XPC" in argv:
                walks.append(int(pid))
        return walks

    def printed_jobs(self):
        return sorted(os.listdir(self.jobs))

    def job_data(self, job):
        with open(os.path.join(self.jobs, job, "data"), "rb") as data:
            return data.read().decode("latin-1")

    def stop(self):
        if getattr(self, "snmpd", None):
            self.switch_printer(True)  # a stopped process does not hear SIGTERM
        for process in reversed(self.processes):
            process.stop()
        if getattr(self, "cupsd_pid", None):
            subprocess.run([os.path.join(SOURCE, "tests", "support", "private-cupsd"), "stop",
                            self.cupsd_dir], capture_output=True)
        os.environ.get("T48_KEEP") or shutil.rmtree(self.dir, ignore_errors=True)
