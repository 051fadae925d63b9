#!/usr/bin/env bash
# The walk benchmark: `vastel-scan walk` against find, du and a bare getdents64 + statx walk,
# warm cache, with the median ratios over several rounds of peers.sh; its peak memory on the
# whole tree and on a small part of it; and the walk inside a window against the headless one.
#
# Usage: bench/walk/run.sh [-n ROUNDS] [-r RUNS] BUILD_DIR [TREE]
#   BUILD_DIR  a build with the targets vastel-scan, vastel-bench-bare-walk and
#              vastel-bench-walk-window (cmake --build BUILD_DIR --target ...)
#   TREE       default /work/benchdata/tree-200k (made by shared/bench/make-tree.sh)
#   -n ROUNDS  rounds of peers.sh (default 3); -r RUNS hyperfine runs per tool (default 10)
# Needs hyperfine and python3; the tree is only read.
set -euo pipefail
ROUNDS=3; RUNS=10
while getopts "n:r:h" o; do
  case $o in n) ROUNDS=$OPTARG;; r) RUNS=$OPTARG;; *) sed -n '2,12p' "$0"; exit 2;; esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,12p' "$0"; exit 2; }
BUILD=$(cd "$1" && pwd)
TREE=${2:-/work/benchdata/tree-200k}
HERE=$(cd "$(dirname "$0")" && pwd)
PEERS=${PEERS:-$HERE/../../../shared/bench/peers.sh}
SCAN=$BUILD/bin/vastel-scan
BARE=$BUILD/bin/vastel-bench-bare-walk
WINDOW=$BUILD/bin/vastel-bench-walk-window
for f in "$SCAN" "$BARE" "$WINDOW" "$PEERS"; do [ -x "$f" ] || { echo "missing $f" >&2; exit 1; }; done
OUT=$(mktemp -d /tmp/walk-bench.XXXXXX)
trap 'rm -rf "$OUT"' EXIT

echo "# walk benchmark $(date -u +%FT%TZ) on $TREE, $ROUNDS rounds of $RUNS runs"
for k in $(seq "$ROUNDS"); do
  echo "== round $k, load $(cut -d' ' -f1-3 /proc/loadavg)"
  "$PEERS" -D -r "$RUNS" -o "$OUT/round$k" \
    -x "walk=$SCAN walk {TREE}" -x "bare=$BARE {TREE}" "$TREE" | grep -E '^\|' || true
done

python3 - "$OUT" <<'PY'
import glob, json, os, statistics, sys
out = sys.argv[1]
rounds = []
for d in sorted(glob.glob(os.path.join(out, 'round*'))):
    r = {}
    for f in glob.glob(os.path.join(d, '*.json')):
        x = json.load(open(f))['results'][0]
        r[x['command']] = (statistics.median(x['times']), x['user'] + x['system'])
    rounds.append(r)
def ratio(a, b, i):
    vals = [r[a][i] / r[b][i] for r in rounds if a in r and b in r]
    return statistics.median(vals) if vals else float('nan')
print('\nmedian ratios over %d rounds (wall time of medians; CPU = user + system of means)' % len(rounds))
for peer in ('find -printf %s %p', 'du -s', 'bare'):
    print('  walk / %-20s wall %.2f   CPU %.2f' % (peer, ratio('walk', peer, 0), ratio('walk', peer, 1)))
PY

echo
echo "peak memory (max RSS) of vastel-scan walk:"
SUB=$(find "$TREE" -mindepth 1 -maxdepth 1 -type d ! -name '.*' | head -1)
for t in "$TREE" "$SUB"; do
  n=$("$SCAN" walk "$t" | wc -l)
  kb=$( { /usr/bin/time -f '%M' "$SCAN" walk "$t" > /dev/null; } 2>&1 | tail -1)
  printf '  %8d files  %6d KiB  %s\n' "$n" "$kb" "$t"
done

echo
echo "the walk inside a window (offscreen):"
QT_QPA_PLATFORM=offscreen "$WINDOW" "$TREE" 5 2>/dev/null
