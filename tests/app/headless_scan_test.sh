#!/usr/bin/env bash
# vastel-scan runs where no display stack is installed, and starts faster for it: no GUI library
# may be among its own NEEDED entries, among those of the libraries it pulls in (ldd), or among
# the files the loader opens when it runs.
# Usage: headless_scan_test.sh VASTEL_SCAN
set -euo pipefail
scan=$1
gui='libQt6(Gui|Widgets|PrintSupport|Charts|OpenGL|XcbQpa|WaylandClient)|libGLX?\.|libEGL|libX11|libxcb|libwayland|libxkbcommon|libfontconfig|libfreetype'
failed=0
check() {  # check WHAT LIBRARY-NAMES
    local found
    found=$(grep -E "$gui" <<<"$2" || true)
    if [ -n "$found" ]; then
        echo "FAIL: $1 names a GUI library:" >&2
        echo "$found" >&2
        failed=1
    fi
}

needed=$(readelf -d "$scan" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
# The parse must see the libraries that are there, or every check below passes vacuously.
grep -q '^libQt6Core\.so' <<<"$needed" || { echo "FAIL: no libQt6Core among NEEDED: $needed" >&2; exit 1; }
check "readelf -d (NEEDED)" "$needed"
check "ldd" "$(ldd "$scan")"

loaded=$(LD_DEBUG=files "$scan" help 2>&1 >/dev/null | sed -n 's/.*file=\([^ ]*\).*/\1/p' | sort -u)
grep -q 'libQt6Core\.so' <<<"$loaded" || { echo "FAIL: LD_DEBUG showed no libQt6Core: $loaded" >&2; exit 1; }
check "the libraries loaded by 'vastel-scan help'" "$loaded"
exit $failed
