#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# mutter as an X11 window manager and compositor on Xvfb.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

start_xvfb
start_bus
spawn mutter mutter --x11 --replace --sm-disable
wait_until 20 wm_ready || abort "mutter --x11 did not start"
sleep 1
version "$(mutter --version | head -n 1) (X11)"
INPUT=xdotool
SHOT=x11
run_checks
