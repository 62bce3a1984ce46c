#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Writes the picture fixtures of the picture reader tests with ImageMagick, so
# that the files come from a writer that is not ours. The generated files are
# committed; run this again only to change them. Every PNG is checked for the
# colour type, bit depth, interlace method and tRNS chunk it is meant to have,
# because ImageMagick picks its own encoding when it thinks it knows better.
#
# The tests compare every pixel our readers decode with what Qt's readers make
# of the same file; only the 16-bit BMP pattern (rgb555, rgb565) is repeated in
# tests/test_picture.cpp. The pictures are 11 x 9 pixels: odd sizes exercise
# the partial bytes of packed rows and every Adam7 pass.
set -eu
cd "$(dirname "$0")"

W=11
H=9

# pixels KIND: an ImageMagick pixel enumeration of the pattern KIND.
pixels() {
    awk -v kind="$1" -v W=$W -v H=$H '
    function g8(x, y) { return (x * 23 + y * 11) % 256 }
    function g16(x, y) { return (x * 5923 + y * 2711 + 77) % 65536 }
    function a8(x, y) { return (x * 20 + y * 7 + 3) % 256 }
    function a16(x, y) { return (x * 3001 + y * 1999 + 5) % 65536 }
    # the smallest 8-bit value that ImageMagick, which truncates, writes as level k
    # of a channel of `bits` bits
    function lv(k, bits) { v = k * 255 / (2 ^ bits - 1); return v == int(v) ? v : int(v) + 1 }
    BEGIN {
        depth = (kind ~ /16$/) ? 65535 : 255
        printf "# ImageMagick pixel enumeration: %d,%d,%d,srgba\n", W, H, depth
        for (y = 0; y < H; y++) for (x = 0; x < W; x++) {
            a = depth
            if (kind ~ /^gray[124]$/) {
                d = substr(kind, 5) + 0; n = 2 ^ d
                r = g = b = ((x * 3 + y * 5) % n) * 255 / (n - 1)
            } else if (kind == "gray8" || kind == "graya8") {
                r = g = b = g8(x, y)
            } else if (kind == "gray16" || kind == "graya16") {
                r = g = b = g16(x, y)
            } else if (kind == "rgb8" || kind == "rgba8") {
                r = (x * 23) % 256; g = (y * 29 + 7) % 256; b = (x * y * 7 + 40) % 256
            } else if (kind == "rgb16" || kind == "rgba16") {
                r = (x * 5923 + 11) % 65536; g = (y * 2711 + 300) % 65536
                b = (x * y * 977 + 4000) % 65536
            } else if (kind == "rgb555" || kind == "rgb565") {
                gbits = kind == "rgb565" ? 6 : 5
                r = lv(x * 3 % 32, 5); g = lv((y * 7 + 1) % (2 ^ gbits), gbits); b = lv(x * y % 32, 5)
            } else if (kind ~ /^pal[124]$/ || kind == "pal4a") {
                d = substr(kind, 4, 1) + 0; n = 2 ^ d
                i = (x + (d == 1 ? 1 : d == 2 ? 2 : 3) * y) % n
                r = i * 16 + 5; g = 255 - i * 13; b = (i * 37) % 256
                # ImageMagick keeps colours premultiplied by alpha: these
                # colours and alphas survive that exactly
                if (kind == "pal4a") {
                    r = i * 15; g = 255 - i * 15; b = (i * 45) % 255
                    a = 17 * (i + 1) > 255 ? 255 : 17 * (i + 1)
                }
            } else if (kind == "graytrns") {
                if ((x + y) % 5 == 0) { r = g = b = 77; a = 0 }
                else r = g = b = (2 * g8(x, y)) % 256
            } else if (kind == "rgbtrns") {
                if ((x + y) % 5 == 0) { r = 77; g = 0; b = 200; a = 0 }
                else { r = (2 * x * 23) % 256; g = (y * 29 + 7) % 256; b = (x * y * 7 + 40) % 256 }
            }
            if (kind == "graya8" || kind == "rgba8") a = a8(x, y)
            if (kind == "graya16" || kind == "rgba16") a = a16(x, y)
            printf "%d,%d: (%d,%d,%d,%d)\n", x, y, r, g, b, a
        }
    }'
}

byte() { od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '; }

# png KIND COLOURTYPE DEPTH INTERLACE(0/1) TRNS(0/1) NAME [ENCODING]
# ENCODING replaces the colour type and depth defines where ImageMagick ignores
# them (a palette with partial alpha loses its alpha when they are given).
png() {
    interlace=none
    [ "$4" = 1 ] && interlace=PNG
    encoding="${7:--define png:color-type=$2 -define png:bit-depth=$3}"
    # shellcheck disable=SC2086 # the encoding is a list of options
    pixels "$1" | convert txt:- -strip -interlace $interlace $encoding \
        -define png:exclude-chunks=date,time,gAMA,cHRM,bKGD "png/$6.png"
    got="$(byte "png/$6.png" 25) $(byte "png/$6.png" 24) $(byte "png/$6.png" 28)"
    if [ "$got" != "$2 $3 $4" ]; then
        echo "$6.png: colour type, depth, interlace are $got, not $2 $3 $4" >&2
        exit 1
    fi
    if grep -q tRNS "png/$6.png"; then trns=1; else trns=0; fi
    if [ "$trns" != "$5" ]; then
        echo "$6.png: tRNS present is $trns, wanted $5" >&2
        exit 1
    fi
}

mkdir -p png bmp
png gray1 0 1 0 0 gray1
png gray2 0 2 0 0 gray2
png gray4 0 4 0 0 gray4
png gray8 0 8 0 0 gray8
png gray16 0 16 0 0 gray16
png rgb8 2 8 0 0 rgb8
png rgb16 2 16 0 0 rgb16
png pal1 3 1 0 0 pal1
png pal2 3 2 0 0 pal2
png pal4 3 4 0 0 pal4
png rgb8 3 8 0 0 pal8
png graya8 4 8 0 0 graya8
png graya16 4 16 0 0 graya16
png rgba8 6 8 0 0 rgba8
png rgba16 6 16 0 0 rgba16
png graytrns 0 8 0 1 gray8-trns
png rgbtrns 2 8 0 1 rgb8-trns
png pal4a 3 4 0 1 pal4-trns "-type PaletteAlpha"
png gray1 0 1 1 0 gray1-interlaced
png pal4 3 4 1 0 pal4-interlaced
png rgb16 2 16 1 0 rgb16-interlaced
png rgba8 6 8 1 0 rgba8-interlaced
png graya16 4 16 1 0 graya16-interlaced

# bmp KIND NAME HEADERSIZE BITS COMPRESSION FORMAT CONVERT-OPTIONS...: checked like
# the PNGs.
# The oldest (12-byte) header keeps its bit count at offset 24, the others at 28.
bmp() {
    kind=$1 name=$2 header=$3 bits=$4 compression=$5 format=$6
    shift 6
    pixels "$kind" | convert txt:- "$@" "$format:bmp/$name.bmp"
    f="bmp/$name.bmp"
    if [ "$header" = 12 ]; then
        got="$(od -An -tu4 -j14 -N4 "$f" | tr -d ' ') $(od -An -tu2 -j24 -N2 "$f" | tr -d ' ') 0"
    else
        got="$(od -An -tu4 -j14 -N4 "$f" | tr -d ' ') $(od -An -tu2 -j28 -N2 "$f" | tr -d ' ')"
        got="$got $(od -An -tu4 -j30 -N4 "$f" | tr -d ' ')"
    fi
    if [ "$got" != "$header $bits $compression" ]; then
        echo "$name.bmp: header, bits, compression are $got, not $header $bits $compression" >&2
        exit 1
    fi
}

# BMPs: palettes of 1, 4 and 8 bits and true colour in the classic header,
# 16 and 32 bits with bit-field masks in the newest header, the oldest header,
# and a run-length encoded file that the reader refuses.
bmp pal1 pal1 40 1 0 BMP3 -type Palette -compress none
bmp pal4 pal4 40 4 0 BMP3 -type Palette -compress none
bmp rgb8 pal8 40 8 0 BMP3 -type Palette -compress none
bmp rgb8 pal8-rle 40 8 1 BMP3 -type Palette -compress RLE
bmp rgb8 rgb24 40 24 0 BMP3 -type TrueColor -compress none
bmp rgb555 rgb555 124 16 3 BMP -alpha off -define bmp:subtype=RGB555
bmp rgb565 rgb565 124 16 3 BMP -alpha off -define bmp:subtype=RGB565
bmp rgba8 rgba32 124 32 3 BMP -type TrueColorAlpha
bmp pal4 core-pal4 12 4 0 BMP2 -type Palette
bmp rgb8 core-rgb24 12 24 0 BMP2 -type TrueColor
