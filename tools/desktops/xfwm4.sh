#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# xfwm4 with its own compositor on Xvfb.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

start_xvfb
start_bus
spawn xfwm4 xfwm4 --compositor=on --vblank=off --sm-client-disable
wait_until 15 wm_ready || abort "xfwm4 did not start"
version "xfwm4 $(package_version xfwm4)"
INPUT=xdotool
SHOT=x11
run_checks
