// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Preparing the pieces cut out of a skin picture: colour keying of BMP
// pictures, cutting a rectangle out, and bleeding the colours of visible pixels
// into the fully transparent ones around them, so that a piece drawn turned and
// smoothed mixes in its own colours at its edges and not the key colour.

#include <QImage>
#include <QRect>
#include <QRgb>

namespace orvanta {

// Copies the pixels of `from` in `source` to `target` with their top-left
// corner at `at`, as they are (alpha and the colour of transparent pixels
// included), clipped to both bitmaps. Both must be 32-bit.
void copyPixels(QImage& target, QPoint at, const QImage& source, const QRect& from);

// A copy of `picture` (any format) as straight ARGB32 in which every pixel whose
// red, green and blue equal those of `key` becomes `bleed` at alpha 0 and every
// other pixel is opaque.
[[nodiscard]] QImage keyOutColour(const QImage& picture, QRgb key, QRgb bleed);

// The pixels of `picture` inside `piece` (alpha included) in a new straight
// ARGB32 bitmap of the piece's size; parts of the piece outside the picture are
// `bleed` at alpha 0. The result is bled. A piece without width or height
// gives a null bitmap.
[[nodiscard]] QImage cutPiece(const QImage& picture, const QRect& piece, QRgb bleed);

// Gives every fully transparent pixel of an ARGB32 bitmap the rounded average
// colour of the visible pixels on the nearest ring around it that has any (at
// most six rings, at most 21 pixels), keeping it fully transparent. Bitmaps
// smaller than 6 x 6 pixels are left as they are.
void bleedEdges(QImage& bitmap);

} // namespace orvanta
