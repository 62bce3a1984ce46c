#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Runs the real program on real desktops, headless, and checks what a user
# would see: placed where its options say, undecorated, not a task, above a
# window raised after it, clicks through its transparent pixels to X and to
# native Wayland windows, keys after a click on it and on another window, and
# its memory.
#
#   tools/desktop-matrix.sh [--install] [--program-dir DIR] [--keep]
#                           [--option KEY=VALUE]... [ENV ...]
#
# ENV: openbox xfwm4 kwin mutter-x11 gnome-wayland sway weston (default: all).
# --install        install what the chosen environments need (apt-get, root)
# --program-dir    the program folder to test (default: build/bin); each run
#                  works on a copy of it
# --keep           keep the work folder (logs, screenshots) and print its path
# --option         one more line for the Compass.ini the compass starts with,
#                  e.g. StayOnTop=0 to see the "above" check fail
#
# Prints a Markdown table (rows: environments, columns: checks), the failures
# in full and the versions of each environment. A failure listed in
# tools/desktops/limits.tsv prints as "limit"; any other failure makes the
# exit status 1.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
# shellcheck source=desktops/summary.sh
source tools/desktops/summary.sh

ALL_ENVS=(openbox xfwm4 kwin mutter-x11 gnome-wayland sway weston)
# No environment may hang the matrix: each gets this long, then its session is ended.
ENV_TIMEOUT=240
LIMITS=tools/desktops/limits.tsv

usage() {
    sed -n '8,17p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

install=""
keep=""
MATRIX_OPTIONS=""
program_dir=build/bin
envs=()
while (($#)); do
    case $1 in
    --install) install=yes ;;
    --keep) keep=yes ;;
    --option)
        [[ ${2:-} == ?*=* ]] || usage
        MATRIX_OPTIONS+="$2"$'\n'
        shift
        ;;
    --program-dir)
        [ $# -ge 2 ] || usage
        program_dir=$2
        shift
        ;;
    -h | --help) usage ;;
    -*) usage ;;
    *)
        [[ " ${ALL_ENVS[*]} " == *" $1 "* ]] || {
            echo "desktop-matrix: unknown environment '$1' (${ALL_ENVS[*]})" >&2
            exit 2
        }
        envs+=("$1")
        ;;
    esac
    shift
done
((${#envs[@]})) || envs=("${ALL_ENVS[@]}")

wants() { [[ " ${envs[*]} " == *" $1 "* ]]; }
wants_wayland() { wants gnome-wayland || wants sway || wants weston; }

# ---------------------------------------------------------------- packages

if [ -n "$install" ]; then
    packages=(x11-utils x11-xserver-utils xdotool xterm imagemagick wmctrl dbus-daemon
        procps util-linux python3)
    wants openbox && packages+=(xvfb openbox xcompmgr)
    wants xfwm4 && packages+=(xvfb xfwm4)
    wants kwin && packages+=(xvfb kwin-x11 breeze)
    wants mutter-x11 && packages+=(xvfb mutter)
    wants gnome-wayland && packages+=(mutter xwayland python3-dbus libgl1-mesa-dri)
    wants sway && packages+=(sway xwayland wtype grim)
    wants weston && packages+=(weston xwayland)
    # Our Wayland clients (the native window below, the virtual pointer).
    { wants gnome-wayland || wants sway; } &&
        packages+=(gcc libc6-dev libwayland-dev wayland-protocols libwayland-bin)
    # shellcheck disable=SC2046 # one word a package
    tools/setup.sh $(printf '%s\n' "${packages[@]}" | sort -u) || exit 1
fi

program_dir=$(cd "$program_dir" 2>/dev/null && pwd) || {
    echo "desktop-matrix: no program folder '$program_dir' (build first)" >&2
    exit 2
}
[ -x "$program_dir/orvanta" ] || {
    echo "desktop-matrix: no program in $program_dir (build first)" >&2
    exit 2
}

work=$(mktemp -d /tmp/orvanta-matrix.XXXXXX)
chmod 755 "$work"
cleanup() { [ -n "$keep" ] || rm -rf "$work"; }
trap cleanup EXIT
results=$work/results.tsv
versions=$work/versions.tsv
: >"$results"
: >"$versions"

# ---------------------------------------------------------------- our Wayland clients

clients=$work/clients
mkdir -p "$clients"
build_clients() {
    local xdg=/usr/share/wayland-protocols/stable/xdg-shell/xdg-shell.xml
    local pointer=tools/desktops/wlr-virtual-pointer-unstable-v1.xml
    local flags=(-std=c11 -O2 -Wall -Wextra -Wpedantic -I"$clients")
    wayland-scanner client-header "$xdg" "$clients/xdg-shell-client-protocol.h" &&
        wayland-scanner private-code "$xdg" "$clients/xdg-shell-protocol.c" &&
        wayland-scanner client-header "$pointer" "$clients/wlr-virtual-pointer-unstable-v1-client-protocol.h" &&
        wayland-scanner private-code "$pointer" "$clients/wlr-virtual-pointer-unstable-v1-protocol.c" &&
        gcc "${flags[@]}" -o "$clients/catcher" tools/desktops/catcher.c \
            "$clients/xdg-shell-protocol.c" -lwayland-client &&
        gcc "${flags[@]}" -o "$clients/vpointer" tools/desktops/vpointer.c \
            "$clients/wlr-virtual-pointer-unstable-v1-protocol.c" -lwayland-client
}
if wants gnome-wayland || wants sway; then
    build_clients >"$work/clients.log" 2>&1 ||
        echo "desktop-matrix: the Wayland clients did not build (see below); their checks fail" >&2
fi

# ---------------------------------------------------------------- the environments

declare -A seconds=()
for env in "${envs[@]}"; do
    echo "== $env" >&2
    start=$SECONDS
    # A session of its own, led by the timeout, so that whatever the
    # environment leaves behind can be found and ended by its ids.
    MATRIX_OWN_SESSION=1 MATRIX_OPTIONS=$MATRIX_OPTIONS setsid timeout -k 15 "$ENV_TIMEOUT" bash "tools/desktops/$env.sh" \
        "$results" "$versions" "$program_dir" "$work/$env" "$clients" &
    session=$!
    wait "$session"
    status=$?
    left=$(ps -o pid= --sid "$session" 2>/dev/null | tr -d ' ')
    for pid in $left; do kill -KILL "$pid" 2>/dev/null; done
    seconds[$env]=$((SECONDS - start))
    if ((status == 124 || status == 137)); then
        echo "desktop-matrix: $env took longer than $ENV_TIMEOUT s and was ended" >&2
    fi
    # Checks an environment never reported (killed before its own cleanup) fail.
    for check in "${CHECKS[@]}"; do
        [ -n "$(result_line "$results" "$env" "$check")" ] ||
            printf '%s\t%s\tfail\tnot reached: the environment was ended (status %s)\n' \
                "$env" "$check" "$status" >>"$results"
    done
done

# ---------------------------------------------------------------- the table

summarise "$results" "$LIMITS" "${envs[@]}"
failed=$?
printf '\nVersions (Qt %s, %s):\n\n' "$(dpkg-query -W -f='${Version}' libqt6gui6 2>/dev/null)" \
    "$("$program_dir/orvanta" --version 2>/dev/null | head -n 1)"
for env in "${envs[@]}"; do
    printf -- '- %s: %s (%d s)\n' "$env" "$(awk -F'\t' -v e="$env" '$1 == e { printf "%s%s", n++ ? "; " : "", $2 }' "$versions")" \
        "${seconds[$env]}"
done
if [ -s "$work/clients.log" ]; then
    printf '\nBuilding the Wayland clients said:\n\n'
    sed 's/^/    /' "$work/clients.log"
fi
[ -n "$keep" ] && printf '\nWork folder kept: %s\n' "$work"
exit "$failed"
