#!/bin/sh
# Whole-process time of one dialog session: pdehost over the sample PPD, "show".
# Prints hyperfine's summary; the median is in the exported JSON.
# Usage: bench/panel/pdehost-time.sh [build folder] [runs]
set -eu
cd "$(dirname "$0")/../.."
BUILD=${1:-build}
RUNS=${2:-100}
OUT=$(mktemp)
trap 'rm -f "$OUT"' EXIT
hyperfine -N --warmup 5 --runs "$RUNS" --export-json "$OUT" --output=null \
    "$BUILD/host/pdehost --ppd PDE/Resources/T48.ppd show"
python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"][0]; print("median %.2f ms over %d runs" % (r["median"]*1000, len(r["times"])))' "$OUT"
