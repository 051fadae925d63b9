#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and runs what was installed, not the build tree:
# vastel-scan walks a small tree, vastel starts to its launcher offscreen and under Xvfb, and its
# Help button opens the help page of the install prefix.
# Usage: installed_program_test.sh BUILD_DIR PREFIX
set -euo pipefail
build=$1
prefix=$2
# The sandbox folders ctest names in the environment exist only once someone makes them.
for d in "${HOME:-}" "${TMPDIR:-}" "${XDG_CONFIG_HOME:-}" "${XDG_DATA_HOME:-}" "${XDG_CACHE_HOME:-}"; do
    [ -z "$d" ] || mkdir -p "$d"
done
[ -z "${XDG_RUNTIME_DIR:-}" ] || { mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"; }
work=$(mktemp -d "${TMPDIR:-/tmp}/installed.XXXXXX")
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

dest=$work/dest
DESTDIR=$dest cmake --install "$build" > "$work/install.log" || fail "cmake --install: $(cat "$work/install.log")"
root=$dest$prefix
for f in bin/vastel bin/vastel-scan share/vastel/vastel30.html \
         share/applications/com.tessivo.Vastel.desktop share/metainfo/com.tessivo.Vastel.metainfo.xml \
         share/icons/hicolor/scalable/apps/com.tessivo.Vastel.svg \
         share/icons/hicolor/48x48/apps/com.tessivo.Vastel.png; do
    [ -e "$root/$f" ] || fail "not installed: $prefix/$f"
done
# The help page is found from the prefix, not beside the program.
[ ! -e "$root/bin/vastel30.html" ] || fail "help page installed beside the program"

# The installed vastel-scan walks a small tree: files in walk order, exact sizes.
tree=$work/tree
mkdir -p "$tree/a/b"
printf 'hi\n' > "$tree/a/x.txt"
printf 'hello\n' > "$tree/a/b/y.doc"
"$root/bin/vastel-scan" walk "$tree" | cut -f1,2 > "$work/walk.txt"
printf '%s\t6\n%s\t3\n' "$tree/a/b/y.doc" "$tree/a/x.txt" > "$work/walk.expected"
diff -u "$work/walk.expected" "$work/walk.txt" || fail "installed vastel-scan walk"

# Offscreen: the program comes up and stays up without complaints on stderr.
QT_QPA_PLATFORM=offscreen "$root/bin/vastel" > "$work/offscreen.out" 2> "$work/offscreen.err" &
pid=$!
sleep 3
kill -0 $pid 2> /dev/null || fail "vastel exited offscreen: $(cat "$work/offscreen.err")"
kill $pid
wait $pid 2> /dev/null || true
[ ! -s "$work/offscreen.err" ] || fail "vastel complained offscreen: $(cat "$work/offscreen.err")"

# Under Xvfb: the launcher window appears, and "H&elp" hands the installed page to xdg-open
# (a stand-in that records what it was given).
mkdir -p "$work/fakebin"
cat > "$work/fakebin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$1" > "$work/opened"
EOF
chmod +x "$work/fakebin/xdg-open"
cat > "$work/x-session.sh" <<EOF
#!/usr/bin/env bash
set -e
PATH="$work/fakebin:\$PATH" QT_QPA_PLATFORM=xcb "$root/bin/vastel" 2> "$work/xcb.err" &
win=\$(timeout 20 xdotool search --sync --name '^Vastel 99 Version' | head -1)
[ -n "\$win" ] || { echo "no launcher window"; exit 1; }
xdotool windowfocus --sync "\$win"
for i in \$(seq 50); do
    [ -s "$work/opened" ] && break
    xdotool key --window "\$win" alt+e
    sleep 0.2
done
kill %1
EOF
chmod +x "$work/x-session.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/x-session.sh" || fail "launcher under Xvfb: $(cat "$work/xcb.err" 2>/dev/null)"
opened=$(cat "$work/opened" 2> /dev/null || true)
[ "$opened" = "file://$root/share/vastel/vastel30.html" ] || fail "help opened '$opened'"
echo "installed program passed"
