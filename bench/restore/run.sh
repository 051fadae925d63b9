#!/bin/bash
# Restores an archive of ~1 GB and 1,500 files with vastel-bench-restore and with
# `unzip -o -q`, each into an empty folder, in alternation; prints both times and the ratio.
# Usage: bench/restore/run.sh BUILD_DIR WORK_DIR [ROUNDS]
set -euo pipefail
bin=$1/bin/vastel-bench-restore
work=$2
rounds=${3:-3}
mkdir -p "$work"
archive=$work/Drive-R-Bench.zip
[ -f "$archive" ] || "$bin" make "$archive" 1500 1024
ls -l "$archive"
for i in $(seq "$rounds"); do
  rm -rf "$work/ours" "$work/unzip"; mkdir "$work/ours" "$work/unzip"; sync
  ours=$( { /usr/bin/time -f %e "$bin" restore "$archive" "$work/ours" >/dev/null; } 2>&1 )
  rm -rf "$work/ours"; sync
  theirs=$( { /usr/bin/time -f %e unzip -o -q "$archive" -d "$work/unzip"; } 2>&1 )
  rm -rf "$work/unzip"; sync
  echo "round $i: vastel $ours s, unzip $theirs s, ratio $(echo "scale=2; $ours / $theirs" | bc) (load $(cut -d' ' -f1 /proc/loadavg))"
done
