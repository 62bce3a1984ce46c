#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Prints what the compass costs in memory: the program's resident set and how
# much the X server grew when it started, on a virtual X server with a
# compositing manager, at 1920x1080 and at three 4K screens (11520x2160), at
# spreads 300 and 1000. The server is measured after the compositor painted
# once (a small xmessage window shown and closed), so that the compositor's
# own root buffer does not count against us. The program is measured shown,
# then a second after a change of the spread (what a drag's frames hold), then
# at rest again.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset release --target orvanta orvanta_assets >/dev/null

source tools/xdesktop.sh

rss_mb() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

work=$(mktemp -d)
cleanup() {
    [ -n "${program:-}" ] && kill "$program" 2>/dev/null
    stop_desktop
    rm -rf "$work"
}
trap cleanup EXIT

# A program folder of its own, so that the runs write nothing beside the build.
mkdir -p "$work/bin" "$work/config" "$work/data"
(cd build/bin && find . -type f ! -name 'orvanta_*' ! -name 'Compass.ini' \
    ! -name '*.compassskin' -exec cp --parents {} "$work/bin/" \;)

printf '%-11s %6s   %-28s   %-28s\n' desktop spread "program RSS (MB)" "X server growth (MB)"
printf '%-11s %6s   %-28s   %-28s\n' "" "" "shown / changing / at rest" "shown / changing / at rest"
for size in 1920x1080 11520x2160; do
    w=${size%x*}
    h=${size#*x}
    for spread in 300 1000; do
        start_desktop "$size"
        # The compositor makes its root buffer at its first paint: make it
        # paint once with a small window of another program, then measure.
        xmessage -geometry 80x40+0+0 ready >/dev/null 2>&1 &
        message=$!
        sleep 1.5
        kill "$message" 2>/dev/null || true
        wait "$message" 2>/dev/null || true
        sleep 0.5
        before=$(rss_kb "$xvfb")

        # The pivot in the middle of the first monitor (the default skin's
        # pivot lies 26 right of and 28 below the compass position).
        x=$(( (w < 3840 ? w : 3840) / 2 - 26 ))
        y=$(( h / 2 - 28 ))
        printf '[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=%d\r\nY=%d\r\nAngle=0\r\nMeasurement=%d\r\n' \
            "$x" "$y" "$spread" >"$work/bin/Compass.ini"
        XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
            QT_QPA_PLATFORM=xcb "$work/bin/orvanta" >/dev/null 2>&1 &
        program=$!
        sleep 4 # started, shown, painted and composited
        growth() { awk -v a="$before" -v b="$(rss_kb "$xvfb")" 'BEGIN { printf "%+.1f", (b - a) / 1024 }'; }
        shown="$(rss_mb "$program")" shownGrowth="$(growth)"
        # The spread typed 5 shorter: a frame like a drag's.
        xdotool mousemove $((x + 26)) $((y + 28)) click 1
        sleep 0.5
        xdotool type --delay 40 "$((spread - 5))"
        xdotool key Return
        sleep 1
        changing="$(rss_mb "$program")" changingGrowth="$(growth)"
        sleep 4
        printf '%-11s %6s   %-28s   %-28s\n' "$size" "$spread" \
            "$shown / $changing / $(rss_mb "$program")" "$shownGrowth / $changingGrowth / $(growth)"
        kill "$program" 2>/dev/null || true
        wait "$program" 2>/dev/null || true
        program=
        stop_desktop
    done
done
