#!/usr/bin/env bash
# The folder-hog scans on the 200,000-file tree, warm cache, in alternation with du -s,
# ncdu -0 -x -o /dev/null and gdu -n -p -c (Debian packages ncdu and gdu); then the window from
# a click to the painted grid against the headless scan.
#
# Usage: bench/dirhogs/run.sh [-r RUNS] BUILD_DIR [TREE]
#   BUILD_DIR  a build with vastel-scan and vastel-bench-dirhog-window
#   TREE       default /work/benchdata/tree-200k (made by shared/bench/make-tree.sh)
set -euo pipefail
RUNS=7
while getopts "r:h" o; do
  case $o in r) RUNS=$OPTARG;; *) sed -n '2,9p' "$0"; exit 2;; esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,9p' "$0"; exit 2; }
BUILD=$(cd "$1" && pwd)
TREE=${2:-/work/benchdata/tree-200k}
SCAN=$BUILD/bin/vastel-scan
WINDOW=$BUILD/bin/vastel-bench-dirhog-window
for f in "$SCAN" "$WINDOW"; do [ -x "$f" ] || { echo "missing $f" >&2; exit 1; }; done

# Wall-clock seconds of one command, its output thrown away.
seconds() {
  local t0 t1
  t0=$(date +%s%N)
  "$@" > /dev/null 2>&1
  t1=$(date +%s%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "# dirhogs benchmark $(date -u +%FT%TZ), $RUNS rounds, load $(cut -d' ' -f1-3 /proc/loadavg)"
# Warm the cache.
du -s "$TREE" > /dev/null
"$SCAN" dirhogs --all "$TREE" > /dev/null

declare -A times
refs=(du ncdu gdu)
have() { command -v "$1" > /dev/null; }
for kind in all main; do
  for ref in "${refs[@]}"; do
    have "$ref" || { echo "$ref not installed: skipped"; continue; }
    ours=() theirs=()
    for ((i = 0; i < RUNS; i++)); do
      case $ref in
        du) cmd=(du -s "$TREE");;
        ncdu) cmd=(ncdu -0 -x -o /dev/null "$TREE");;
        gdu) cmd=(gdu -n -p -c "$TREE");;
      esac
      # Alternate which side goes first.
      if ((i % 2)); then
        b=$(seconds "${cmd[@]}"); a=$(seconds "$SCAN" dirhogs --"$kind" "$TREE")
      else
        a=$(seconds "$SCAN" dirhogs --"$kind" "$TREE"); b=$(seconds "${cmd[@]}")
      fi
      ours+=("$a") theirs+=("$b")
    done
    ma=$(printf '%s\n' "${ours[@]}" | median)
    mb=$(printf '%s\n' "${theirs[@]}" | median)
    ratio=$(printf '%s\n' "${ours[@]}" | paste - <(printf '%s\n' "${theirs[@]}") |
            awk '{ print $1 / $2 }' | median)
    printf 'dirhogs --%-4s %6.3f s   %-4s %6.3f s   ratio (median of pairs) %.3f\n' \
      "$kind" "$ma" "$ref" "$mb" "$ratio"
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "== peak memory (KB)"
for kind in all main; do
  /usr/bin/time -f "dirhogs --$kind %M" "$SCAN" dirhogs --"$kind" "$TREE" > /dev/null
done
echo
echo "== the window"
CONFIG=$(mktemp -d)
trap 'rm -rf "$CONFIG"' EXIT
XDG_CONFIG_HOME=$CONFIG XDG_DATA_HOME=$CONFIG/data QT_QPA_PLATFORM=offscreen \
  "$WINDOW" "$TREE" "$RUNS" 2>&1 | grep -v -e propagateSizeHints -e XDG_RUNTIME_DIR || true
