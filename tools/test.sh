#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Sets up a fresh Debian 12 or 13 machine, builds Orvanta and runs every test.
# Installs what building, running and testing need (the test, packaging and
# analysis tools as well) with apt-get, as root, from the network.
#   tools/test.sh            release build in build/
#   tools/test.sh asan       the same suite under AddressSanitizer + UBSan
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"

echo "tools/test.sh: installing what building and testing Orvanta need, if missing (apt-get, as root, from the network)"
tools/setup.sh test
cmake --preset "$preset" -G Ninja >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
