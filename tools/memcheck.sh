#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# valgrind's memcheck over the headless render path: "orvanta --render" with
# the default PNG skin and the shipped BMP skin in a few states, so that skin
# loading, composition, every kind of figure and the PNG writer run under it.
# Fails on any memory error (invalid read or write, a decision on an
# uninitialised value, a bad free) and on memory lost for good.
#   tools/memcheck.sh [BIN_DIR]      default build/bin (tools/test.sh builds it)
# No suppressions: Qt's offscreen platform and fontconfig run clean here.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build/bin}"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen

run() {
    local name="$1"
    shift
    echo "== memcheck: orvanta --render $name.png $*"
    valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
        --errors-for-leak-kinds=definite --show-leak-kinds=definite --num-callers=30 -q \
        "$bin/orvanta" --render "$out/$name.png" "$@" >"$out/$name.txt"
    test -s "$out/$name.png"
}

run default --desktop 800x600
run brass-polygon --skin "$bin/skins/Brass/brass.ini" --angle 33 --spread 300 --shape 39 \
    --scribe 1 --measure-type 2 --quality low --crop
run wide-circle --desktop 3840x1080 --pos 1900,500 --angle 269.5 --spread 1800 --measure-type 1 \
    --quality high
