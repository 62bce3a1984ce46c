#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Installs what Orvanta needs to build, test and run on Debian 12, or only the
# packages named (tools/setup.sh PACKAGE...). Skips apt-get entirely when
# everything is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    libpng-dev zlib1g-dev libxcb1-dev libxcb-shape0-dev libxcb-shm0-dev libxcb-xfixes0-dev
    libgtest-dev libbenchmark-dev clang-format
    strace xvfb xcompmgr openbox xdotool xclip x11-utils x11-xserver-utils x11-apps imagemagick zip unzip python3
    dbus-daemon fonts-noto-cjk fonts-dejavu-core
    clang-14 libclang-rt-14-dev valgrind
    lintian reuse appstream desktop-file-utils
)
(($#)) && packages=("$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
