// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Writers for the Windows picture containers the program ships: 24-bit BMP
// skins, .ico tray icons, and .ani animated cursors made of .cur frames.
// All integers in these formats are little-endian.

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>
#include <vector>

namespace orvanta::art {

// A 24-bit bottom-up BMP. Alpha is dropped; callers key transparency first.
[[nodiscard]] QByteArray bmp24(const QImage& image);

struct IconImage {
    QImage image;   // any format; stored as 32-bit BGRA with an AND mask
    QPoint hotspot; // used by cursors only
};

// An .ico (type 1) or .cur (type 2) file. Every image is stored as a DIB, which
// every reader of these formats understands, unlike PNG entries.
[[nodiscard]] QByteArray iconFile(const std::vector<IconImage>& images, bool cursor);

struct AniFrame {
    IconImage cursor;
    int jiffies = 10; // how long the frame shows, in 1/60 s
};

// A RIFF "ACON" animated cursor: anih, rate, seq and a LIST "fram" of icon
// chunks, each a one-image .cur file. Frames play in order and loop.
[[nodiscard]] QByteArray aniFile(const std::vector<AniFrame>& frames, const QString& title);

// Writes bytes to a file, creating its folder; throws std::runtime_error naming
// the file when that fails.
void writeBytes(const QString& path, const QByteArray& bytes);
void writePng(const QString& path, const QImage& image);

} // namespace orvanta::art
