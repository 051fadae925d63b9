#!/usr/bin/env bash
# The identical-content mode on the 200,000-file tree against jdupes: `vastel-scan dups --mode 7`
# and `jdupes -r -q -A -0`, hidden files left out by both, warm (the page cache filled by the
# run before) and cold (the page cache dropped before every run), the two tools in alternation.
# Then checks that vastel's groups are exactly the copy sets of the tree's manifest (hidden files
# left out, hard links as further names of their file) and, when jdupes is there, jdupes' groups.
# Goal: at most 0.75 x jdupes' time warm and no slower than jdupes cold.
#
# Usage: bench/dups/content.sh [-r RUNS] [-w] BUILD_DIR [TREE [MANIFEST]]
#   -r RUNS   timed runs of each tool per cache state (default 5)
#   -w        warm runs only (cold runs need root: they write /proc/sys/vm/drop_caches)
#   BUILD_DIR a build with bin/vastel-scan
#   TREE      default /work/benchdata/tree-200k (shared/bench/make-tree.sh); MANIFEST default
#             TREE.manifest.tsv (make-tree.sh --manifest)
set -euo pipefail
RUNS=5
COLD=1
while getopts "r:wh" o; do
  case $o in r) RUNS=$OPTARG ;; w) COLD=0 ;; *) sed -n '2,15p' "$0"; exit 2 ;; esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '2,15p' "$0"; exit 2; }
BUILD=$(cd "$1" && pwd)
TREE=$(cd "${2:-/work/benchdata/tree-200k}" && pwd)
MANIFEST=${3:-$TREE.manifest.tsv}
SCAN=$BUILD/bin/vastel-scan
[ -x "$SCAN" ] || { echo "missing $SCAN" >&2; exit 1; }
[ -f "$MANIFEST" ] || { echo "missing manifest $MANIFEST" >&2; exit 1; }
JDUPES=$(command -v jdupes || true)
if [ "$COLD" = 1 ] && ! [ -w /proc/sys/vm/drop_caches ]; then
  echo "cannot drop the page cache (not root): warm runs only"
  COLD=0
fi
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

# Every file of any size; empty files never group.
vastel() { "$SCAN" dups --mode 7 --larger 1 --unit bytes "$TREE" > "$OUT/vastel.txt"; }
# -A leaves hidden files out, -0 ends names with NUL (the tree has names with newlines).
jdupes_run() { "$JDUPES" -r -q -A -0 "$TREE" > "$OUT/jdupes.txt"; }
drop() { sync; echo 3 > /proc/sys/vm/drop_caches; }

# Seconds of one run of a function, to stdout.
timed() {
  local start=$EPOCHREALTIME
  "$@"
  echo "$EPOCHREALTIME - $start" | bc -l
}
median() { sort -g | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); printf "%.3f", (NR % 2) ? v[m] : (v[m] + v[m + 1]) / 2 }'; }

echo "# content benchmark $(date -u +%FT%TZ) on $TREE, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "# jdupes: ${JDUPES:-not installed} $([ -n "$JDUPES" ] && "$JDUPES" -v 2>/dev/null | head -1)"
tools=(vastel)
[ -n "$JDUPES" ] && tools+=(jdupes_run)

declare -A warm=() cold=()
for t in "${tools[@]}"; do "$t"; done  # fills the cache
for ((i = 0; i < RUNS; i++)); do
  for t in "${tools[@]}"; do warm[$t]+="$(timed "$t") "; done
done
if [ "$COLD" = 1 ]; then
  for ((i = 0; i < RUNS; i++)); do
    for t in "${tools[@]}"; do
      drop
      cold[$t]+="$(timed "$t") "
    done
  done
fi

report() { # label times...
  local label=$1
  shift
  printf '%-8s %-6s median %s s   runs: %s\n' "$label" "$2" "$(tr ' ' '\n' <<< "$1" | grep . | median)" "$1"
}
for t in "${tools[@]}"; do
  report "${t%_run}" "${warm[$t]}" warm
  [ "$COLD" = 1 ] && report "${t%_run}" "${cold[$t]}" cold
done
if [ -n "$JDUPES" ]; then
  for state in warm cold; do
    [ $state = cold ] && [ "$COLD" = 0 ] && continue
    declare -n times=$state
    v=$(tr ' ' '\n' <<< "${times[vastel]}" | grep . | median)
    j=$(tr ' ' '\n' <<< "${times[jdupes_run]}" | grep . | median)
    goal=$([ $state = warm ] && echo 0.75 || echo 1.00)
    printf 'ratio %s: vastel / jdupes = %.3f (goal <= %s)\n' "$state" "$(echo "$v / $j" | bc -l)" "$goal"
  done
fi

# Peers, warm, for the record (their defaults leave hidden files out too; rmlint writes no
# script or JSON here).
PEER_RUNS=${PEER_RUNS:-2}
for peer in rmlint fdupes; do
  command -v $peer > /dev/null || continue
  case $peer in
    rmlint) peer_run() { rmlint -o fdupes:"$OUT/rmlint.txt" -T df "$TREE" > /dev/null 2>&1; } ;;
    fdupes) peer_run() { fdupes -r -q "$TREE" > "$OUT/fdupes.txt" 2>/dev/null; } ;;
  esac
  peer_run
  times=""
  for ((i = 0; i < PEER_RUNS; i++)); do times+="$(timed peer_run) "; done
  p=$(tr ' ' '\n' <<< "$times" | grep . | median)
  v=$(tr ' ' '\n' <<< "${warm[vastel]}" | grep . | median)
  printf '%-8s warm   median %s s   runs: %s   vastel / %s = %.3f\n' $peer "$p" "$times" $peer "$(echo "$v / $p" | bc -l)"
done

echo "== groups"
python3 - "$TREE" "$MANIFEST" "$OUT/vastel.txt" "$([ -n "$JDUPES" ] && echo "$OUT/jdupes.txt")" <<'PYEOF'
import os, sys
from collections import defaultdict

tree, manifest, vastel_out = sys.argv[1].encode(), sys.argv[2], sys.argv[3]
jdupes_out = sys.argv[4] if len(sys.argv) > 4 and sys.argv[4] else None

def unescape(b, manifest_style):
    # vastel-scan: \\ \t \r \n; the manifest also \xNN for bytes that are not UTF-8.
    out = bytearray(); i = 0
    while i < len(b):
        c = b[i]
        if c == 0x5c and i + 1 < len(b):
            n = b[i + 1]
            if n == 0x5c: out.append(0x5c); i += 2; continue
            if n == ord('t'): out.append(9); i += 2; continue
            if n == ord('n'): out.append(10); i += 2; continue
            if n == ord('r') and not manifest_style: out.append(13); i += 2; continue
            if n == ord('x') and manifest_style:
                out.append(int(b[i + 2:i + 4], 16)); i += 4; continue
        out.append(c); i += 1
    return bytes(out)

def hidden(rel):
    return any(part.startswith(b'.') for part in rel.split(b'/'))

# The manifest's copy sets: files of one size and content id (empty files never), two or more
# of them visible; the names of hard links join the set of the file they name.
rows = []
with open(manifest, 'rb') as m:
    next(m)
    for line in m:
        kind, size, _, content, path = line.rstrip(b'\n').split(b'\t')
        rows.append((kind.decode(), int(size), content, unescape(path, True)))
sets = defaultdict(list)
key_of_path = {}
for kind, size, content, rel in rows:
    if kind.startswith('symlink') or kind == 'hardlink' or size == 0:
        continue
    key_of_path[rel] = (size, content)
    if not hidden(rel):
        sets[(size, content)].append(rel)
links = defaultdict(list)
for kind, size, content, rel in rows:
    if kind == 'hardlink' and not hidden(rel):
        target = unescape(content[1:], True)
        if target in key_of_path:
            links[key_of_path[target]].append(rel)
expected = set()
for key, names in sets.items():
    if len(names) >= 2:
        expected.add(frozenset(names + links[key]))

# vastel-scan dups --mode 7: groups between empty lines, the path in field 8, hard links after.
got = set(); current = []
prefix = tree.rstrip(b'/') + b'/'
with open(vastel_out, 'rb') as v:
    for line in v.read().split(b'\n') + [b'']:
        if not line:
            if current: got.add(frozenset(current))
            current = []
            continue
        fields = line.split(b'\t')
        for f in fields[7:]:
            p = unescape(f, False)
            assert p.startswith(prefix), p
            current.append(p[len(prefix):])

def show(groups, n=5):
    for g in list(groups)[:n]:
        print('   ', sorted(x.decode('utf-8', 'backslashreplace') for x in g))

ok = True
files = sum(len(g) for g in got)
print('vastel: %d groups, %d names; manifest: %d groups, %d names' %
      (len(got), files, len(expected), sum(len(g) for g in expected)))
if got == expected:
    print('vastel = manifest: equal')
else:
    ok = False
    print('vastel = manifest: DIFFERENT, %d groups only in vastel, %d only in the manifest' %
          (len(got - expected), len(expected - got)))
    print('  only in vastel:'); show(got - expected)
    print('  only in the manifest:'); show(expected - got)

if jdupes_out:
    # jdupes: groups end with an extra NUL. Compared as sets of files (device, inode), which
    # is what both tools group: hard links are one file to both, listed or not.
    def inodes(paths):
        ids = set()
        for p in paths:
            st = os.lstat(p)
            ids.add((st.st_dev, st.st_ino))
        return frozenset(ids)
    jd = set()
    with open(jdupes_out, 'rb') as j:
        for block in j.read().split(b'\0\0'):
            paths = [p for p in block.split(b'\0') if p]
            # Left out as vastel leaves them out, whatever jdupes' -A does with hidden folders.
            paths = [p for p in paths if not hidden(p[len(prefix):]) and not os.path.islink(p)]
            ids = inodes(paths)
            if len(ids) >= 2: jd.add(ids)
    mine = set(inodes(prefix + p for p in g) for g in got)
    print('jdupes: %d groups' % len(jd))
    if mine == jd:
        print('vastel = jdupes (as files): equal')
    else:
        ok = False
        print('vastel = jdupes (as files): DIFFERENT, %d only in vastel, %d only in jdupes' %
              (len(mine - jd), len(jd - mine)))
sys.exit(0 if ok else 1)
PYEOF
