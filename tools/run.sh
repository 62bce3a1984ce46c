#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Sets up, builds and starts Orvanta (Debian 12 or 13).
# First installs what building and running need, with apt-get as root (through
# sudo when needed) from the network, unless it is all there already; the
# program lands in build/bin/orvanta.
# On a desktop it simply starts the compass. On a machine without a display it
# starts a virtual X server with a compositing manager, runs the compass there,
# saves a screenshot to orvanta-screenshot.png and says where it is.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "tools/run.sh: installing what building and running Orvanta need, if missing (apt-get, as root, from the network)"
tools/setup.sh run
cmake --preset release -G Ninja >/dev/null
cmake --build --preset release -j "$(nproc)" --target orvanta
echo "tools/run.sh: the program is build/bin/orvanta"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/bin/orvanta "$@"
fi

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $compass $xcompmgr $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xcompmgr >/dev/null 2>&1 &
xcompmgr=$!
# A desktop-coloured backdrop so the translucent compass has something to float over.
xsetroot -solid '#3a6ea5' 2>/dev/null || true

build/bin/orvanta "$@" &
compass=$!
sleep 4
shot="$PWD/orvanta-screenshot.png"
import -window root "$shot"
echo "No display here: Orvanta ran on a virtual X server ($display) with xcompmgr."
echo "Screenshot saved to $shot"
