#!/usr/bin/env python3
"""Times the print path with the real programs, against a cupsd of its own
(tests/support/private-cupsd on 127.0.20.250:20698) whose queue T48 prints to the
simulated printer's LPD side (t48-printer-lpd on 127.0.20.251:20697):

  * whole-process `pdehost --queue T48 show` beside `pdehost --ppd ... --device-uri ...
    show` (the cost of asking the server for the queue, its device URI and its PPD);
  * `pdehost --queue T48 submit page.ps` until the printer has the job, beside
    `lp -d T48 page.ps` of the same file until the printer has it.

Usage: bench/print/print-bench.py [BUILD_DIR] [RUNS]
Prints medians in milliseconds, the figures measured in turn. Sessions run under an empty filesystem root (no helper,
so no profile refresh in either). The cupsd and the printer are stopped by their PIDs.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
CUPSD, PRINTER, LPD_PORT = "127.0.20.250:20698", "127.0.20.251", 20697
URI = "lpd://%s:%d/T48?snmp=false" % (PRINTER, LPD_PORT)


def wait_for(condition, what, seconds=15):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            sys.exit("print-bench: " + what)
        time.sleep(0.001)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    script = os.path.join(SOURCE, "tests/support/private-cupsd")
    page = os.path.join(SOURCE, "tests/data/page.ps")
    pdehost = os.path.join(build, "host/pdehost")
    with tempfile.TemporaryDirectory(prefix="t48-print-bench.") as work:
        os.chmod(work, 0o711)  # cupsd runs its filters as the user lp
        jobs = os.path.join(work, "jobs")
        os.mkdir(jobs)
        os.mkdir(os.path.join(work, "root"))
        printer = subprocess.Popen(
            [os.path.join(build, "sim/t48-printer-lpd"), "%s:%d" % (PRINTER, LPD_PORT), jobs],
            stdout=subprocess.PIPE, text=True)
        cups = os.path.join(work, "cups")
        try:
            if not printer.stdout.readline().startswith("listening"):
                sys.exit("print-bench: t48-printer-lpd did not start")
            started = subprocess.run(
                ["/bin/sh", script, "start", cups, CUPSD, os.path.join(build, "filter/t48-colorfilter")],
                check=True, capture_output=True, text=True).stdout
            env = dict(os.environ, LANGUAGE="", LANG="C.UTF-8", T48_ROOT=os.path.join(work, "root"))
            env.update(line.split("=", 1) for line in started.splitlines() if "=" in line)
            subprocess.run(["/bin/sh", script, "queue", cups, "T48", URI], check=True,
                           stderr=subprocess.DEVNULL)

            def whole(argv):
                def measure():
                    start = time.perf_counter()
                    subprocess.run(argv, env=env, check=True, stdout=subprocess.DEVNULL)
                    return (time.perf_counter() - start) * 1000
                return measure

            def until_printed(argv):
                def measure():
                    count = len(os.listdir(jobs))
                    start = time.perf_counter()
                    subprocess.run(argv, env=env, check=True, stdout=subprocess.DEVNULL)
                    wait_for(lambda: len([j for j in os.listdir(jobs) if not j.startswith(".")]) > count,
                             "the printer received no job")
                    return (time.perf_counter() - start) * 1000
                return measure

            figures = [
                ("pdehost --queue T48 show", whole([pdehost, "--queue", "T48", "show"])),
                ("pdehost --ppd T48.ppd --printer T48 --device-uri URI show",
                 whole([pdehost, "--ppd", os.path.join(SOURCE, "PDE/Resources/T48.ppd"),
                        "--printer", "T48", "--device-uri", URI, "show"])),
                ("pdehost --queue T48 submit page.ps, until the printer has it",
                 until_printed([pdehost, "--queue", "T48", "submit", page])),
                ("lp -d T48 page.ps, until the printer has it",
                 until_printed(["/usr/bin/lp", "-d", "T48", page])),
            ]
            # Round robin, so a load that comes and goes weighs on every figure alike.
            samples = {name: [] for name, _ in figures}
            for run in range(runs + 1):
                for name, measure in figures:
                    sample = measure()
                    if run > 0:  # the first round warms up
                        samples[name].append(sample)
            for name, _ in figures:
                print("%-64s %8.1f ms (median of %d)" % (name, statistics.median(samples[name]), runs))
        finally:
            if os.path.exists(os.path.join(cups, "cupsd.pid")):
                subprocess.run(["/bin/sh", script, "stop", cups])
            printer.terminate()
            printer.wait()


if __name__ == "__main__":
    main()
