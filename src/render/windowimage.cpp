// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/windowimage.h"

#include "model/values.h"
#include "render/logging.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>

namespace orvanta {

namespace {

constexpr int kOpaque = 255;
// While another window has the focus the compass fades a little, so the user
// sees it is not the one receiving keys.
constexpr int kInactivePercent = 85;
// Rotated and smoothed drawing may touch one pixel beyond the integer bounds
// of a layer at most; redrawing that margin costs little and leaves no trail.
constexpr int kDirtyMargin = 1;

// round(numerator / denominator), halves to even, for non-negative values.
int roundedQuotient(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t q = numerator / denominator;
    const std::int64_t twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && (q & 1) != 0))
        return int(q + 1);
    return int(q);
}

// All four channels of a premultiplied pixel times alpha / 255; (t + t / 256 +
// 128) / 256 rounds t / 255 (one unit off for a handful of the 65536 cases),
// and alpha 255 leaves every pixel as it was.
inline QRgb scalePixel(QRgb p, std::uint32_t alpha) {
    std::uint32_t rb = (p & 0x00ff00ffu) * alpha;
    rb = ((rb + ((rb >> 8) & 0x00ff00ffu) + 0x00800080u) >> 8) & 0x00ff00ffu;
    std::uint32_t ag = ((p >> 8) & 0x00ff00ffu) * alpha;
    ag = (ag + ((ag >> 8) & 0x00ff00ffu) + 0x00800080u) & 0xff00ff00u;
    return ag | rb;
}

} // namespace

int windowAlpha(int transparency, bool foreground) {
    const std::int64_t percent = std::clamp(kFullOpacity - transparency, 0, kFullOpacity);
    // Exact arithmetic: (100 - t) * 2.55 (* 0.85) computed in binary floating
    // point would round some halves the wrong way.
    const int alpha = foreground ? roundedQuotient(percent * kOpaque, 100)
                                 : roundedQuotient(percent * kOpaque * kInactivePercent, 10000);
    return std::clamp(alpha, 0, kOpaque);
}

void applyOpacity(QImage& image, const QRect& area, int alpha) {
    if (alpha >= kOpaque)
        return;
    const QRect r = area & image.rect();
    const auto a = std::uint32_t(std::max(alpha, 0));
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            line[x] = scalePixel(line[x], a);
    }
}

bool WindowImage::setSize(QSize size) {
    if (m_image.size() == size)
        return false;
    m_image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    // Without memory for it the window stays empty rather than failing.
    if (m_image.isNull() && !size.isEmpty())
        qCWarning(lcRender, "Cannot allocate a window image of %d x %d pixels", size.width(),
                  size.height());
    m_image.fill(Qt::transparent);
    m_shown = QRect();
    m_wholeImageDirty = true;
    return true;
}

QRegion WindowImage::present(const LayerStack& stack, const QRect& bounds, int alpha) {
    const QRect now =
        bounds.adjusted(-kDirtyMargin, -kDirtyMargin, kDirtyMargin, kDirtyMargin) & m_image.rect();
    QRegion dirty = m_wholeImageDirty ? QRegion(m_image.rect()) : QRegion(m_shown) + now;
    m_wholeImageDirty = false;
    m_shown = now;
    redraw(stack, dirty, alpha);
    return dirty;
}

void WindowImage::redraw(const LayerStack& stack, const QRegion& region, int alpha) {
    if (region.isEmpty() || m_image.isNull())
        return;
    QPainter painter(&m_image);
    painter.setClipRegion(region);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : region)
        painter.fillRect(r, Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QRect reach = region.boundingRect();
    for (const auto& layer : stack.layers()) {
        if (layer->visible && layer->transformedBounds().intersects(reach))
            layer->draw(painter);
    }
    painter.end();
    for (const QRect& r : region)
        applyOpacity(m_image, r, alpha);
}

} // namespace orvanta
