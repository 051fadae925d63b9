#!/usr/bin/env bash
# Runs vastel-scan commands in alternation with `vastel-scan walk` on a tree and prints, per
# command, the median over the rounds of its time divided by the walk's (wall and CPU).
# Usage: alternate.sh [-n ROUNDS] [-r RUNS] VASTEL_SCAN TREE NAME=ARGS...
#   ARGS are the command's arguments with {TREE} for the tree (split at blanks).
set -euo pipefail
ROUNDS=5; RUNS=5
while getopts "n:r:" o; do case $o in n) ROUNDS=$OPTARG;; r) RUNS=$OPTARG;; *) exit 2;; esac; done
shift $((OPTIND - 1))
SCAN=$1; TREE=$2; shift 2
OUT=$(mktemp -d /tmp/alternate.XXXXXX)
trap 'rm -rf "$OUT"' EXIT
echo "# $(date -u +%FT%TZ) on $TREE, $ROUNDS rounds of $RUNS runs each, walk first"
for k in $(seq "$ROUNDS"); do
  echo "== round $k, load $(cut -d' ' -f1-3 /proc/loadavg)"
  hyperfine -N -w 1 -r "$RUNS" --export-json "$OUT/walk-$k.json" "$SCAN walk $TREE" >/dev/null
  for entry in "$@"; do
    name=${entry%%=*}; args=${entry#*=}
    hyperfine -N -w 1 -r "$RUNS" --export-json "$OUT/$name-$k.json" \
      "$SCAN ${args//\{TREE\}/$TREE}" >/dev/null
  done
done
python3 - "$OUT" "$@" <<'PY'
import json, statistics, sys, glob, os
out = sys.argv[1]
names = [s.split('=', 1)[0] for s in sys.argv[2:]]
def load(name, k):
    x = json.load(open(os.path.join(out, '%s-%d.json' % (name, k))))['results'][0]
    return statistics.median(x['times']), x['user'] + x['system']
rounds = len(glob.glob(os.path.join(out, 'walk-*.json')))
w = [load('walk', k) for k in range(1, rounds + 1)]
print('walk: median wall %.3f s' % statistics.median(t for t, _ in w))
for n in names:
    r = [load(n, k) for k in range(1, rounds + 1)]
    wall = statistics.median(a[0] / b[0] for a, b in zip(r, w))
    cpu = statistics.median(a[1] / b[1] for a, b in zip(r, w))
    print('%-12s / walk   wall %.2f   CPU %.2f   (median wall %.3f s)' %
          (n, wall, cpu, statistics.median(t for t, _ in r)))
PY
