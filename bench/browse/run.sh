#!/usr/bin/env bash
# The browser benchmark: a folder of 100,000 files listed, sorted and painted, against `ls -l`
# of the same folder in alternation, and the folder tree's load of 20,000 sub-folders.
#
# Usage: bench/browse/run.sh BUILD_DIR SCRATCH [RUNS]
#   BUILD_DIR  a build with the target vastel-bench-browse
#   SCRATCH    a folder on a volume of your own (a loop volume): the fixture is made there once
set -euo pipefail
[ $# -ge 2 ] || { sed -n '2,8p' "$0"; exit 2; }
BENCH=$(cd "$1" && pwd)/bin/vastel-bench-browse
SCRATCH=$2
RUNS=${3:-7}
FILES=$SCRATCH/files-100k
FOLDERS=$SCRATCH/folders-20k
if [ ! -d "$FILES" ]; then
  python3 - "$FILES" "$FOLDERS" <<'PY'
import os, sys, random
random.seed(1)
files, folders = sys.argv[1], sys.argv[2]
os.makedirs(files)
ext = ['.txt', '.jpg', '.pdf', '.doc', '.mp3', '.zip', '.png', '']
for i in range(100_000):
    p = os.path.join(files, 'file%06d_%d%s' % (random.randrange(10**6), i, random.choice(ext)))
    with open(p, 'wb') as f:
        f.truncate(random.randrange(1_000_000))
    t = 1_400_000_000 + random.randrange(300_000_000)
    os.utime(p, (t, t))
for i in range(20_000):
    os.makedirs(os.path.join(folders, 'folder%05d' % i))
PY
fi
export XDG_CONFIG_HOME=$(mktemp -d) XDG_DATA_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"' EXIT
echo "# browser benchmark $(date -u +%FT%TZ), load $(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$BENCH" "$FILES" "$RUNS" "$FOLDERS"
