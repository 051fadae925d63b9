#!/usr/bin/env bash
# tools/check-setup against the real build cache and set-up script, against copies of the script
# with one package taken out, and against small made-up caches for the ways a file leads to its
# package (config folders, pkg-config modules, usrmerge names, diversions, unowned files).
# Usage: check_setup_test.sh REPO_ROOT BUILD_DIR
set -euo pipefail
repo=$1
build=$2
check=$repo/tools/check-setup
deps=$repo/tools/install-deps
# Not below TMPDIR: ctest's sandbox lies inside the build folder, whose paths the check skips.
work=$(mktemp -d /tmp/check-setup.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# run NAME EXPECTED_RC BUILD_DIR SCRIPT: runs the check, output in $work/NAME.out.
run() {
    local name=$1 want=$2 rc=0
    "$check" "$3" "$4" > "$work/$name.out" 2>&1 || rc=$?
    if [[ $rc != "$want" ]]; then
        fail "$name: exit $rc, expected $want; output:"
        sed 's/^/    /' "$work/$name.out" >&2
        return 1
    fi
}
# says NAME REGEX...: every pattern is in the output of run NAME.
says() {
    local name=$1 re
    shift
    for re in "$@"; do
        grep -Eq -- "$re" "$work/$name.out" || fail "$name: output lacks /$re/: $(cat "$work/$name.out")"
    done
}
# ERE for a literal text.
lit() { sed 's/[][\.*^$+?(){}|/]/\\&/g' <<< "$1"; }

# (a) What this build really used is all installed by the real script.
if run real 0 "$build" "$deps"; then
    says real '^set-up check: all [0-9]+ packages are installed by tools/install-deps$' \
        "$(lit 'g++-12 (via g++)') +/usr/bin/[^ ]*g\+\+-12 \(CMAKE_CXX_COMPILER\)" \
        '^  ok +libzip-dev ' '^  ok +qt6-base-dev ' '^  ok +ninja-build +/usr/bin/ninja \(CMAKE_MAKE_PROGRAM\)' \
        '^  ok +cmake +/[^ ]*/cmake \(CMAKE_COMMAND\)' '^  ok +libgtest-dev +.*GTestConfig\.cmake'
fi

# (b) Copies of the real script with one package taken out of the list. The package stays in a
# comment, and a longer name that contains it may be put in its place: neither counts.
# removed | put in its place | exit | package that must be reported missing
while IFS='|' read -r removed instead want reported; do
    name=without-$removed
    copy=$work/$name
    re=$(lit "$removed")
    sed -E "s/(^|[[:space:]])$re([[:space:]]|\$)/\1$instead\2/" "$deps" > "$copy"
    printf '# %s is left out on purpose\n' "$removed" >> "$copy"
    if [[ $(grep -Ec "(^|[[:space:]])$re([[:space:]]|\$)" "$copy") != 1 ]]; then
        fail "$name: could not take $removed out of tools/install-deps"
        continue
    fi
    run "$name" "$want" "$build" "$copy" || continue
    if [[ -n $reported ]]; then
        says "$name" "^  MISSING +$(lit "$reported") +/" "^  $(lit "$reported"), needed by /"
    fi
    # Nothing that the real script covers goes missing with it.
    [[ $(grep -c '^  MISSING' "$work/$name.out") -le 1 ]] || fail "$name: more than $reported missing"
done <<'EOF'
libzip-dev||1|libzip-dev
qt6-charts-dev||1|qt6-charts-dev
g++||1|g++-12
ninja-build||1|ninja-build
cmake|cmake-data|1|cmake
libgtest-dev||0|
EOF
# libgtest-dev still counts without its name: libgmock-dev depends on it.
[[ ! -f $work/without-libgtest-dev.out ]] || says without-libgtest-dev "$(lit 'libgtest-dev (via libgmock-dev)')"

# (c) Made-up caches. Every path in them is one that this build's packages put on the machine.
gtest_dir=$(sed -n 's/^GTest_DIR:PATH=//p' "$build/CMakeCache.txt")
libdir=${gtest_dir%/cmake/GTest}
[[ -f $gtest_dir/GTestConfig.cmake && -f $libdir/cmake/libzip/libzip-config.cmake && -d /usr/include/gmock ]] ||
    fail "fixture: GTest or libzip is not where this build found it ($gtest_dir)"
script() { # NAME PACKAGE...: a set-up script that installs the packages
    printf '#!/bin/sh\napt-get update\nDEBIAN_FRONTEND=noninteractive apt-get install -y \\\n  %s\n' "${*:2}" > "$work/$1"
}

# Config folders (Config.cmake, -config.cmake, a folder without either) and a pkg-config module
# known only from the arguments of pkg_check_modules: every one leads to its package.
mkdir -p "$work/folders"
cat > "$work/folders/CMakeCache.txt" <<EOF
GTest_DIR:PATH=$gtest_dir
libzip_DIR:PATH=$libdir/cmake/libzip
GMockHeaders_DIR:PATH=/usr/include/gmock
OPENGL_INCLUDE_DIR:PATH=/usr/include
Missing_DIR:PATH=Missing_DIR-NOTFOUND
__pkg_config_checked_Z:INTERNAL=1
__pkg_config_arguments_Z:INTERNAL=REQUIRED;IMPORTED_TARGET;zlib>=1.2
Z_FOUND:INTERNAL=1
__pkg_config_checked_OLD:INTERNAL=1
__pkg_config_arguments_OLD:INTERNAL=QUIET;Qt6Core>=99
OLD_FOUND:INTERNAL=
EOF
cat > "$work/gtest-only" <<'EOF'
#!/bin/bash
packages=(
  libgtest-dev # not libzip-dev, libgmock-dev nor zlib1g-dev
)
apt-get install -y "${packages[@]}"
EOF
if run folders-missing 1 "$work/folders" "$work/gtest-only"; then
    says folders-missing "^  MISSING +libzip-dev +$(lit "$libdir/cmake/libzip/libzip-config.cmake") \(libzip_DIR\)" \
        '^  MISSING +zlib1g-dev +/[^ ]*/zlib\.pc \(pkg-config module zlib\)' \
        '^  MISSING +libgmock-dev +/usr/include/gmock \(GMockHeaders_DIR\)' \
        "^  ok +libgtest-dev +$(lit "$gtest_dir/GTestConfig.cmake") \(GTest_DIR\)" \
        '^  libzip-dev, needed by ' '^  zlib1g-dev, needed by ' '^  libgmock-dev, needed by '
    [[ $(grep -c '^  MISSING' "$work/folders-missing.out") == 3 ]] ||
        fail "folders-missing: a find module's include folder or a module not found was checked"
fi
script gtest-zip libgtest-dev libgmock-dev libzip-dev # zlib1g-dev is a dependency of libzip-dev
run folders-covered 0 "$work/folders" "$work/gtest-zip" &&
    says folders-covered "$(lit 'zlib1g-dev (via libzip-dev)')" '^set-up check: all 4 packages are installed by '

# A /usr/lib name that dpkg may record as /lib, /usr/bin/sh that dpkg records as /bin/sh diverted
# by dash, a symlink that no package owns (alternatives) to a file that one does, and a config
# folder that no package owns: a warning, not a failure.
mkdir -p "$work/names" "$work/prefix/lib/cmake/Foo"
touch "$work/prefix/lib/cmake/Foo/FooConfig.cmake"
cat > "$work/names/CMakeCache.txt" <<EOF
pkgcfg_lib_C_c:FILEPATH=$libdir/libc.so.6
CMAKE_MAKE_PROGRAM:FILEPATH=/usr/bin/sh
CMAKE_COMMAND:INTERNAL=/usr/bin/c++
Foo_DIR:PATH=$work/prefix/lib/cmake/Foo
EOF
script libc-dash libc6 dash:amd64 g++
if run names-covered 0 "$work/names" "$work/libc-dash"; then
    says names-covered '^  ok +libc6 ' '^  ok +dash +/usr/bin/sh \(CMAKE_MAKE_PROGRAM\)' \
        "^  ok +$(lit 'g++-12 (via g++)') +/usr/bin/c\+\+ \(CMAKE_COMMAND\)" \
        "warning: $(lit "$work/prefix/lib/cmake/Foo/FooConfig.cmake") \(Foo_DIR\) belongs to no Debian package" \
        '^set-up check: all 3 packages are installed by '
fi
script libc-only libc6
run names-missing 1 "$work/names" "$work/libc-only" && says names-missing '^  dash, needed by /usr/bin/sh '

# Diversions, with a dpkg-query that knows one made-up diverted file: the file at the diverted
# name is the diverter's, the renamed one is its other owner's.
mkdir -p "$work/divert/bin"
cat > "$work/divert/bin/dpkg-query" <<'EOF'
#!/bin/sh
[ "$1" = -S ] || exec /usr/bin/dpkg-query "$@"
shift
rc=0
for p; do
    case $p in
    /usr/bin/tool | /usr/bin/tool.real)
        echo 'diversion by pkg-a from: /usr/bin/tool'
        echo 'diversion by pkg-a to: /usr/bin/tool.real'
        [ "$p" = /usr/bin/tool.real ] || echo 'pkg-a, pkg-b:amd64: /usr/bin/tool' ;;
    *) echo "dpkg-query: no path found matching pattern $p" >&2; rc=1 ;;
    esac
done
exit $rc
EOF
chmod +x "$work/divert/bin/dpkg-query"
# file | the script installs | the package it must miss
while IFS='|' read -r file named missing; do
    name=divert-${file##*/}
    mkdir -p "$work/$name"
    echo "CMAKE_COMMAND:INTERNAL=$file" > "$work/$name/CMakeCache.txt"
    script "$name.sh" "$named"
    PATH=$work/divert/bin:$PATH run "$name" 1 "$work/$name" "$work/$name.sh" &&
        says "$name" "^  MISSING +$missing +$(lit "$file") \(CMAKE_COMMAND\)"
done <<'EOF'
/usr/bin/tool|pkg-b|pkg-a
/usr/bin/tool.real|pkg-a|pkg-b
EOF

# (d) No cache: the check cannot run, and says why.
mkdir -p "$work/empty"
run no-cache 2 "$work/empty" "$deps" && says no-cache "no CMake cache at $(lit "$work/empty/CMakeCache.txt")"

[[ $failures == 0 ]] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "check-setup: all cases passed"
