#!/usr/bin/env bash
# The duplicate and file-hog finder benchmark on the 200,000-file tree: the window from a click
# on Start to the filled grid against the bare `vastel-scan walk` run just before it, every match
# mode and file hogs, with the window's defaults and with every file collected; a first scan in a
# fresh process and the median of repeated scans; and the peak memory per collected file.
#
# Usage: bench/dups/run.sh [-r RUNS] BUILD_DIR [TREE]
#   BUILD_DIR  a build with vastel-scan, vastel-bench-dup-window and vastel-bench-dup-phases
#   TREE       default /work/benchdata/tree-200k (made by shared/bench/make-tree.sh)
set -euo pipefail
RUNS=5
while getopts "r:h" o; do
  case $o in r) RUNS=$OPTARG;; *) sed -n '2,10p' "$0"; exit 2;; esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,10p' "$0"; exit 2; }
BUILD=$(cd "$1" && pwd)
TREE=${2:-/work/benchdata/tree-200k}
SCAN=$BUILD/bin/vastel-scan
WINDOW=$BUILD/bin/vastel-bench-dup-window
PHASES=$BUILD/bin/vastel-bench-dup-phases
for f in "$SCAN" "$WINDOW" "$PHASES"; do [ -x "$f" ] || { echo "missing $f" >&2; exit 1; }; done
export QT_QPA_PLATFORM=offscreen
quiet() { grep -v -e propagateSizeHints -e XDG_RUNTIME_DIR || true; }

echo "# dups benchmark $(date -u +%FT%TZ), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== the window, median of $RUNS scans in one process"
"$WINDOW" "$SCAN" "$TREE" "$RUNS" 2>&1 | quiet
"$WINDOW" "$SCAN" "$TREE" "$RUNS" --all 2>&1 | quiet
echo
echo "== the window, first scan in a fresh process, every file collected"
for m in 0 1 2 3 4 5 6 -1; do
  "$WINDOW" "$SCAN" "$TREE" 1 --all "$m" 2>&1 | quiet | grep -E '^(hogs|[0-9]) |peak'
done
echo
echo "== the engine phase by phase (fresh process per mode), every file collected"
for m in 0 3 6 -1; do "$PHASES" "$TREE" 1 "$m" | tail -2; done
