#!/bin/sh
# Whole-process time of t48-colorfilter passing a 1 MB and a 50 MB job on, beside cat on
# the same files, in one run: jobs as pstops hands them over (the PPD's setup, an added
# profile whose command the filter inserts, a page of binary image data), output through
# a pipe. Prints hyperfine's table, then each median and the filter's throughput as a
# share of cat's (cat's time / the filter's).
# Usage: bench/filter/colorfilter-bench.sh [build folder] [runs]
set -eu
cd "$(dirname "$0")/../.."
BUILD=${1:-build}
RUNS=${2:-21}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
python3 - "$WORK" <<'PY'
import os, sys
setup = open("PDE/Resources/T48.ppd", "rb").read()  # a PPD's worth of setup text
for name, size in (("1MB", 1 << 20), ("50MB", 50 << 20)):
    head = (b"%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\n%%BeginProlog\n%%EndProlog\n"
            b"%%BeginSetup\n" + b"".join(b"% " + line + b"\n" for line in setup.splitlines())
            + b"%%EndSetup\n%%Page: 1 1\n")
    tail = b"\n%%EndData\nshowpage\n%%EOF\n"
    count = size - len(head) - len(tail) - 40
    data = b"%%BeginData: " + str(count).encode() + b" Binary Bytes\n"
    with open(os.path.join(sys.argv[1], name + ".ps"), "wb") as job:
        job.write(head + data + os.urandom(count) + tail)
PY
encoded=$(python3 -c 'print("".join(chr(48 + (b >> 4)) + chr(48 + (b & 15)) for b in b"/ata1a/data/USfiles/Profiles/photo.icc"))')
OPTIONS="ZTImageRGBSourceCustom=True ZTImageRGBSourceCustomFilename=$encoded"
export PPD="$PWD/PDE/Resources/T48.ppd"
FILTER="$BUILD/filter/t48-colorfilter"
"$FILTER" 1 user job 1 "$OPTIONS" "$WORK/1MB.ps" | grep -q "ZTImageRGBSourceProfile" ||
    { echo "colorfilter-bench: the filter inserted no profile command" >&2; exit 1; }
hyperfine -N --warmup 3 --runs "$RUNS" --output=pipe --export-json "$WORK/times.json" \
    -n "cat 1MB" "cat $WORK/1MB.ps" \
    -n "t48-colorfilter 1MB" "$FILTER 1 user job 1 '$OPTIONS' $WORK/1MB.ps" \
    -n "cat 50MB" "cat $WORK/50MB.ps" \
    -n "t48-colorfilter 50MB" "$FILTER 1 user job 1 '$OPTIONS' $WORK/50MB.ps"
python3 - "$WORK/times.json" <<'PY'
import json, sys
median = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
for size in ("1MB", "50MB"):
    cat, filt = median["cat " + size], median["t48-colorfilter " + size]
    print("%-5s cat %7.2f ms  t48-colorfilter %7.2f ms  throughput %.2f x cat's"
          % (size, cat * 1000, filt * 1000, cat / filt))
PY
