#!/usr/bin/env python3
"""Times the profile refresh and the forwarded save with the real programs:

  * panelView, as whole-process `pdehost ... show` sessions (each asks for the view once,
    so each refreshes once), for an "lpd://" queue of a simulated printer with 20
    profiles (snmpd with t48-printer-sim on 127.0.8.210:161), for a switched-off printer
    (127.0.8.211, nothing listening), and for "usb://", which makes no walk;
  * the panel's forwarded save of a complete profile file (forward-save-bench: write test,
    chunks, rename, each a helper run), and the serialising alone.

Usage (as root, for port 161): bench/refresh/refresh-bench.py [BUILD_DIR] [RUNS]
Prints medians in milliseconds. Everything runs under a fresh filesystem root in /tmp;
snmpd and the service are stopped by their PIDs at the end.
"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import simulated_printer  # noqa: E402
import system_paths  # noqa: E402

PRINTER, SWITCHED_OFF = "127.0.8.210", "127.0.8.211"


def wait_for(condition, what):
    deadline = time.monotonic() + 10
    while not condition():
        if time.monotonic() > deadline:
            sys.exit("refresh-bench: " + what)
        time.sleep(0.01)


def median_ms(argv, env, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(argv, env=env, check=True, stdout=subprocess.DEVNULL)
        times.append((time.perf_counter() - start) * 1000)
    return statistics.median(times), len(times)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    source = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
    root = tempfile.mkdtemp(prefix="t48-refresh-bench-")
    children = []
    paths = system_paths.read(build)
    try:
        prefs = root + "/root" + paths["PREFERENCES_FOLDER"]
        os.makedirs(prefs)
        os.chmod(prefs, 0o1777)
        helper = root + "/root" + paths["HELPER"]
        os.makedirs(os.path.dirname(helper))
        shutil.copy(build + "/Helper/T48Helper/T48Helper", helper)
        env = dict(os.environ, T48_ROOT=root + "/root", T48_XPC_SOCKET=root + "/xpc.sock",
                   JOURNAL_STREAM="", LANGUAGE="", LANG="C.UTF-8")

        children.append(simulated_printer.start(build, root, PRINTER, 161,
                                                simulated_printer.profile_rows(20)))
        children.append(subprocess.Popen([build + "/Helper/XPCService/xpcservice"], env=env,
                                         stderr=subprocess.DEVNULL))
        wait_for(lambda: os.path.exists(root + "/xpc.sock"), "the service did not start")

        def session(uri):
            return [build + "/host/pdehost", "--ppd", source + "/PDE/Resources/T48.ppd",
                    "--printer", "T48_Bench", "--device-uri", uri, "show"]

        cases = [("lpd://, printer with 20 profiles", "lpd://%s/T48" % PRINTER, runs),
                 ("lpd://, switched-off printer", "lpd://%s/T48" % SWITCHED_OFF,
                  max(3, runs // 7)),
                 ("usb://, no walk", "usb://ORVELL/T48?serial=BENCH", runs)]
        for name, uri, count in cases:
            median, n = median_ms(session(uri), env, count)
            print("pdehost show, %-34s median %8.1f ms (%d runs)" % (name + ":", median, n))

        out = subprocess.run(
            [build + "/bench/refresh/forward-save-bench", "--benchmark_repetitions=%d" % runs,
             "--benchmark_min_time=0.2", "--benchmark_format=json"],
            env=env, check=True, capture_output=True, text=True).stdout
        for bench in json.loads(out)["benchmarks"]:
            if bench.get("aggregate_name") != "median":
                continue
            name, slots = bench["run_name"].split("/")[:2]
            if name == "BM_ForwardedSave":
                print("forwarded save, complete file, %3s used slots: median %7.1f ms "
                      "(%d chunks, %d reps)" % (slots, bench["real_time"], bench["chunks"], runs))
            else:
                print("  of which serialising, %3s used slots:        median %7.1f ms"
                      % (slots, bench["real_time"]))
    finally:
        for child in children:
            child.terminate()
            child.wait()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
