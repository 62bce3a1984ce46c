#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# The screenshots of the software-centre metadata, drawn by the program itself:
# "orvanta --render" of a copy installed into a temporary prefix, with
# temporary XDG folders so that nobody's own options or skins show in them.
#
#   tools/screenshots.sh [BUILD_DIR]     default build/ (the release preset)
#   tools/screenshots.sh BUILD_DIR --dialogs FOLDER
#
# Writes docs/images/screenshot-*.png. The metainfo file lists them as
# https://<web host>/screenshots/<the same name>, where they must be published.
#
# With --dialogs, writes instead a picture of every dialog and message box in
# English and in Chinese to FOLDER, as the walkthrough test opens them, for a
# look before a release (they are not published).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
if [[ "${2:-}" == --dialogs ]]; then
    mkdir -p "$3"
    cmake --build "$build" --target orvanta_tests >/dev/null
    ORVANTA_WALK_SHOTS="$(realpath "$3")" QT_QPA_PLATFORM=offscreen \
        "$build/bin/orvanta_tests" --gtest_filter='Walkthrough.EveryWindow*' >/dev/null 2>&1
    ls "$3"
    exit 0
fi
out=docs/images
# 16:9, the shape software centres lay screenshots out in.
desktop=1280x720

cmake --build "$build" --target orvanta >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/usr" >/dev/null
export QT_QPA_PLATFORM=offscreen HOME="$work/home" XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

shot() {
    local name="$1"
    shift
    local readout
    readout="$("$work/usr/bin/orvanta" --render "$out/screenshot-$name.png" --desktop "$desktop" "$@")"
    echo "$out/screenshot-$name.png: readout $readout"
}

# The default skin measuring the radius of a circle.
shot circle --pos 560,380 --angle -20 --spread 280 --scribe 1 --measure-type 0
# The shipped Brass skin (a BMP picture) measuring the circumference of a hexagon.
shot hexagon --skin "$work/usr/share/orvanta/skins/Brass/brass.ini" --pos 640,360 --angle -30 \
    --spread 320 --shape 6 --scribe 1 --measure-type 1
# The sample Walnut skin package measuring the area of a circle.
shot area --skin assets/packages/Walnut/walnut.ini --pos 560,370 --angle 25 --spread 300 \
    --scribe 1 --measure-type 2
