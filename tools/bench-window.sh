#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Runs the window benchmark on a virtual X server with a compositing manager,
# at 1920x1080 and at three 4K screens side by side (11520x2160), and prints
# each frame of the compass window beside the same frame pushed through a
# window over the whole desktop, as ratios of the one run, with the CPU time
# our process, the X server and the compositor spent on it.
#
#   tools/bench-window.sh [--runs N] [--shown] [--against OTHER_BENCH_BINARY] [benchmark flags]
#
# Each desktop runs the benchmark N times (default 3) and the table shows the
# medians and how far the runs spread (cv: standard deviation / mean). With
# --against, another build of orvanta_bench_window (an earlier commit's, say)
# runs alternately with this one on the same X server, and the table adds its
# frames and the ratio: both sides saw the same machine at the same time.
#
# A frame ends when the X server has handled it. xcompmgr paints what changed
# as fast as it can, so when frames come faster it paints several at once and
# a frame's share of its work depends on the timing (a base drag's runs spread
# widely). With --shown a frame ends only once the compositor has painted the
# screen after it: every frame is shown, as on a screen that keeps up.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=3
against=
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) runs=$2; shift 2 ;;
    --against) against=$(realpath "$2"); shift 2 ;;
    --shown) export ORVANTA_BENCH_SHOWN=1; shift ;;
    *) break ;;
    esac
done

cmake --build --preset release --target orvanta_bench_window orvanta_assets >/dev/null

source tools/xdesktop.sh

out=$(mktemp -d)
trap 'stop_desktop; rm -rf "$out"' EXIT
for size in 1920x1080 11520x2160; do
    start_desktop "$size"
    export ORVANTA_BENCH_SERVER_PID=$xvfb ORVANTA_BENCH_COMPOSITOR_PID=$comp
    echo "== desktop $size (Xvfb + xcompmgr), $runs runs" >&2
    for run in $(seq "$runs"); do
        for side in this ${against:+other}; do
            bin=build/bin/orvanta_bench_window
            [ "$side" = other ] && bin=$against
            "$bin" --benchmark_out="$out/$side.$size.$run.json" --benchmark_out_format=json \
                "$@" >/dev/null 2>"$out/$side.$size.$run.log" ||
                { cat "$out/$side.$size.$run.log" >&2; exit 1; }
            # Qt's warnings (a window that did not become active) matter here;
            # the benchmark library's description of the machine does not.
            grep -vE '^(QStandardPaths|[0-9]{4}-|Running |Run on |CPU Caches|  L[0-9]|Load Average|\*\*\*WARNING\*\*\* Library)' \
                "$out/$side.$size.$run.log" | sort -u >&2 || true
        done
    done
    stop_desktop
done

python3 - "$out" <<'PY'
import json, os, pathlib, statistics, sys

def load(side):
    """{(desktop, benchmark): [entry per run]}"""
    rows = {}
    for f in sorted(pathlib.Path(sys.argv[1]).glob(f"{side}.*.json")):
        desktop = f.name.split(".")[1]
        for b in json.loads(f.read_text())["benchmarks"]:
            if b.get("run_type", "iteration") == "iteration":
                name = b["name"].replace("/process_time", "").replace("/real_time", "")
                rows.setdefault((desktop, name), []).append(b)
    return rows

def median(runs, key):
    values = [r[key] for r in runs if key in r]
    return statistics.median(values) if values else float("nan")

def cv(runs, key="real_time"):
    values = [r[key] for r in runs]
    if len(values) < 2:
        return float("nan")
    return 100 * statistics.stdev(values) / statistics.mean(values)

def label(name):
    name = name.replace("BM_", "")
    for long, short in (("SlideDragWithLoupeToFlush/", "loupe drag "), ("SlideDragToFlush/", "slide drag "), ("BaseDragToFlush/", "base drag "),
                        ("BareWindowMove/", "bare move "), ("WholeWindowRepaint", "whole repaint")):
        name = name.replace(long, short)
    return name

this, other = load("this"), load("other")
baseline_of = lambda name: (name.replace("BM_SlideDragToFlush", "BM_DesktopWindowSlideDragToFlush")
                            .replace("BM_WholeWindowRepaint", "BM_DesktopWindowWholeRepaint"))
shown = ("BM_SlideDragToFlush", "BM_SlideDragWithLoupeToFlush", "BM_BaseDragToFlush", "BM_WholeWindowRepaint", "BM_BareWindowMove")

each_shown = os.environ.get("ORVANTA_BENCH_SHOWN") == "1"
print("\n== ms per frame" + (", each until the compositor showed it" if each_shown else "")
      + ", medians of the runs; cv = how far the runs' wall times spread")
print("   cpu: our process (all threads), the X server, the compositor; rects/px: what the")
print("   window painted and put to the server per frame")
head = (f"{'desktop':<11} {'frame':<20} {'wall':>7} {'cv%':>4} {'desktop':>8} {'faster':>7}"
        f" {'cpu':>7} {'server':>7} {'comp':>6} {'rects':>6} {'px':>8}")
if other:
    head += f" {'before':>7} {'after/before':>12} {'desktop before':>14}"
print(head)
order = lambda key: (key[0], [key[1].startswith(s) for s in shown].index(True))
for (desktop, name), runs in sorted(((k, v) for k, v in this.items() if k[1].startswith(shown)),
                                    key=lambda kv: order(kv[0])):
    wall = median(runs, "real_time")
    base = this.get((desktop, baseline_of(name)))
    base_wall = median(base, "real_time") if base and baseline_of(name) != name else None
    line = (f"{desktop:<11} {label(name):<20} {wall:7.3f} {cv(runs):4.0f}"
            f" {base_wall if base_wall else float('nan'):8.3f}"
            f" {(base_wall / wall if base_wall else float('nan')):6.1f}x"
            f" {median(runs, 'cpu_time'):7.3f} {median(runs, 'server_ms'):7.3f}"
            f" {median(runs, 'compositor_ms'):6.3f} {median(runs, 'rects'):6.0f}"
            f" {median(runs, 'painted_px'):8.0f}")
    if other:
        before = other.get((desktop, name))
        if before:
            b = median(before, "real_time")
            line += f" {b:7.3f} {wall / b:11.2f}x"
            base_before = other.get((desktop, baseline_of(name)))
            if base_before and baseline_of(name) != name:
                line += f" {median(base_before, 'real_time'):14.3f}"
    print(line)

print("\n== the slide drag at spread 300, turning, beside the desktop-sized window (medians)")
for desktop in sorted({key[0] for key in this}):
    wall = lambda name: median(this.get((desktop, name), []), "real_time")
    frame = wall("BM_SlideDragToFlush/300/1")
    print(f"{desktop:<11} {frame:.3f} ms; spread 1000 costs {wall('BM_SlideDragToFlush/1000/1') / frame:.1f}x;"
          f" the same drag through a desktop-sized window is {wall('BM_DesktopWindowSlideDragToFlush/300/1') / frame:.1f}x,"
          f" its whole repaint {wall('BM_DesktopWindowWholeRepaint') / frame:.1f}x this frame")
    loupe = wall("BM_SlideDragWithLoupeToFlush/300/1")
    print(f"{'':<11} with the loupe on: {loupe:.3f} ms, {loupe / frame:.2f}x the frame without it")
PY
