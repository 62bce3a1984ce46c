# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Sourced: where the program puts the window of a compass that starts, as
# src/render/windowplacement.cpp places a new window (no window before):
#
#   expected_window BX BY BW BH DW DH   prints "X Y W H"
#
# for layer bounds BX,BY BWxBH on a desktop of DWxDH: the bounds grown by 2 px
# and clipped to the desktop ("needed"), grown again by the room, max(48, an
# eighth of needed's larger side), and clipped; that size centred on needed's
# centre as QRect::moveCenter does (inclusive right and bottom edges), then
# moved back inside the desktop.
expected_window() {
    awk -v bx="$1" -v by="$2" -v bw="$3" -v bh="$4" -v dw="$5" -v dh="$6" '
        function clip(v, lo, hi) { return v < lo ? lo : (v > hi ? hi : v) }
        function half(v) { return v < 0 ? -int(-v / 2) : int(v / 2) } # C++ division
        BEGIN {
            l = clip(bx - 2, 0, dw); t = clip(by - 2, 0, dh)
            r = clip(bx + bw + 2, 0, dw); b = clip(by + bh + 2, 0, dh) # exclusive
            nw = r - l; nh = b - t
            room = int((nw > nh ? nw : nh) / 8); if (room < 48) room = 48
            rw = clip(r + room, 0, dw) - clip(l - room, 0, dw)
            rh = clip(b + room, 0, dh) - clip(t - room, 0, dh)
            cx = half(l + r - 1); cy = half(t + b - 1)
            x = cx - half(rw - 1); y = cy - half(rh - 1)
            x = clip(x, 0, dw - rw); y = clip(y, 0, dh - rh)
            print x, y, rw, rh
        }'
}
