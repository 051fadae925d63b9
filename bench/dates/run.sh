#!/usr/bin/env bash
# The files-by-date benchmark on the 200,000-file tree, warm cache: `vastel-scan dates` against
# `vastel-scan walk`, in alternating rounds, with every file listed (the worst case: twice the
# walk's output), a year of files and none; then the window from Start to the painted grid
# against the walk, every file listed and a year of them.
#
# Usage: bench/dates/run.sh [-n ROUNDS] [-r RUNS] BUILD_DIR [TREE]
#   BUILD_DIR  a build with vastel-scan and vastel-bench-dates-window
#   TREE       default /work/benchdata/tree-200k (made by shared/bench/make-tree.sh)
# Needs hyperfine and python3; the tree is only read.
set -euo pipefail
ROUNDS=5; RUNS=5
while getopts "n:r:h" o; do
  case $o in n) ROUNDS=$OPTARG;; r) RUNS=$OPTARG;; *) sed -n '2,11p' "$0"; exit 2;; esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,11p' "$0"; exit 2; }
BUILD=$(cd "$1" && pwd)
TREE=${2:-/work/benchdata/tree-200k}
HERE=$(cd "$(dirname "$0")" && pwd)
SCAN=$BUILD/bin/vastel-scan
"$HERE/alternate.sh" -n "$ROUNDS" -r "$RUNS" "$SCAN" "$TREE" \
  "every-file=dates --what modified --when before --start 2100-01-01 {TREE}" \
  "a-year=dates --what modified --when between --start 2023-01-01 --end 2023-12-31 {TREE}" \
  "none=dates --what created --when before --start 1990-01-01 {TREE}"
echo
for args in "0 2100-01-01" "1 2023-01-01 2023-12-31"; do
  # shellcheck disable=SC2086
  QT_QPA_PLATFORM=offscreen "$BUILD/bin/vastel-bench-dates-window" "$SCAN" "$TREE" "$RUNS" $args \
    2>&1 | grep -v -e propagateSizeHints -e XDG_RUNTIME_DIR || true
done
