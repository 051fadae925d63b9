#!/usr/bin/env bash
# The statistics benchmark, warm cache: `vastel-scan stats` against `vastel-scan walk` in
# alternation (median ratio of elapsed times), then the run inside the window against the walk.
#
# Usage: bench/stats/run.sh [-n ROUNDS] BUILD_DIR [TREE]
#   TREE defaults to /work/benchdata/tree-200k; it is only read.
set -euo pipefail
ROUNDS=7
while getopts "n:h" o; do
  case $o in n) ROUNDS=$OPTARG;; *) sed -n '2,7p' "$0"; exit 2;; esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,7p' "$0"; exit 2; }
BUILD=$(cd "$1" && pwd)
TREE=${2:-/work/benchdata/tree-200k}
SCAN=$BUILD/bin/vastel-scan
WINDOW=$BUILD/bin/vastel-bench-stats-window
for f in "$SCAN" "$WINDOW"; do [ -x "$f" ] || { echo "missing $f" >&2; exit 1; }; done

elapsed() { local s e; s=$(date +%s%N); "$@" >/dev/null; e=$(date +%s%N); echo $(( (e - s) / 1000 )); }

echo "# statistics benchmark $(date -u +%FT%TZ) on $TREE, $ROUNDS rounds"
"$SCAN" walk "$TREE" >/dev/null; "$SCAN" stats "$TREE" >/dev/null  # warm the cache
ratios=()
for k in $(seq "$ROUNDS"); do
  if (( k % 2 )); then w=$(elapsed "$SCAN" walk "$TREE"); s=$(elapsed "$SCAN" stats "$TREE")
  else s=$(elapsed "$SCAN" stats "$TREE"); w=$(elapsed "$SCAN" walk "$TREE"); fi
  r=$(python3 -c "print(f'{$s/$w:.3f}')")
  ratios+=("$r")
  echo "round $k: walk $((w / 1000)) ms, stats $((s / 1000)) ms, ratio $r, load $(cut -d' ' -f1-3 /proc/loadavg)"
done
python3 -c "import statistics,sys; print('vastel-scan stats / walk: median ratio', statistics.median(map(float, sys.argv[1:])))" "${ratios[@]}"
echo "== in the window"
QT_QPA_PLATFORM=offscreen "$WINDOW" "$TREE" "$ROUNDS"
