// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/pieces.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace orvanta {

namespace {

// How far and how much the bleeding looks: enough to cover what a smoothing
// resampler reaches at the edge of a piece, small enough to stay cheap.
constexpr int kBleedRings = 7; // rings 1..6
constexpr int kBleedSamples = 21;

constexpr QRgb kRgbMask = 0x00ffffff;

// Nearest whole number to sum / count, halves to even.
int roundedMean(int sum, int count) {
    const int q = sum / count;
    const int twiceRest = 2 * (sum % count);
    if (twiceRest > count || (twiceRest == count && (q & 1) != 0))
        return q + 1;
    return q;
}

class RingSampler {
public:
    RingSampler(const QImage& bitmap, int x, int y)
        : m_bitmap(bitmap), m_x(x), m_y(y), m_lastX(bitmap.width() - 2),
          m_lastY(bitmap.height() - 2) {}

    // The neighbours of ring d in their fixed order: corners, axis points, then
    // the rest of the ring from the middle outwards.
    void visitRing(int d) {
        const int x = m_x;
        const int y = m_y;
        take(x - d, y - d);
        take(x + d, y - d);
        take(x - d, y + d);
        take(x + d, y + d);
        take(x, y - d);
        take(x - d, y);
        take(x + d, y);
        take(x, y + d);
        for (int k = 1; k < d; ++k) {
            take(x - k, y - d);
            take(x + k, y - d);
            take(x - d, y - k);
            take(x - d, y + k);
            take(x + d, y - k);
            take(x + d, y + k);
            take(x - k, y + d);
            take(x + k, y + d);
        }
    }

    [[nodiscard]] int count() const { return m_count; }
    [[nodiscard]] QRgb mean() const {
        return qRgba(roundedMean(m_red, m_count), roundedMean(m_green, m_count),
                     roundedMean(m_blue, m_count), 0);
    }

private:
    // Moving right or down stops one short of the last column and row: the
    // documented rule skin authors see in their bled pieces.
    void take(int c, int r) {
        if (c < 0 || r < 0 || (c > m_x && c > m_lastX) || (r > m_y && r > m_lastY))
            return;
        if (m_count >= kBleedSamples)
            return;
        const QRgb p = reinterpret_cast<const QRgb*>(m_bitmap.constScanLine(r))[c];
        if (qAlpha(p) == 0)
            return;
        m_red += qRed(p);
        m_green += qGreen(p);
        m_blue += qBlue(p);
        ++m_count;
    }

    const QImage& m_bitmap;
    int m_x;
    int m_y;
    int m_lastX;
    int m_lastY;
    int m_count = 0;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
};

} // namespace

void copyPixels(QImage& target, QPoint at, const QImage& source, const QRect& from) {
    const QRect inSource = from & source.rect();
    const QPoint shift = at - from.topLeft();
    const QRect r = inSource.translated(shift) & target.rect();
    if (r.isEmpty())
        return;
    const auto bytes = std::size_t(r.width()) * sizeof(QRgb);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y - shift.y()));
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(y));
        std::memcpy(out + r.left(), in + (r.left() - shift.x()), bytes);
    }
}

QImage keyOutColour(const QImage& picture, QRgb key, QRgb bleed) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = key & kRgbMask;
    const QRgb transparent = bleed & kRgbMask;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = (line[x] & kRgbMask) == keyRgb ? transparent : (line[x] | 0xff000000);
    }
    return out;
}

QImage cutPiece(const QImage& picture, const QRect& piece, QRgb bleed) {
    if (piece.width() <= 0 || piece.height() <= 0)
        return QImage();
    QImage out(piece.size(), QImage::Format_ARGB32);
    out.fill(bleed & kRgbMask);
    if (picture.format() == QImage::Format_ARGB32)
        copyPixels(out, QPoint(0, 0), picture, piece);
    else
        copyPixels(out, QPoint(0, 0), picture.convertToFormat(QImage::Format_ARGB32), piece);
    bleedEdges(out);
    return out;
}

void bleedEdges(QImage& bitmap) {
    if (bitmap.format() != QImage::Format_ARGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_ARGB32);
    const int w = bitmap.width();
    const int h = bitmap.height();
    const int ringLimit = std::min({kBleedRings, w / 2 - 1, h / 2 - 1});
    if (ringLimit <= 1)
        return;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) != 0)
                continue;
            // Pixels changed here keep alpha 0, so later pixels never sample
            // them: the result does not depend on the visiting order.
            RingSampler sampler(bitmap, x, y);
            for (int d = 1; sampler.count() == 0 && d < ringLimit; ++d)
                sampler.visitRing(d);
            if (sampler.count() > 0)
                line[x] = sampler.mean();
        }
    }
}

} // namespace orvanta
