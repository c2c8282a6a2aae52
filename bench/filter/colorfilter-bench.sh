#!/bin/sh
# Whole-process time of t48-colorfilter passing a job on, beside cat on the same file, in
# one run: a one-page job (what a job costs the filter beyond its bytes: reading the PPD,
# loading the panel and resolving the job's choices), and a 1 MB and a 50 MB job. Jobs as
# pstops hands them over: the PPD's options in feature blocks at their defaults, a page of
# binary image data, output through a pipe; the job asks for Quick Color "Vivid", so the
# filter rewrites the blocks of the preset's options. Prints hyperfine's table, then for
# each size the medians, the filter's time beyond cat's per job and its throughput as a
# share of cat's (cat's time / the filter's).
# Usage: bench/filter/colorfilter-bench.sh [build folder] [runs]
set -eu
cd "$(dirname "$0")/../.."
BUILD=${1:-build}
RUNS=${2:-21}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
python3 - "$WORK" <<'PY'
import os, re, sys
ppd = open("PDE/Resources/T48.ppd", encoding="latin-1").read()
defaults = dict(re.findall(r"^\*Default(ZT\w+): (\S+)$", ppd, re.M))
codes = {(o, c): code for o, c, code in re.findall(r'^\*(ZT\w+) (\w+)/[^:]*: "([^"]*)"$', ppd, re.M)}
setup = "".join("[{\n%%BeginFeature: *" + o + " " + c + "\n" + codes[o, c] +
                "\n%%EndFeature\n} stopped cleartomark\n" for o, c in sorted(defaults.items()))
for name, size in (("page", 0), ("1MB", 1 << 20), ("50MB", 50 << 20)):
    head = ("%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\n%%BeginProlog\n%%EndProlog\n"
            "%%BeginSetup\n" + setup + "%%EndSetup\n%%Page: 1 1\n").encode()
    tail = b"\n%%EndData\nshowpage\n%%EOF\n"
    count = max(size - len(head) - len(tail) - 40, 16)
    data = b"%%BeginData: " + str(count).encode() + b" Binary Bytes\n"
    with open(os.path.join(sys.argv[1], name + ".ps"), "wb") as job:
        job.write(head + data + os.urandom(count) + tail)
PY
OPTIONS="ZTQuickColor=Vivid"
export PPD="$PWD/PDE/Resources/T48.ppd"
FILTER="$BUILD/filter/t48-colorfilter"
"$FILTER" 1 user job 1 "$OPTIONS" "$WORK/page.ps" >"$WORK/out" 2>"$WORK/log"
grep -q "ZTImageHalftone /Detail" "$WORK/out" &&
    grep -q "^INFO: t48-colorfilter: ZTImageHalftone asked Smooth, printed Detail" "$WORK/log" ||
    { echo "colorfilter-bench: the filter did not print the preset's choices" >&2; exit 1; }
hyperfine -N --warmup 3 --runs "$RUNS" --output=pipe --export-json "$WORK/times.json" \
    -n "cat page" "cat $WORK/page.ps" \
    -n "t48-colorfilter page" "$FILTER 1 user job 1 $OPTIONS $WORK/page.ps" \
    -n "cat 1MB" "cat $WORK/1MB.ps" \
    -n "t48-colorfilter 1MB" "$FILTER 1 user job 1 $OPTIONS $WORK/1MB.ps" \
    -n "cat 50MB" "cat $WORK/50MB.ps" \
    -n "t48-colorfilter 50MB" "$FILTER 1 user job 1 $OPTIONS $WORK/50MB.ps"
python3 - "$WORK/times.json" <<'PY'
import json, sys
median = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
for size in ("page", "1MB", "50MB"):
    cat, filt = median["cat " + size], median["t48-colorfilter " + size]
    print("%-5s cat %7.2f ms  t48-colorfilter %7.2f ms  %+6.2f ms per job  throughput %.2f x cat's"
          % (size, cat * 1000, filt * 1000, (filt - cat) * 1000, cat / filt))
PY
