#!/usr/bin/env python3
"""Times the helper command line against a running xpcservice, whole processes:

  * one helper run: T48Helper ztPListExistProfile_XPC PATH
  * a forwarded-style save: the write test, the chunks of 90000 characters of a full
    profile file, and the rename, each a helper run of its own (as the panel does it).

Usage: bench/service/helper-bench.py [BUILD_DIR] [RUNS]
Prints the median and the quartiles of each, in milliseconds. Everything runs under a
fresh filesystem root in /tmp; the service is stopped by its PID at the end.
"""
import os
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import system_paths  # noqa: E402

CHUNK = 90000


def full_profile_text():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" '
             '"http://www.apple.com/DTDs/PropertyList-1.0.dtd">',
             '<plist version="1.0">', '<dict>']
    for cls in ("RGB", "SIM", "DST"):
        lines += ["\t<key>%s</key>" % cls, "\t<dict>"]
        for field in ("FileName", "InMenu", "IndexOnDevice", "Location", "ProfileClass",
                      "ProfileName"):
            lines += ["\t\t<key>%s</key>" % field, "\t\t<dict>"]
            for slot in range(500):
                value = "<string></string>" if field in ("FileName", "ProfileName") \
                    else "<integer>0</integer>"
                lines += ["\t\t\t<key>%s%04d</key>" % (field, slot), "\t\t\t" + value]
            lines += ["\t\t</dict>"]
        lines += ["\t\t<key>iNum</key>", "\t\t<integer>0</integer>", "\t</dict>"]
    lines += ["\t<key>PlistVersion</key>", "\t<integer>1</integer>", "</dict>", "</plist>", ""]
    return "\n".join(lines)


def quartiles(samples):
    q = statistics.quantiles(samples, n=4)
    return "median %.2f ms (quartiles %.2f / %.2f, %d runs)" % (q[1], q[0], q[2], len(samples))


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    root = tempfile.mkdtemp(prefix="t48-bench-")
    paths = system_paths.read(build)
    try:
        prefs = root + paths["PREFERENCES_FOLDER"]
        os.makedirs(prefs)
        os.chmod(prefs, 0o1777)
        helper = root + paths["HELPER"]
        os.makedirs(os.path.dirname(helper))
        shutil.copy(os.path.join(build, "Helper/T48Helper/T48Helper"), helper)
        sock = root + "/run/xpcservice.sock"
        env = dict(os.environ, T48_ROOT=root, T48_XPC_SOCKET=sock)
        service = subprocess.Popen([os.path.join(build, "Helper/XPCService/xpcservice")], env=env)
        try:
            for _ in range(2000):
                try:
                    with socket.socket(socket.AF_UNIX) as probe:
                        probe.connect(sock)
                    break
                except OSError:
                    time.sleep(0.005)
            user = subprocess.run(["id", "-un"], capture_output=True, text=True).stdout.strip()
            current = "%s/%s-T48-profile.plist" % (prefs, user)
            url = "file://" + current

            def helper_run(*args):
                out = subprocess.run([helper, *args], env=env, capture_output=True, text=True)
                return out.stdout

            exist = []
            for _ in range(runs):
                start = time.perf_counter()
                out = helper_run("ztPListExistProfile_XPC", current)
                exist.append((time.perf_counter() - start) * 1000)
                assert out.startswith("ztPListExistProfile_XPC="), out

            text = full_profile_text()
            chunks = [text[i:i + CHUNK] for i in range(0, len(text), CHUNK)]
            saves = []
            for _ in range(max(10, runs // 10)):
                start = time.perf_counter()
                assert "ztPListIsAdminProfile_XPC=TRUE" in helper_run("ztPListIsAdminProfile_XPC", current)
                for chunk in chunks:
                    assert "writeDataToPlistFile_XPC=TRUE" in helper_run("writeDataToPlistFile_XPC", url, chunk)
                assert "writeDataToPlistFileRename_XPC=TRUE" in helper_run("writeDataToPlistFileRename_XPC", url)
                saves.append((time.perf_counter() - start) * 1000)
            with open(current, encoding="utf-8") as saved:
                assert saved.read() == text

            print("one helper run (ztPListExistProfile_XPC): " + quartiles(exist))
            print("forwarded save, %d bytes in %d chunks + write test + rename: %s"
                  % (len(text), len(chunks), quartiles(saves)))
        finally:
            service.send_signal(signal.SIGTERM)
            service.wait(timeout=10)
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
