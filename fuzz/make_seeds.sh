#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Regenerates the seed corpora under fuzz/corpus/<target>/ from the program's
# own files and from files made by real tools (ImageMagick, zip, Python's
# zipfile). The seeds are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"
root=$(cd .. && pwd)
py=/usr/bin/python3
corpus=corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for t in png bmp zip installer options units ani skin typedentry; do
    rm -rf "${corpus:?}/$t"
    mkdir -p "$corpus/$t"
done

# A small picture with colour, gradients and a transparent corner.
convert -size 9x7 gradient:red-blue \( -size 9x7 gradient:white-black -rotate 90 \) \
    -compose multiply -composite -alpha set -region 3x3+0+0 -alpha transparent "$work/src.png"

# PNG: every colour type and depth a tool writes, interlaced and with tRNS.
png=$corpus/png
for bits in 1 2 4; do
    convert "$work/src.png" -alpha off -colorspace gray -define png:color-type=0 \
        -define png:bit-depth=$bits "PNG:$png/gray$bits.png"
done
convert "$work/src.png" -alpha off -colorspace gray -depth 8 "PNG:$png/gray8.png"
convert "$work/src.png" -alpha off -colorspace gray -depth 16 "PNG:$png/gray16.png"
convert "$work/src.png" -colorspace gray -depth 8 "PNG:$png/grayalpha8.png"
convert "$work/src.png" -colorspace gray -depth 16 "PNG64:$png/grayalpha16.png"
convert "$work/src.png" -alpha off -colors 4 -define png:color-type=3 -define png:bit-depth=2 \
    "PNG:$png/palette2.png"
convert "$work/src.png" -alpha off -colors 16 -define png:color-type=3 -define png:bit-depth=4 \
    "PNG:$png/palette4.png"
convert "$work/src.png" "PNG8:$png/palette8-trns.png"
convert "$work/src.png" -alpha off "PNG24:$png/rgb8.png"
convert "$work/src.png" -alpha off -depth 16 "PNG48:$png/rgb16.png"
convert "$work/src.png" "PNG32:$png/rgba8.png"
convert "$work/src.png" "PNG64:$png/rgba16.png"
convert "$work/src.png" -interlace PNG "PNG32:$png/rgba8-interlaced.png"
convert "$work/src.png" -alpha off -transparent red "PNG24:$png/rgb8-trns.png"
convert -size 1x1 xc:white "PNG24:$png/one-pixel.png"

# BMP: 1, 4, 8, 16 (bit fields), 24 and 32 bits; core header; RLE (refused).
bmp=$corpus/bmp
convert "$work/src.png" -alpha off -monochrome "BMP3:$bmp/depth1.bmp"
convert "$work/src.png" -alpha off -colors 16 -type palette "BMP3:$bmp/depth4.bmp"
convert "$work/src.png" -alpha off -colors 200 -type palette -compress none "BMP3:$bmp/depth8.bmp"
convert "$work/src.png" -alpha off -define bmp:subtype=RGB565 "BMP:$bmp/depth16-565.bmp"
convert "$work/src.png" -alpha off -define bmp:subtype=RGB555 "BMP:$bmp/depth16-555.bmp"
convert "$work/src.png" -alpha off -type truecolor "BMP3:$bmp/depth24.bmp"
convert "$work/src.png" -type truecolormatte "BMP:$bmp/depth32-v5.bmp"
convert "$work/src.png" -alpha off -type truecolor "BMP2:$bmp/depth24-core.bmp"
convert "$work/src.png" -alpha off -colors 16 -type palette -compress rle "BMP3:$bmp/rle8.bmp"
$py - "$bmp" <<'PY'
import struct, sys
# A top-down 24-bit file (negative height), which ImageMagick does not write.
w, h = 3, 2
row = bytes([0, 0, 255, 0, 255, 0, 255, 0, 0]) + b"\0" * 3
pixels = row * h
header = struct.pack("<IiiHHIIiiII", 40, w, -h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
size = 14 + len(header) + len(pixels)
open(sys.argv[1] + "/topdown24.bmp", "wb").write(
    b"BM" + struct.pack("<IHHI", size, 0, 0, 14 + len(header)) + header + pixels)
PY

# Skin packages: zip and Python's zipfile, deflated, stored and streamed,
# with folders, a traversal attempt, a link and a non-UTF-8 name.
mkdir -p "$work/Wood/sub"
cp "$root/assets/program/default/default.ini" "$work/Wood/wood.ini"
sed -i 's/^Image=.*/Image=wood.png/' "$work/Wood/wood.ini"
cp "$corpus/png/rgba8.png" "$work/Wood/wood.png"
echo "read me" > "$work/Wood/sub/notes.txt"
zip=$corpus/zip
(cd "$work" && zip -qr "$OLDPWD/$zip/zip-deflated.zip" Wood)
(cd "$work" && zip -qr0 "$OLDPWD/$zip/zip-stored.zip" Wood)
(cd "$work/Wood" && zip -q "$OLDPWD/$zip/zip-flat.zip" wood.ini wood.png)
(cd "$work" && ln -sf /etc/passwd link && zip -q --symlinks "$OLDPWD/$zip/zip-symlink.zip" link Wood/wood.ini)
(cd "$work/Wood" && printf 'x' | zip -q "$OLDPWD/$zip/zip-stdin-stream.zip" -)
$py "$root/tests/data/packages/make_package.py" "$zip/py-deflated.zip" "$work/Wood"
$py "$root/tests/data/packages/make_package.py" - "$work/Wood" | cat > "$zip/py-streamed.zip"
$py - "$zip" <<'PY'
import sys, zipfile
d = sys.argv[1]
with zipfile.ZipFile(d + "/py-hostile-names.zip", "w", zipfile.ZIP_STORED) as z:
    z.writestr("../escape.ini", b"[Horizontal]\r\nImage=escape.png\r\n")
    z.writestr("/absolute.txt", b"x")
    z.writestr("C:\\drive.txt", b"x")
    z.writestr("a\\..\\..\\back.txt", b"x")
    z.writestr("ok.ini", b"[Horizontal]\r\nImage=ok.png\r\n")
with zipfile.ZipFile(d + "/py-gb18030-name.zip", "w", zipfile.ZIP_DEFLATED) as z:
    info = zipfile.ZipInfo("皮肤.ini".encode("gb18030").decode("cp437"))
    z.writestr(info, b"[Horizontal]\r\n")
with zipfile.ZipFile(d + "/py-empty.zip", "w") as z:
    pass
with zipfile.ZipFile(d + "/py-comment.zip", "w", zipfile.ZIP_DEFLATED) as z:
    z.comment = b"a comment at the end"
    z.writestr("a.ini", b"[Main]\r\n" * 50)
PY
cp "$zip"/*.zip "$corpus/installer/"

# Options and units: the shipped files and hand edits.
opt=$corpus/options
cat > "$opt/typical.ini" <<'INI'
[Options]
FirstTime=0
StayOnTop=1
skinPath=/opt/orvanta/skins/Brass/brass.ini
Quality=1
Transparency=20
Shape=6
Scribe=1
X=640
Y=480
Angle=33.5
Measurement=250
SelectedBaseColor=2
MeasureType=1
INI
printf '\xef\xbb\xbf[options]\r\nx = $1F\r\ny=0x10\r\nangle=1e30\r\nmeasurement=nan\r\n[Mine]\r\nk=v\r\n' > "$opt/bom-hex-nan.ini"
printf '[Options]\r\nAngle=12,5\r\nMeasurement=-inf\r\nShape=99999999999\r\n; comment\r\n[Options]\r\nX=1\r\n' > "$opt/comma-duplicates.ini"
printf '[选项]\r\nskinPath=皮肤\\默认.ini\r\n[Options]\r\nskinPath=皮肤/默认.ini\r\n' | iconv -f UTF-8 -t GB18030 > "$opt/gb18030.ini"
printf 'no section=1\n[x=1]\n[]\n=empty key\n[Options\nTransparency=100\n' > "$opt/odd-lines.ini"
units=$corpus/units
cp "$root/assets/program/distances.ini" "$units/shipped.ini"
printf '[选项]\r\nUnitsCount=9\r\nUnitsLockedCount=6\r\nSelectedUnit=8\r\n[单位8]\r\n名称=英尺\r\nPixelNum=1152\r\nUnitNum=1\r\nDecimalNum=4\r\n[单位9]\r\n名称=零\r\nPixelNum=0\r\nUnitNum=-1e400\r\nDecimalNum=-3\r\n' > "$units/custom-broken.ini"
printf '[选项]\r\nUnitsCount=2147483647\r\nUnitsLockedCount=-5\r\nSelectedUnit=-1\r\n' > "$units/huge-count.ini"
printf '[选项]\r\nUnitsCount=2\r\nSelectedUnit=1\r\n[单位2]\r\nPixelNum=nan\r\nUnitNum=inf\r\nDecimalNum=99\r\n' > "$units/nan-inf.ini"

# Animated cursors: the program's own and ones built from ImageMagick icons.
ani=$corpus/ani
cp "$root/assets/program/img/pointer.ani" "$root/assets/program/img/grab.ani" \
   "$root/assets/program/img/down.ani" "$ani/"
convert -size 16x16 xc:none -fill black -draw 'polygon 0,0 0,12 8,8' "$work/a.png"
convert -size 16x16 xc:none -fill blue -draw 'circle 8,8 8,3' "$work/b.png"
convert "$work/a.png" "ICO:$work/a.ico"
convert "$work/b.png" "ICO:$work/b.ico"
$py - "$ani" "$work/a.ico" "$work/b.ico" <<'PY'
import struct, sys
out, icons = sys.argv[1], [open(p, "rb").read() for p in sys.argv[2:]]
def chunk(tag, data):
    return tag + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")
def cur(ico, x, y):  # an ICO directory turned into a CUR with a hotspot
    return ico[:2] + struct.pack("<H", 2) + ico[4:6] + ico[6:10] + struct.pack("<HH", x, y) + ico[14:]
def ani(frames, steps, seq=None, rates=None, flags=1, rate=6):
    anih = struct.pack("<9I", 36, len(frames), steps, 0, 0, 0, 0, rate, flags)
    body = b"ACON" + chunk(b"anih", anih)
    if rates is not None:
        body += chunk(b"rate", struct.pack("<%dI" % len(rates), *rates))
    if seq is not None:
        body += chunk(b"seq ", struct.pack("<%dI" % len(seq), *seq))
    body += b"LIST" + struct.pack("<I", 4 + sum(len(chunk(b"icon", f)) for f in frames)) + b"fram"
    body += b"".join(chunk(b"icon", f) for f in frames)
    return b"RIFF" + struct.pack("<I", len(body)) + body
a, b = cur(icons[0], 1, 1), cur(icons[1], 8, 8)
open(out + "/two-frames-seq.ani", "wb").write(ani([a, b], 4, seq=[0, 1, 1, 0], rates=[3, 6, 9, 1]))
open(out + "/ico-frame.ani", "wb").write(ani([icons[1]], 1))
open(out + "/hotspot-outside.ani", "wb").write(ani([cur(icons[0], 500, 500)], 0))
open(out + "/raw-frames.ani", "wb").write(ani([a], 1, flags=0))
PY

# Skins: the definition, then "\" and a newline, then the picture (the data
# provider reads a backslash-terminated string, with "\\" for a backslash).
skin=$corpus/skin
pack_skin() { # definition picture output
    $py - "$1" "$2" "$3" <<'PY'
import sys
ini, pic, out = (open(sys.argv[1], "rb").read(), open(sys.argv[2], "rb").read(), sys.argv[3])
open(out, "wb").write(ini.replace(b"\\", b"\\\\") + b"\\\n" + pic)
PY
}
sed 's/^Image=.*/Image=skin.png/' "$root/assets/program/default/default.ini" > "$work/default.ini"
pack_skin "$work/default.ini" "$root/assets/program/default/default.png" "$skin/default-png"
sed 's/^Image=.*/Image=skin.bmp/' "$root/assets/program/skins/Brass/brass.ini" > "$work/brass.ini"
convert "$root/assets/program/skins/Brass/brass.bmp" -colors 16 -type palette "BMP3:$work/brass.bmp"
pack_skin "$work/brass.ini" "$work/brass.bmp" "$skin/brass-bmp4"
cat > "$work/edges.ini" <<'INI'
[Main]
TransColor=ff00ff
BaseColors=ff0000
FontSize=99999
[Horizontal]
Image=skin.png
BaseRect=0, 0, 9, 7
BaseEdge=9
SlideRect=8, 6, 1, 1
SlideEdge=-9
BarRect=9, 7, 0, 0
BasePanelRect=-2147483648, 0, 2147483647, 7
SizeRect=0, 0, 9, 7, 1
CloseRect=8, 0, 1, 1, 2
CloseRectPressed=9, 7, 5, 5
RadiusRect=0, 6, 9, 1, 3
INI
pack_skin "$work/edges.ini" "$corpus/png/rgba8.png" "$skin/edges-png"
sed 's/skin.png/skin.bmp/' "$work/edges.ini" > "$work/edges-bmp.ini"
pack_skin "$work/edges-bmp.ini" "$corpus/bmp/depth24.bmp" "$skin/edges-bmp"

# Typed entry: measure type, shape, scribe/unit bytes, then keys by index into
# the key table (0-9 digits, 10 ".", 11-14 + - * /, 15 Backspace, 16 Enter,
# 17-21 stray characters, 22 a render step).
$py - "$corpus/typedentry" <<'PY'
import sys
d = sys.argv[1]
seeds = {
    "radius-set": [0, 0, 0, 2, 5, 0, 16, 22],
    "add-then-divide": [0, 4, 1, 11, 5, 0, 16, 22, 14, 0, 16, 22, 14, 3, 10, 5, 16, 22],
    "area-huge": [2, 37, 3] + [9] * 40 + [16, 22, 13] + [9] * 30 + [16, 22],
    "circumference-point": [1, 3, 6, 10, 10, 5, 16, 15, 15, 15, 7, 16, 22],
    "stray-keys": [0, 0, 2, 17, 18, 19, 20, 21, 12, 16, 15, 16, 22],
}
for name, keys in seeds.items():
    open(f"{d}/{name}", "wb").write(bytes(keys))
PY
du -sh "$corpus"/* | sort -k2
