#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# KWin (X11) with its compositor on Xvfb; without the breeze theme windows get
# no frames, so it must be installed for the decorations to be real.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

start_xvfb
start_bus
spawn kwin env KDE_FULL_SESSION=true kwin_x11 --replace
wait_until 30 wm_ready || abort "kwin_x11 did not start"
sleep 2 # the compositor starts after the window manager
version "kwin_x11 $(package_version kwin-x11), breeze $(package_version breeze)"
INPUT=xdotool
SHOT=x11
run_checks
