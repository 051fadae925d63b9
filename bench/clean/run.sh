#!/usr/bin/env bash
# The quick-clean benchmark on the 200,000-file tree, warm cache: `vastel-scan temp` (built-in
# types, and two types) against `vastel-scan walk`, in alternating rounds, with the median
# ratios of wall and CPU time; then the window from Start to the painted grid against the walk.
#
# Usage: bench/clean/run.sh [-n ROUNDS] [-r RUNS] BUILD_DIR [TREE]
#   BUILD_DIR  a build with vastel-scan and vastel-bench-clean-window
#   TREE       default /work/benchdata/tree-200k (made by shared/bench/make-tree.sh)
# Needs hyperfine and python3; the tree is only read.
set -euo pipefail
ROUNDS=5; RUNS=5
while getopts "n:r:h" o; do
  case $o in n) ROUNDS=$OPTARG;; r) RUNS=$OPTARG;; *) sed -n '2,10p' "$0"; exit 2;; esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,10p' "$0"; exit 2; }
BUILD=$(cd "$1" && pwd)
TREE=${2:-/work/benchdata/tree-200k}
HERE=$(cd "$(dirname "$0")" && pwd)
SCAN=$BUILD/bin/vastel-scan
"$HERE/../dates/alternate.sh" -n "$ROUNDS" -r "$RUNS" "$SCAN" "$TREE" \
  "temp=temp {TREE}" "temp-2=temp --types *.tmp;*.bak {TREE}"
echo
QT_QPA_PLATFORM=offscreen "$BUILD/bin/vastel-bench-clean-window" "$SCAN" "$TREE" "$RUNS" 2>&1 |
  grep -v -e propagateSizeHints -e XDG_RUNTIME_DIR || true
