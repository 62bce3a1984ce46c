// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Skin pictures: PNG through libpng, BMP through a reader of our own. Both come
// back as Format_ARGB32 with straight (not premultiplied) alpha, whatever the
// file's colour type or bit depth, so the composition sees one pixel layout.
//
// Pictures are untrusted input (skins come from packages anyone can make):
// every length is checked against the bytes actually present, and sizes no
// skin needs are refused before anything is allocated.

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace orvanta {

// The largest width or height of a picture we read. Skin sheets are a few
// hundred pixels wide; this still allows 1 GiB of pixels, not more.
inline constexpr int kMaxPictureSide = 16384;

// True when the picture at `path` is read as PNG: its extension, lower-cased,
// is ".png". Everything else goes to the BMP reader.
[[nodiscard]] bool isPngPath(const QString& path);

// Reads the picture at `path`, a file or a Qt resource (":/..."). Throws
// OrvantaError naming the file and what is wrong with it.
[[nodiscard]] QImage loadPicture(const QString& path);

// The decoders, on bytes already read. They throw OrvantaError with the reason
// alone (no file name).
//
// PNG: every colour type and bit depth; a tRNS chunk becomes alpha; interlaced
// files are read; 16-bit samples are scaled to 8 bits with rounding. No gamma
// correction: skin colours are meant as written.
[[nodiscard]] QImage decodePng(QByteArrayView bytes);
// BMP: 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or top-down rows,
// uncompressed or with bit-field masks; the core (12-byte) header and the info
// headers of 40 bytes and more. Every pixel is opaque: a BMP skin marks its
// transparent parts with a key colour, not with alpha, and 32-bit files often
// leave the fourth byte zero. Run-length encoded files are refused.
[[nodiscard]] QImage decodeBmp(QByteArrayView bytes);

} // namespace orvanta
