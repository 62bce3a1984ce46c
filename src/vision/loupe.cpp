// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "vision/loupe.h"

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <iterator>

namespace orvanta {

int steppedZoom(int zoom, int steps) {
    const auto* first = std::begin(kLoupeZooms);
    const auto* last = std::end(kLoupeZooms);
    const auto at = std::lower_bound(first, last, zoom) - first;
    const auto count = last - first;
    return kLoupeZooms[std::clamp<std::ptrdiff_t>(at + steps, 0, count - 1)];
}

int loupeSpan(int diameter, int zoom) {
    const int span = std::max(1, diameter / std::max(1, zoom));
    return span | 1;
}

QImage beneathCompass(QImage screen, QPoint screenOrigin, const QImage& drawn,
                      const QRect& drawnRect, const std::vector<DrawnFrame>& earlier) {
    QImage out = screen.format() == QImage::Format_ARGB32
                     ? std::move(screen)
                     : screen.convertToFormat(QImage::Format_ARGB32);
    const QRect area(screenOrigin, out.size());
    const QImage own = drawn.isNull() || drawn.format() == QImage::Format_ARGB32_Premultiplied
                           ? drawn
                           : drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRect ownRect = own.isNull() ? QRect() : drawnRect & area;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y - area.y()));
        const bool ownRow = y >= ownRect.top() && y <= ownRect.bottom();
        const auto* now =
            ownRow ? reinterpret_cast<const QRgb*>(own.constScanLine(y - drawnRect.y())) : nullptr;
        // What this frame drew at x, transparent off its image.
        const auto drawnAt = [&](int x) {
            return now && x >= ownRect.left() && x <= ownRect.right() ? now[x - drawnRect.x()]
                                                                      : QRgb(0);
        };
        // Even where the compass is translucent the blend the screen shows
        // is the compositor's, not exactly ours: taking our part back out of
        // it gives colours that were never there.
        if (now)
            for (int x = ownRect.left(); x <= ownRect.right(); ++x)
                if (qAlpha(now[x - drawnRect.x()]) != 0)
                    line[x - area.x()] = 0;
        for (const auto& [origin, was] : earlier) {
            const QRect both = QRect(origin, was.size()) & area;
            if (y < both.top() || y > both.bottom())
                continue;
            const auto* before = reinterpret_cast<const QRgb*>(was.constScanLine(y - origin.y()));
            // Most rows of a frame a hand's move away are drawn alike.
            if (now && both.left() >= ownRect.left() && both.right() <= ownRect.right() &&
                std::memcmp(before + (both.left() - origin.x()),
                            now + (both.left() - drawnRect.x()),
                            std::size_t(both.width()) * 4) == 0)
                continue;
            for (int x = both.left(); x <= both.right(); ++x)
                if (before[x - origin.x()] != drawnAt(x))
                    line[x - area.x()] = 0;
        }
    }
    return out;
}

namespace {

// The tile holding `p`, rounding towards minus infinity.
int tileOf(int v, int size) {
    return v >= 0 ? v / size : -((-v + size - 1) / size);
}

} // namespace

void BeneathMemory::see(const QImage& beneath, QPoint origin) {
    const QImage source = beneath.convertToFormat(QImage::Format_ARGB32);
    const QRect area(origin, source.size());
    for (int ty = tileOf(area.top(), kTile); ty <= tileOf(area.bottom(), kTile); ++ty)
        for (int tx = tileOf(area.left(), kTile); tx <= tileOf(area.right(), kTile); ++tx) {
            QImage& tile = m_tiles[QPoint(tx, ty)];
            if (tile.isNull()) {
                tile = QImage(kTile, kTile, QImage::Format_ARGB32);
                tile.fill(Qt::transparent);
            }
            const QRect tileRect(tx * kTile, ty * kTile, kTile, kTile);
            const QRect both = tileRect & area;
            for (int y = both.top(); y <= both.bottom(); ++y) {
                const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y - area.y()));
                auto* out = reinterpret_cast<QRgb*>(tile.scanLine(y - tileRect.y()));
                for (int x = both.left(); x <= both.right(); ++x)
                    if (qAlpha(in[x - area.x()]) != 0)
                        out[x - tileRect.x()] = in[x - area.x()];
            }
        }
}

QImage BeneathMemory::recall(const QRect& area) const {
    QImage out(area.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    for (int ty = tileOf(area.top(), kTile); ty <= tileOf(area.bottom(), kTile); ++ty)
        for (int tx = tileOf(area.left(), kTile); tx <= tileOf(area.right(), kTile); ++tx) {
            const auto it = m_tiles.constFind(QPoint(tx, ty));
            if (it == m_tiles.constEnd())
                continue;
            const QRect tileRect(tx * kTile, ty * kTile, kTile, kTile);
            const QRect both = tileRect & area;
            for (int y = both.top(); y <= both.bottom(); ++y) {
                const auto* in = reinterpret_cast<const QRgb*>(it->constScanLine(y - tileRect.y()));
                auto* line = reinterpret_cast<QRgb*>(out.scanLine(y - area.y()));
                std::copy_n(in + (both.left() - tileRect.x()), both.width(),
                            line + (both.left() - area.x()));
            }
        }
    return out;
}

QImage loupePicture(const QImage& beneath, int zoom, int diameter) {
    LoupePainter painter(diameter);
    return painter.paint(beneath, zoom);
}

LoupePainter::LoupePainter(int diameter)
    : m_diameter(diameter), m_picture(diameter, diameter, QImage::Format_ARGB32_Premultiplied) {
    m_rows.resize(std::size_t(diameter));
    const double r = diameter / 2.0;
    for (int y = 0; y < diameter; ++y) {
        const double dy = y + 0.5 - r;
        int first = diameter, last = -1;
        for (int x = 0; x < diameter; ++x) {
            const double dx = x + 0.5 - r;
            if (dx * dx + dy * dy <= r * r) {
                first = std::min(first, x);
                last = x;
            }
        }
        m_rows[std::size_t(y)] = {first, last};
    }
}

void LoupePainter::prepare(int zoom) {
    m_zoom = zoom;
    const int d = m_diameter;
    QImage marks(d, d, QImage::Format_ARGB32_Premultiplied);
    marks.fill(Qt::transparent);
    {
        QPainter p(&marks);
        const int span = loupeSpan(d, zoom);
        const int offset = d / 2 - (span / 2) * zoom - zoom / 2;
        // The crosshair: lines up to the middle pixel and a frame around it,
        // dark and light so that it shows on any colour.
        const QRect middle(offset + (span / 2) * zoom, offset + (span / 2) * zoom, zoom, zoom);
        for (const auto& [colour, grow] :
             {std::pair{QColor(0, 0, 0), 1}, std::pair{QColor(255, 255, 255), 2}}) {
            p.setPen(QPen(colour, 1));
            const QRect frame = middle.adjusted(-grow, -grow, grow - 1, grow - 1);
            p.drawRect(frame);
            const int cx = middle.center().x() + grow - 1, cy = middle.center().y() + grow - 1;
            p.drawLine(cx, 4, cx, frame.top() - 3);
            p.drawLine(cx, frame.bottom() + 3, cx, d - 5);
            p.drawLine(4, cy, frame.left() - 3, cy);
            p.drawLine(frame.right() + 3, cy, d - 5, cy);
        }
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.drawEllipse(QRectF(1, 1, d - 2.0, d - 2.0));
    }
    m_marks.clear();
    m_picture.fill(Qt::transparent);
    for (int y = 0; y < d; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(marks.constScanLine(y));
        const auto [first, last] = m_rows[std::size_t(y)];
        for (int x = 0; x < d; ++x)
            if (qAlpha(line[x]) != 0)
                m_marks.push_back({y * d + x, line[x], x >= first && x <= last});
    }
}

const QImage& LoupePainter::paint(const QImage& beneath, int zoom) {
    if (zoom != m_zoom)
        prepare(zoom);
    const int d = m_diameter;
    const int span = beneath.width();
    // The middle pixel's enlarged square sits in the middle of the picture.
    const int offset = d / 2 - (span / 2) * zoom - zoom / 2;
    const QImage source = beneath.format() == QImage::Format_ARGB32
                              ? beneath
                              : beneath.convertToFormat(QImage::Format_ARGB32);
    // Pixel by pixel: a painter's rectangle per cell costs many times more
    // at the smaller zooms, and the loupe draws every frame of a drag.
    auto* picture = reinterpret_cast<QRgb*>(m_picture.bits());
    for (int y = 0; y < d; ++y) {
        const auto [first, last] = m_rows[std::size_t(y)];
        if (first > last)
            continue;
        QRgb* line = picture + qsizetype(y) * d;
        const int sy = (y - offset) >= 0 ? (y - offset) / zoom : -1;
        const QRgb* in = sy >= 0 && sy < source.height()
                             ? reinterpret_cast<const QRgb*>(source.constScanLine(sy))
                             : nullptr;
        int sx = (first - offset) >= 0 ? (first - offset) / zoom : -1;
        int left = (first - offset) >= 0 ? zoom - (first - offset) % zoom : offset - first;
        for (int x = first; x <= last; ++x) {
            const QRgb c = in && sx >= 0 && sx < span ? in[sx] : 0;
            // Never seen: hatched.
            line[x] = qAlpha(c) != 0 ? (c | 0xff000000)
                                     : ((x + y) % 6 < 2 ? qRgb(96, 96, 96) : qRgb(128, 128, 128));
            if (--left == 0) {
                ++sx;
                left = zoom;
            }
        }
    }
    for (const Mark& mark : m_marks) {
        const QRgb below = mark.inDisc ? picture[mark.offset] : 0;
        const uint a = 255 - qAlpha(mark.colour);
        const auto over = [&](int shift) {
            const uint c = (mark.colour >> shift) & 0xff;
            const uint b = (below >> shift) & 0xff;
            return std::min(255u, c + (b * a + 127) / 255) << shift;
        };
        picture[mark.offset] = over(24) | over(16) | over(8) | over(0);
    }
    return m_picture;
}

} // namespace orvanta
