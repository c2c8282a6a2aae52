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

ADDRESS = "127.0.6.31"
PORT = 16631
SILENT_PEER = "127.0.6.32:16632"
ROOT_OID = "1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1"
SIZES = (10, 100, 500)


def write_rows(path, count):
    with open(path, "w") as out:
        for i in range(1, count + 1):
            out.write(f"{i}\t4\tProfile {i}\tPROF{i}.ICC\t{(i - 1) % 3 + 1}\t0\t1\n")


def bound(address, port):
    a = address.split(".")
    key = "%02X%02X%02X%02X:%04X" % (int(a[3]), int(a[2]), int(a[1]), int(a[0]), port)
    with open("/proc/net/udp") as f:
        return key in f.read()


def start_snmpd(build, work, count):
    rows = os.path.join(work, "rows")
    write_rows(rows, count)
    with open(os.path.join(build, "sim", "snmpd.conf.in")) as f:
        conf = f.read()
    conf = (conf.replace("@AGENT_ADDRESS@", f"udp:{ADDRESS}:{PORT}")
            .replace("@PRINTER_SIM@", os.path.join(build, "sim", "t48-printer-sim"))
            .replace("@ROWS_FILE@", rows).replace("@REQUEST_LOG@", ""))
    conf_path = os.path.join(work, "snmpd.conf")
    with open(conf_path, "w") as f:
        f.write(conf)
    env = dict(os.environ, SNMP_PERSISTENT_DIR=os.path.join(work, "state"))
    log = open(os.path.join(work, "snmpd.log"), "w")
    agent = subprocess.Popen(["/usr/sbin/snmpd", "-f", "-Lo", "-C", "-c", conf_path],
                             stdout=log, stderr=log, env=env)
    for _ in range(200):
        if bound(ADDRESS, PORT):
            return agent
        time.sleep(0.025)
    agent.terminate()
    sys.exit("snmpd did not start")


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
            agent = start_snmpd(build, work, count)
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
                agent.terminate()
                agent.wait()
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, T48_ROOT=os.path.join(work, "root"))
        off = [timed([mibwalk, "--", "snmpwalk", "-Os", "-c", "fennel", "-v",
                      "1", SILENT_PEER, ROOT_OID], env)[0] for _ in range(3)]
        print(f"switched-off printer: t48-mibwalk {statistics.median(off) * 1000:.0f} ms "
              "(median of 3, iRet=1)")


if __name__ == "__main__":
    main()
