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
# ENV: openbox xfwm4 kwin mutter-x11 gnome-wayland sway weston kwin-wayland
#      (default: all).
# --install        install what the chosen environments need (apt-get, root)
#                  and build our Wayland clients (orvanta_desktop_clients)
# --program-dir    the program folder to test (default: build/bin); each run
#                  works on a copy of it
# --keep           keep the work folder (logs, screenshots) and print its path
# --option         one more line for the Compass.ini the compass starts with,
#                  e.g. StayOnTop=0 to see the "above" check fail
#
# Prints a Markdown table for the Debian release it runs on (rows:
# environments, columns: checks), the failures in full and the versions of
# each environment. A failure listed for the release in
# tools/desktops/limits.tsv prints as "limit"; any other failure makes the
# exit status 1. The checks themselves are tools/desktops/*.py.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

usage() {
    sed -n '10,22p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

install=""
args=()
envs=()
while (($#)); do
    case $1 in
    --install) install=yes ;;
    --keep) args+=("$1") ;;
    --option | --program-dir)
        [ $# -ge 2 ] || usage
        args+=("$1" "$2")
        shift
        ;;
    -h | --help) usage ;;
    -*) usage ;;
    *) envs+=("$1") ;;
    esac
    shift
done

if [ -n "$install" ]; then
    tools/setup.sh python3 || exit 1
    packages=$(/usr/bin/python3 tools/desktops/matrix.py --packages "${envs[@]}") || exit 2
    # shellcheck disable=SC2086 # one word a package
    tools/setup.sh $packages || exit 1
    # Our Wayland clients, now that their libraries are there.
    if [ -d build ] && grep -qx libwayland-dev <<<"$packages"; then
        { cmake -S . -B build >/dev/null && cmake --build build --target orvanta_desktop_clients; } ||
            echo "desktop-matrix: our Wayland clients did not build; the checks that need them fail" >&2
    fi
fi

exec /usr/bin/python3 tools/desktops/matrix.py "${args[@]}" "${envs[@]}"
