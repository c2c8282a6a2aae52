#!/usr/bin/env python3
"""Times the profile store on a file with every slot of every class in use, in one run:
the Google Benchmark program (ZTPListReadProfile_All, ZTPListWriteProfile_All, the
serialisation alone, libplist's bare plist_from_xml / plist_to_xml) and Python's
plistlib load and dump of the same file.

usage: bench/profilestore/profile-store-bench.py [BUILD_DIR]   (default: build)
"""
import json
import os
import plistlib
import subprocess
import sys
import tempfile
import time
import timeit

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import system_paths  # noqa: E402

PLISTLIB_RUNS = 20


def mean_ms(function, runs=PLISTLIB_RUNS):
    function()  # warm up
    # CPU time, like the C++ figures: the machine may be shared.
    timer = timeit.Timer(function, timer=time.process_time)
    return timer.timeit(number=runs) / runs * 1000.0


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    program = os.path.join(build, "bench", "profilestore", "profile-store-bench")
    with tempfile.TemporaryDirectory(prefix="t48-bench-") as root:
        report = os.path.join(root, "benchmark.json")
        subprocess.run([program, "--benchmark_out=" + report, "--benchmark_out_format=json"],
                       env=dict(os.environ, T48_ROOT=root), check=True)
        with open(report) as f:
            results = {b["name"].split("/")[0]: b for b in json.load(f)["benchmarks"]}
        path = root + system_paths.read(build)["PREFERENCES_FOLDER"] + "/bench-T48-profile.plist"
        size = os.path.getsize(path)
        with open(path, "rb") as f:
            data = f.read()
        root_dict = plistlib.loads(data)
        load_ms = mean_ms(lambda: plistlib.load(open(path, "rb")))
        dump_ms = mean_ms(lambda: plistlib.dumps(root_dict, fmt=plistlib.FMT_XML))

    def ms(name, field="cpu_time"):
        b = results[name]
        scale = {"ms": 1.0, "us": 1e-3, "ns": 1e-6}[b["time_unit"]]
        return b[field] * scale

    read = ms("BM_ZTPListReadProfile_All")
    parse = ms("BM_plist_from_xml")
    expat = ms("BM_expat_bare_parse")
    print()
    print("file with 3 x 500 slots in use: %d bytes" % size)
    print("%-40s %9.2f ms" % ("ZTPListReadProfile_All", read))
    print("%-40s %9.2f ms" % ("libplist plist_from_xml (bare parse)", parse))
    print("%-40s %9.2f" % ("  read / bare parse", read / parse))
    print("%-40s %9.2f ms" % ("expat bare parse (no handlers)", expat))
    print("%-40s %9.2f" % ("  read / bare expat parse", read / expat))
    print("%-40s %9.2f ms" % ("libxml2 reader bare parse", ms("BM_libxml2_reader_bare_parse")))
    print("%-40s %9.2f ms" % ("ZTPListWriteProfile_All (wall, flushes)", ms("BM_ZTPListWriteProfile_All", "real_time")))
    print("%-40s %9.2f ms" % ("ZTPListWriteProfile_All (CPU)", ms("BM_ZTPListWriteProfile_All", "cpu_time")))
    print("%-40s %9.2f ms" % ("  of which serialisation", ms("BM_SerializeProfileLists")))
    print("%-40s %9.2f ms" % ("  bare write + fsync of the bytes (wall)", ms("BM_write_fsync_only", "real_time")))
    print("%-40s %9.2f ms" % ("libplist plist_to_xml (bare)", ms("BM_plist_to_xml")))
    print("%-40s %9.2f ms" % ("Python plistlib load", load_ms))
    print("%-40s %9.2f ms" % ("Python plistlib dump", dump_ms))


if __name__ == "__main__":
    main()
