#!/usr/bin/env python3
"""Wall time of t48-mibwalk beside net-snmp's snmpwalk against the same snmpd serving the
same simulated T48 printer (10, 100 and 500 rows), and of a walk of a printer that is
switched off. Medians of repeated runs; t48-mibwalk includes the merge and the save.

usage: bench/discovery/walk-bench.py BUILD-DIR [RUNS]
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import simulated_printer  # noqa: E402

ADDRESS = "127.0.6.31"
PORT = 16631
SILENT_PEER = "127.0.6.32:16632"
ROOT_OID = "1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1"
SIZES = (10, 100, 500)


def timed(argv, env):
    start = time.perf_counter()
    done = subprocess.run(argv, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    return elapsed, done.stdout.decode(errors="replace")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    mibwalk = os.path.join(build, "tools", "t48-mibwalk", "t48-mibwalk")
    print(f"runs per figure: {runs} (median)")
    print(f"{'rows':>5} {'t48-mibwalk ms':>15} {'snmpwalk ms':>12} {'ratio':>6}")
    for count in SIZES:
        with tempfile.TemporaryDirectory() as work:
            env = dict(os.environ, T48_ROOT=os.path.join(work, "root"))
            agent = simulated_printer.start(build, work, ADDRESS, PORT,
                                            simulated_printer.profile_rows(count))
            try:
                ours = [f"{mibwalk}", "--", "snmpwalk", "-Os", "-c", "fennel",
                        "-v", "1", f"{ADDRESS}:{PORT}", ROOT_OID]
                theirs = ["snmpwalk", "-v1", "-c", "fennel", f"{ADDRESS}:{PORT}", ROOT_OID]
                timed(ours, env)  # first run starts the handler inside snmpd
                a, b = [], []
                for _ in range(runs):
                    t, out = timed(ours, env)
                    if out.strip() != "iRet=0":
                        sys.exit(f"t48-mibwalk answered {out!r}")
                    a.append(t)
                    b.append(timed(theirs, env)[0])
                ma, mb = statistics.median(a), statistics.median(b)
                print(f"{count:>5} {ma * 1000:>15.1f} {mb * 1000:>12.1f} {ma / mb:>6.2f}")
            finally:
                simulated_printer.stop(agent)
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, T48_ROOT=os.path.join(work, "root"))
        off = [timed([mibwalk, "--", "snmpwalk", "-Os", "-c", "fennel", "-v",
                      "1", SILENT_PEER, ROOT_OID], env)[0] for _ in range(3)]
        print(f"switched-off printer: t48-mibwalk {statistics.median(off) * 1000:.0f} ms "
              "(median of 3, iRet=1)")


if __name__ == "__main__":
    main()
