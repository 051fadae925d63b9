#!/usr/bin/env bash
# The folder-hog scans on the 200,000-file tree with a cold cache: before each run the page,
# dentry and inode caches are dropped (needs root), then `vastel-scan dirhogs --all` and
# `--main` alternate with gdu -n -p -c (which walks in parallel) and du -s.
#
# Usage: bench/dirhogs/cold.sh [-r RUNS] BUILD_DIR [TREE]
#   BUILD_DIR  a build with vastel-scan
#   TREE       default /work/benchdata/tree-200k (made by shared/bench/make-tree.sh)
# Dropping the caches slows every other program on the machine for a while.
set -euo pipefail
RUNS=3
while getopts "r:h" o; do
  case $o in r) RUNS=$OPTARG;; *) sed -n '2,9p' "$0"; exit 2;; esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,9p' "$0"; exit 2; }
[ "$(id -u)" = 0 ] || { echo "cold.sh: dropping the caches needs root" >&2; exit 1; }
BUILD=$(cd "$1" && pwd)
TREE=${2:-/work/benchdata/tree-200k}
SCAN=$BUILD/bin/vastel-scan
[ -x "$SCAN" ] || { echo "missing $SCAN" >&2; exit 1; }

cold() {
  local t0 t1
  sync
  echo 3 > /proc/sys/vm/drop_caches
  t0=$(date +%s%N)
  "$@" > /dev/null 2>&1
  t1=$(date +%s%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

names=(all main gdu du)
declare -A cmds=(
  [all]="$SCAN dirhogs --all $TREE"
  [main]="$SCAN dirhogs --main $TREE"
  [gdu]="gdu -n -p -c $TREE"
  [du]="du -s $TREE"
)
command -v gdu > /dev/null || { echo "gdu not installed: skipped"; names=(all main du); }
echo "# cold dirhogs benchmark $(date -u +%FT%TZ), $RUNS rounds, load $(cut -d' ' -f1-3 /proc/loadavg)"
declare -A times
for ((i = 0; i < RUNS; i++)); do
  # Each round in another order, so that no command always follows the same one.
  order=("${names[@]:i % ${#names[@]}}" "${names[@]:0:i % ${#names[@]}}")
  for n in "${order[@]}"; do
    # shellcheck disable=SC2086
    times[$n]+="$(cold ${cmds[$n]}) "
  done
  echo "round $((i + 1)): load $(cut -d' ' -f1-3 /proc/loadavg)"
done
for n in "${names[@]}"; do
  printf '%-5s median %6.3f s   (%s)\n' "$n" "$(printf '%s\n' ${times[$n]} | median)" "${times[$n]% }"
done
for ours in all main; do
  for ref in gdu du; do
    [ -n "${times[$ref]:-}" ] || continue
    ratio=$(paste <(printf '%s\n' ${times[$ours]}) <(printf '%s\n' ${times[$ref]}) |
            awk '{ print $1 / $2 }' | median)
    printf 'dirhogs --%-4s / %-3s  ratio (median of rounds) %.3f\n' "$ours" "$ref" "$ratio"
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
