#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# openbox with the xcompmgr compositing manager on Xvfb.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

start_xvfb
start_bus
spawn openbox openbox --sm-disable
spawn xcompmgr xcompmgr
wait_until 10 wm_ready || abort "openbox did not start"
version "$(openbox --version | head -n 1), xcompmgr $(package_version xcompmgr)"
INPUT=xdotool
SHOT=x11
run_checks
