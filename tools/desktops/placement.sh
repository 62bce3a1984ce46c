# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Sourced: where the program puts the window of a compass that starts, as
# src/render/windowplacement.cpp places a new window (no window before):
#
#   expected_window BX BY BW BH DW DH   prints "X Y W H"
#
# for layer bounds BX,BY BWxBH on a desktop of DWxDH: the bounds grown by 2 px
# and clipped to the desktop. A first window fits the compass.
expected_window() {
    awk -v bx="$1" -v by="$2" -v bw="$3" -v bh="$4" -v dw="$5" -v dh="$6" '
        function clip(v, lo, hi) { return v < lo ? lo : (v > hi ? hi : v) }
        BEGIN {
            l = clip(bx - 2, 0, dw); t = clip(by - 2, 0, dh)
            r = clip(bx + bw + 2, 0, dw); b = clip(by + bh + 2, 0, dh) # exclusive
            print l, t, r - l, b - t
        }'
}
