#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# The fit to what is beneath, on the desktop as a user sees it: ordinary
# programs showing circles on a virtual X server with openbox and a
# compositing manager, and the compass, driven over D-Bus, fitting them.
#
#   tools/fit-screenshots.sh [BUILD_DIR]     default build/ (the release preset)
#
# Writes
# - docs/images/fit-cup-before.png and fit-cup-after.png: a photograph of a cup on a
#   table (rendered here, procedurally, so it is ours) in ImageMagick's
#   display, the compass placed a little off the coffee's edge and too short, then
#   the same after the fit, with the hint giving the exact centre and radius;
# - tests/data/gnuplot-pie.png (gnuplot's x11 terminal drawing a pie chart;
#   needs gnuplot-x11), icon-display.png (the program's icon in display) and
#   photo-cup.png (the coffee of the photograph): the real screenshots the fit
#   test measures;
# - docs/images/loupe.png: the loupe beside the slide's tip over the photograph.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"

# A bus of our own, so that no compass the user runs answers.
if [ -z "${ORVANTA_FIT_SCREENSHOTS_BUS:-}" ]; then
    exec env ORVANTA_FIT_SCREENSHOTS_BUS=1 dbus-run-session -- "$0" "$@"
fi
for tool in Xvfb xcompmgr openbox display convert import xwininfo xdotool gdbus gnuplot; do
    command -v "$tool" >/dev/null || { echo "fit-screenshots: $tool is missing" >&2; exit 1; }
done

cmake --build "$build" --target orvanta >/dev/null
work="$(mktemp -d)"
cmake --install "$build" --prefix "$work/usr" >/dev/null
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache" LANG=C.UTF-8 LC_ALL=C.UTF-8
mkdir -p "$HOME"

source tools/xdesktop.sh
pids=()
finish() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    stop_desktop
    [ "$1" = 0 ] || [ ! -f "$work/orvanta.log" ] || cat "$work/orvanta.log" >&2
    rm -rf "$work"
}
trap 'finish $?' EXIT
start_desktop 1280x800
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
xsetroot -solid '#3a6ea5'

compass() { gdbus call --session --dest Compass.VelmoraCompass --object-path /VelmoraCompass "$@"; }
set_compass() {
    compass --method org.freedesktop.DBus.Properties.Set Compass.IVelmoraCompass "$1" "$2" >/dev/null
}

# show NAME COMMAND...: starts a program and waits for its window named NAME;
# prints the program's process and the desktop position of the window's
# inside (pid x y).
show() {
    local name=$1 id
    shift
    "$@" >/dev/null 2>&1 &
    echo -n "$! "
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -1) && [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || { echo "fit-screenshots: no window \"$name\" from $1" >&2; exit 1; }
    sleep 1 # drawn, and the compositor has shown it
    xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print x, y }'
}

# A photograph of a cup of coffee on its saucer and a coin, on a wooden
# table: discs of gradients with soft shadows over a grain, all ours.
photo() {
    local w=900 h=600 t="$work/photo"
    mkdir -p "$t"
    # disc FILL CX CY R [BLUR]: a disc of FILL (a colour or a radial gradient
    # centred on the disc) laid over the picture, its edge blurred by BLUR.
    disc() {
        convert -size ${w}x$h -define gradient:center="$2,$3" -define gradient:radii="$4,$4" "$1" \
            \( -size ${w}x$h xc:black -fill white -draw "circle $2,$3 $(($2 + $4)),$3" -blur "0x${5:-0}" \) \
            -alpha off -compose copy_opacity -composite "$t/layer.png"
        convert "$t/photo.png" "$t/layer.png" -compose over -composite "$t/photo.png"
    }
    convert -seed 11 -size ${w}x24 plasma:fractal -colorspace gray -auto-level -resize "${w}x$h!" \
        -blur 0x1.5 +level-colors '#5e3719,#b98450' "$t/wood.png"
    convert -seed 5 -size ${w}x50 xc:gray50 +noise Random -colorspace gray -resize "${w}x$h!" \
        -blur 0x1.2 "$t/grain.png"
    convert "$t/wood.png" \( "$t/grain.png" +level 30%,70% \) -compose softlight -composite "$t/photo.png"
    disc 'xc:rgba(20,10,0,0.55)' 534 322 246 14       # the saucer's shadow
    disc 'radial-gradient:#fdfcf9-#d8d1c4' 520 300 240 # the saucer
    disc 'radial-gradient:#d9d2c6-#e9e4db' 520 300 150 # its well
    disc 'radial-gradient:#ffffff-#e4ddd0' 520 300 136 # the cup
    disc 'radial-gradient:#b98a58-#4a2a12' 518 298 108 # the coffee
    disc 'xc:rgba(20,10,0,0.5)' 148 478 56 6           # the coin's shadow
    disc 'radial-gradient:#f3d98a-#a7782a' 140 470 52  # the coin
    disc 'radial-gradient:#caa050-#e8c878' 140 470 42  # its face
    convert "$t/photo.png" -seed 3 -attenuate 0.06 +noise Gaussian -blur 0x0.6 "$1"
}

# The real screenshots the fit test measures, taken before the compass is
# there (its oclock.png was taken earlier, by hand).
pie="$work/pie.gp"
cat >"$pie" <<'GP'
set terminal x11 size 560,420 title "Where the week went" noenhanced
set size ratio -1
set xrange [-1.6:1.6]
set yrange [-1.2:1.2]
unset border; unset tics; unset key
set style fill solid 1.0 noborder
set object 1 circle at 0,0 size 1 arc [0:126] fc rgb "#4e79a7" front
set object 2 circle at 0,0 size 1 arc [126:216] fc rgb "#f28e2b" front
set object 3 circle at 0,0 size 1 arc [216:288] fc rgb "#e15759" front
set object 4 circle at 0,0 size 1 arc [288:331] fc rgb "#76b7b2" front
set object 5 circle at 0,0 size 1 arc [331:360] fc rgb "#59a14f" front
plot NaN
pause mouse close
GP
read -r pid wx wy < <(show "Where the week went" gnuplot "$pie")
pids+=("$pid")
[ -n "${pid:-}" ] && [ -n "${wy:-}" ] || exit 1
# The pie alone with a margin of the chart's white: its bounding box, found
# above the mouse's coordinates at the window's foot, grown by 20 px.
import -window root -crop "560x380+$wx+$wy" +repage "$work/window.png"
read -r bw bh bx by < <(convert "$work/window.png" -fuzz 5% -trim -format '%w %h %X %Y\n' info: | tr -d +)
import -window root -crop "$((bw + 40))x$((bh + 40))+$((wx + bx - 20))+$((wy + by - 20))" +repage \
    tests/data/gnuplot-pie.png
kill "$pid"
# The program's icon in display, which shows its transparent corners as
# checks.
read -r pid wx wy < <(show icon display -title icon assets/program/orvanta.png)
pids+=("$pid")
[ -n "${pid:-}" ] && [ -n "${wy:-}" ] || exit 1
import -window root -crop "256x256+$wx+$wy" +repage tests/data/icon-display.png
kill "$pid"
# The photograph, the coffee alone: the disc of its edge is centred on
# 518.5, 298.5 of the picture (ImageMagick centres pixels on integers).
photo "$work/cup.png"
read -r pid px py < <(show "cup.png" display -geometry +200+60 -title cup.png "$work/cup.png")
pids+=("$pid")
[ -n "${pid:-}" ] && [ -n "${py:-}" ] || exit 1
import -window root -crop "248x248+$((px + 394))+$((py + 174))" +repage tests/data/photo-cup.png
echo "tests/data/gnuplot-pie.png, icon-display.png, photo-cup.png"

# start_compass [OPTION=VALUE...]: the installed compass from fresh options,
# without a splash or a tray icon (the virtual desktop has no tray), once it
# owns its name on the bus.
# Asked before the compass owns its name the bus would start another one.
owned() {
    [ "$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner Compass.VelmoraCompass)" = "(true,)" ]
}
start_compass() {
    mkdir -p "$XDG_CONFIG_HOME/Orvanta"
    printf '[Options]\nHideSplash=1\nSystemTrayIcon=0\n' >"$XDG_CONFIG_HOME/Orvanta/Compass.ini"
    printf '%s\n' "$@" >>"$XDG_CONFIG_HOME/Orvanta/Compass.ini"
    "$work/usr/bin/orvanta" >>"$work/orvanta.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 200); do owned && break; sleep 0.1; done
    owned || { echo "fit-screenshots: the compass took no name on the bus" >&2; exit 1; }
}
start_compass

# fit_shots NAME X Y SPREAD ANGLE CROP: the compass moved to X, Y (its pivot
# lands a skin's few pixels from there) with that spread and beam angle, a
# screenshot, the fit, another; both cropped to CROP (WxH+X+Y on the
# desktop). Prints the fit (centre x, y and radius).
fit_shots() {
    set_compass Measurement "<$4.0>"
    set_compass Angle "<$5.0>"
    compass --method Compass.IVelmoraCompass.MoveTo "$2" "$3" >/dev/null
    sleep 1
    import -window root -crop "$6" +repage "docs/images/fit-$1-before.png"
    [ "$(compass --method Compass.IVelmoraCompass.Fit)" = "(true,)" ] ||
        { echo "fit-screenshots: $1: no fit" >&2; exit 1; }
    sleep 1 # the hint is up
    import -window root -crop "$6" +repage "docs/images/fit-$1-after.png"
    echo "docs/images/fit-$1-*.png: fitted $(compass --method Compass.IVelmoraCompass.LastFit)"
}

# The coffee in the cup: its centre is at 518.5, 298.5 of the picture,
# radius 108; the pivot lands 17 px off.
fit_shots cup $((px + 506)) $((py + 280)) 96 -35 "660x520+$((px + 240))+$((py + 40))"

# The loupe over the same photograph, the slide's tip on the coffee's rim: the
# compass started anew with its loupe on, six times.
compass --method Compass.IVelmoraCompass.Quit >/dev/null
for _ in $(seq 100); do owned || break; sleep 0.1; done
start_compass Loupe=1 LoupeZoom=6
set_compass Measurement "<150.0>"
set_compass Angle "<-20.0>"
compass --method Compass.IVelmoraCompass.MoveTo $((px + 380)) $((py + 330)) >/dev/null
sleep 1.5
# The loupe stands up and to the right of the tip: the crop holds it, its
# readout and the whole compass, and ends before the photograph does.
import -window root -crop "560x360+$((px + 300))+$((py + 70))" +repage docs/images/loupe.png
echo "docs/images/loupe.png"
