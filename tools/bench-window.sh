#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Runs the window benchmark on a virtual X server with a compositing manager,
# at 1920x1080 and at three 4K screens side by side (11520x2160).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset release --target orvanta_bench_window orvanta_assets >/dev/null

for size in 1920x1080 11520x2160; do
    display=":$((150 + RANDOM % 100))"
    Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    DISPLAY="$display" xcompmgr >/dev/null 2>&1 &
    comp=$!
    sleep 0.5
    echo "== desktop $size (Xvfb + xcompmgr)"
    DISPLAY="$display" build/bin/orvanta_bench_window "$@" 2>/dev/null || true
    kill $comp $xvfb 2>/dev/null || true
    wait $comp $xvfb 2>/dev/null || true
done
