#!/usr/bin/env bash
# How the finders grow with the number of files: the walk, file hogs with every file collected,
# duplicates by size with every file collected, and identical content, on two trees (by default
# the 200,000-file tree and the 1,000,000-file tree of make-tree.sh -n 1000000 --size-scale 0.01),
# warm cache, each the best of RUNS. Prints wall time, peak memory, the memory per collected
# file over an empty run's, and the growth from the first tree to the second.
#
# Usage: bench/dups/scale.sh [-r RUNS] BUILD_DIR [SMALL_TREE LARGE_TREE]
set -euo pipefail
RUNS=3
while getopts "r:h" o; do
  case $o in r) RUNS=$OPTARG;; *) sed -n '2,9p' "$0"; exit 2;; esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,9p' "$0"; exit 2; }
SCAN=$(cd "$1" && pwd)/bin/vastel-scan
SMALL=${2:-/work/benchdata/tree-200k}
LARGE=${3:-/work/benchdata/tree-1m}
[ -x "$SCAN" ] || { echo "missing $SCAN" >&2; exit 1; }
EMPTY=$(mktemp -d); trap 'rm -rf "$EMPTY"' EXIT

# best wall time and the largest peak RSS (KiB) of RUNS runs: "SECONDS KIB"
measure() {
  local best="" peak=0 out
  for _ in $(seq "$RUNS"); do
    out=$( { /usr/bin/time -f "%e %M" "$SCAN" "$@" > /dev/null; } 2>&1 | tail -1)
    local t=${out% *} m=${out#* }
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    [ "$m" -gt "$peak" ] && peak=$m
  done
  echo "$best $peak"
}

declare -A KIND=(
  [walk]="walk"
  [hogs]="hogs --larger 0 --unit bytes"
  [size]="dups --mode 3 --larger 0 --unit bytes"
  [content]="dups --mode 7 --larger 0 --unit bytes"
)
echo "# scale benchmark $(date -u +%FT%TZ), load $(cut -d' ' -f1-3 /proc/loadavg), best of $RUNS"
printf "%-8s %10s %8s %9s %9s   %10s %8s %9s %9s   %6s %6s\n" what files s MiB B/file \
  files s MiB B/file time× mem×
for what in walk hogs size content; do
  read -r -a args <<< "${KIND[$what]}"
  line=()
  for tree in "$SMALL" "$LARGE"; do
    files=$(find "$tree" -type f -not -path '*/.*' | wc -l)
    read -r base_t base_m <<< "$(measure "${args[@]}" "$EMPTY")"
    read -r t m <<< "$(measure "${args[@]}" "$tree")"
    per=$(awk "BEGIN{printf \"%.0f\", ($m - $base_m) * 1024 / $files}")
    line+=("$files" "$t" "$(awk "BEGIN{printf \"%.1f\", $m/1024}")" "$per")
  done
  printf "%-8s %10s %8s %9s %9s   %10s %8s %9s %9s   %6.2f %6.2f\n" "$what" "${line[@]}" \
    "$(awk "BEGIN{print ${line[5]}/${line[1]}}")" "$(awk "BEGIN{print ${line[6]}/${line[2]}}")"
done
