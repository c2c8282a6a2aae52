#!/usr/bin/env python3
"""Wall time of one t48-queue-profiles run for a printer with 20 and with 500 stored
profiles: snmpd with t48-printer-sim on 127.0.26.1 port 161 (so as root), a private cupsd
on 127.0.26.2:20926 with the queue T48. "installs" is a run that gives the queue its new
PPD (the queue has the plain driver PPD again before each, untimed); "unchanged" a run
against the same printer that finds nothing to change. Medians of repeated runs.

usage: bench/queue-profiles/queue-profiles-bench.py BUILD-DIR [RUNS]
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SOURCE, "bench"))
import simulated_printer  # noqa: E402
import system_paths  # noqa: E402

PRINTER = "127.0.26.1"
CUPSD = "127.0.26.2:20926"
SIZES = (20, 500)


def timed(argv, env):
    start = time.perf_counter()
    done = subprocess.run(argv, env=env, capture_output=True, text=True)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit(f"{argv[0]} failed: {done.stderr}")
    return elapsed, done.stdout


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 11
    tool = os.path.join(build, "tools", "t48-queue-profiles", "t48-queue-profiles")
    sample = os.path.join(SOURCE, "PDE", "Resources", "T48.ppd")
    fixture = os.path.join(SOURCE, "tests", "support", "private-cupsd")
    print(f"runs per figure: {runs} (median)")
    print(f"{'profiles':>8} {'choices':>8} {'installs ms':>12} {'unchanged ms':>13}")
    for count in SIZES:
        work = tempfile.mkdtemp(prefix="t48-queue-profiles-bench.")
        os.chmod(work, 0o711)
        agent = None
        cups = os.path.join(work, "cups")
        try:
            root = os.path.join(work, "root")
            driver = root + system_paths.read(build)["DRIVER_PPD"]
            os.makedirs(os.path.dirname(driver))
            shutil.copy(sample, driver)
            started = subprocess.run([fixture, "start", cups, CUPSD], check=True,
                                     capture_output=True, text=True).stdout
            env = dict(os.environ, T48_ROOT=root,
                       **dict(line.split("=", 1) for line in started.split()
                              if not line.startswith("PID=")))
            subprocess.run([fixture, "queue", cups, "T48",
                            f"lpd://{PRINTER}:9/T48?snmp=false"], check=True, env=env)
            agent = simulated_printer.start(build, work, PRINTER, 161,
                                            simulated_printer.profile_rows(count, (4, 5)))
            reset = ["/usr/sbin/lpadmin", "-p", "T48", "-P", sample]
            installs, unchanged = [], []
            output = ""
            for _ in range(runs):
                subprocess.run(reset, check=True, env=env, capture_output=True)
                elapsed, output = timed([tool, "T48"], env)
                installs.append(elapsed)
                elapsed, again = timed([tool, "T48"], env)
                if "unchanged" not in again:
                    sys.exit(f"a second run changed the PPD: {again}")
                unchanged.append(elapsed)
            choices = output.split("printer's ")[1].split()[0]
            print(f"{count:>8} {choices:>8} {statistics.median(installs) * 1000:>12.1f} "
                  f"{statistics.median(unchanged) * 1000:>13.1f}")
        finally:
            if agent is not None:
                simulated_printer.stop(agent)
            subprocess.run([fixture, "stop", cups], capture_output=True)
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
