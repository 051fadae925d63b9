#!/usr/bin/env bash
# The layer check passes on src/ and fails on small trees with an include that runs up a layer.
# Usage: check_layers_test.sh REPO_ROOT QTCORE_INCLUDE_DIR
set -uo pipefail
repo=$1
qtcore=$2
check=$repo/tools/check-layers
work=$(mktemp -d "${TMPDIR:-/tmp}/check-layers.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
expect() {  # expect CODE NAME TEXT: the last run's exit code and a line of its output
    if [ "$code" -ne "$1" ] || ! grep -qF -- "$3" "$work/out"; then
        echo "FAIL: $2 (exit $code, expected $1 with '$3'):"
        cat "$work/out"
        failures=$((failures + 1))
    fi
}
run() { "$check" "$1" "$qtcore" > "$work/out" 2>&1; code=$?; }

run "$repo/src"
expect 0 "the project" "none runs up a layer"

tree() {  # tree NAME FILE:INCLUDE...
    local dir=$work/$1
    shift
    mkdir -p "$dir"
    for entry in "$@"; do
        local file=${entry%%:*} include=${entry#*:}
        mkdir -p "$dir/$(dirname "$file")"
        printf '#pragma once\n#include %s\n' "$include" > "$dir/$file"
    done
    echo "$dir"
}
run "$(tree up core/Walk.h:'"results/Grid.h"' results/Grid.h:'"core/Walk.h"')"
expect 1 "an engine including a window" "core/Walk.h (core) includes results/Grid.h (window)"
run "$(tree app finders/TfrmFind.h:'"app/Main.h"' app/Main.h:'"finders/TfrmFind.h"')"
expect 1 "a window including app/" "finders/TfrmFind.h (window) includes app/Main.h (app)"
run "$(tree gui removal/Loop.cpp:'<QWidget>')"
expect 1 "an engine including a widget header" "removal/Loop.cpp (feature engine) includes <QWidget> of QtWidgets"
run "$(tree fine platform/A.h:'<QString>' core/B.h:'"platform/A.h"' removal/ui/C.h:'<QDialog>' \
       widgets/D.h:'"removal/ui/C.h"')"
expect 0 "downward includes and widgets in windows" "none runs up a layer"
run "$(tree stray misc/E.h:'<QString>' core/F.h:'"misc/E.h"')"
expect 1 "a folder of no layer" "unknown layer: misc/E.h"

[ "$failures" -eq 0 ] && echo "layer check passed" || exit 1
