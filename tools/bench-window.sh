#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Runs the window benchmark on a virtual X server with a compositing manager,
# at 1920x1080 and at three 4K screens side by side (11520x2160), and prints
# each frame of the compass window beside the same frame pushed through a
# window over the whole desktop, as ratios of the one run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset release --target orvanta_bench_window orvanta_assets >/dev/null

source tools/xdesktop.sh

out=$(mktemp -d)
trap 'stop_desktop; rm -rf "$out"' EXIT
for size in 1920x1080 11520x2160; do
    start_desktop "$size"
    echo "== desktop $size (Xvfb + xcompmgr)"
    build/bin/orvanta_bench_window --benchmark_out="$out/$size.json" \
        --benchmark_out_format=json "$@" 2>/dev/null || true
    stop_desktop
done

python3 - "$out" <<'PY'
import json, pathlib, sys
print("\n== the compass window against a desktop-sized window, same run (ms per frame)")
print(f"{'desktop':<11} {'frame':<28} {'compass window':>15} {'desktop window':>15} {'faster':>8}")
for f in sorted(pathlib.Path(sys.argv[1]).glob("*.json")):
    rows = {b["name"]: b["real_time"] for b in json.loads(f.read_text())["benchmarks"]
            if b.get("run_type", "iteration") == "iteration"}
    for name, t in rows.items():
        if not name.startswith("BM_SlideDragToFlush") and name != "BM_WholeWindowRepaint":
            continue
        base = rows.get(name.replace("BM_", "BM_DesktopWindow", 1)
                        if name != "BM_WholeWindowRepaint" else "BM_DesktopWindowWholeRepaint")
        label = name.replace("BM_SlideDragToFlush/", "slide drag ").replace("BM_", "")
        ratio = f"{base / t:7.1f}x" if base else "-"
        print(f"{f.stem:<11} {label:<28} {t:15.3f} {base or float('nan'):15.3f} {ratio:>8}")
    for name, t in rows.items():
        if name.startswith("BM_BaseDragToFlush"):
            print(f"{f.stem:<11} {name.replace('BM_BaseDragToFlush/', 'base drag '):<28} {t:15.3f}")
PY
