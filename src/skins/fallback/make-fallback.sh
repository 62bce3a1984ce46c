#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Draws the picture of the built-in skin, the one the program shows when not
# even its default skin can be loaded. The result is committed; run this again
# only to change the look. The pieces must stay where fallback.ini says:
#   base   0,0 48x64    pivot mark at x 24, y 32
#   bar   48,26 16x12   its middle row (32) is the pivot's row
#   slide 64,0 64x64    pointer at x 72 (8 from its left), readout box 78,20 46x24
set -eu
cd "$(dirname "$0")"

body='rgba(52,64,80,0.92)'
edge='rgb(20,24,32)'

convert -size 128x64 xc:none \
    -stroke "$edge" -strokewidth 1 -fill "$body" \
    -draw 'roundrectangle 3,6 44,57 6,6' \
    -draw 'roundrectangle 66,6 125,57 6,6' \
    -stroke none -fill 'rgb(150,160,172)' -draw 'rectangle 48,26 63,37' \
    -stroke "$edge" -draw 'line 48,26 63,26' -draw 'line 48,37 63,37' \
    -stroke 'rgb(230,236,242)' -fill none \
    -draw 'circle 24,32 24,27' -draw 'line 24,22 24,42' -draw 'line 14,32 34,32' \
    -stroke 'rgb(220,60,40)' -strokewidth 2 -draw 'line 72,10 72,54' \
    -stroke "$edge" -strokewidth 1 -fill 'rgb(235,240,245)' -draw 'rectangle 78,20 123,43' \
    -strip -define png:exclude-chunks=date,time,gAMA,cHRM,bKGD \
    PNG32:fallback.png
