#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Installs the Debian packages Orvanta needs, on Debian 12 or 13, with apt-get
# (as root, through sudo when needed, from the network). Skips apt-get
# entirely when everything is already there.
#   tools/setup.sh run         what building and running the program need
#   tools/setup.sh [test]      that, and the test, packaging and analysis tools
#   tools/setup.sh PACKAGE...  only the packages named
set -euo pipefail

# Building the program, and running it on a virtual X server when there is no
# display (tools/run.sh): Xvfb, a compositing manager, a backdrop, a screenshot.
run_packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    libpng-dev zlib1g-dev libxcb1-dev libxcb-shape0-dev libxcb-shm0-dev libxcb-xfixes0-dev
    fonts-noto-cjk fonts-dejavu-core
    xvfb xcompmgr x11-utils x11-xserver-utils imagemagick
)
# The tests (the window tests drive the program on Xvfb with openbox; the
# automation test talks to it with gdbus, busctl and python-dbus), the
# benchmarks, formatting, licences, the package checks, valgrind, and the
# sanitizers and fuzzers, built with the release's own clang.
test_packages=(
    git libgtest-dev libbenchmark-dev clang-format
    strace openbox xdotool xclip x11-apps zip unzip
    python3 python3-dbus python3-gi dbus-daemon libglib2.0-bin systemd
    clang libclang-rt-dev valgrind
    lintian reuse appstream desktop-file-utils
)

case "${1:-test}" in
run) packages=("${run_packages[@]}") ;;
test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
-*)
    sed -n '5,10p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
    ;;
*) packages=("$@") ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
((${#missing[@]})) || exit 0

# Inside tools/in-debian.sh the command has no network: the script outside
# installs into the root for us.
if [ -n "${ORVANTA_APT_REQUEST:-}" ]; then
    echo "Installing (through tools/in-debian.sh): ${missing[*]}"
    exec 9>"$ORVANTA_APT_REQUEST.lock"
    flock 9
    echo "${missing[*]}" >"$ORVANTA_APT_REQUEST"
    read -r status <"$ORVANTA_APT_REPLY"
    exit "$status"
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing with apt-get (as root, from the network): ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
