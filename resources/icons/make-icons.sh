#!/usr/bin/env bash
# Renders the committed PNG icons from the SVG sources, so that building needs no SVG converter.
# Run it after changing either SVG, then commit the PNGs. Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"

app_id=com.tessivo.Vastel
scalable=hicolor/scalable/apps/$app_id.svg
# The full drawing turns to mush below 32 px; the small sizes come from a simplified redraw.
small=src/$app_id-small.svg

command -v rsvg-convert >/dev/null || { echo "make-icons.sh: rsvg-convert not found (apt-get install librsvg2-bin)" >&2; exit 1; }

for size in 16 22 24 32 48 64 128 256; do
    source=$scalable
    if ((size < 32)); then source=$small; fi
    out=hicolor/${size}x${size}/apps/$app_id.png
    mkdir -p "$(dirname "$out")"
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio "$source" --output "$out"
    echo "$out"
done
