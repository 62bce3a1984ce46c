// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/windowimage.h"

#include "model/values.h"
#include "render/logging.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace orvanta {

namespace {

constexpr int kOpaque = 255;
// While another window has the focus the compass fades a little, so the user
// sees it is not the one receiving keys.
constexpr int kInactivePercent = 85;

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

// `region` as clips that each have more than one rectangle, where it can be.
QList<QRegion> generalClips(const QRegion& region) {
    if (region.rectCount() != 1 || region.boundingRect().height() < 3)
        return {region};
    const QRect r = region.boundingRect();
    QList<QVector<QRect>> rows(2);
    for (int y = r.top(); y <= r.bottom(); ++y)
        rows[(y - r.top()) % 2].append(QRect(r.left(), y, r.width(), 1));
    QList<QRegion> parts;
    for (const QVector<QRect>& list : rows) {
        QRegion part;
        part.setRects(list.constData(), int(list.size()));
        parts.append(part);
    }
    return parts;
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
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        // Most of a frame's region is clear around a thin outline.
        for (int x = r.left(); x <= r.right(); ++x)
            if (line[x] != 0)
                line[x] = scalePixel(line[x], a);
    }
}

void WindowImage::setRect(const QRect& rect) {
    if (m_image.size() != rect.size()) {
        m_image = QImage(rect.size(), QImage::Format_ARGB32_Premultiplied);
        // Without memory for it the window stays empty rather than failing.
        if (m_image.isNull() && !rect.isEmpty())
            qCWarning(lcRender, "Cannot allocate a window image of %d x %d pixels", rect.width(),
                      rect.height());
        m_image.fill(Qt::transparent);
    }
    m_rect = rect;
}

void WindowImage::redraw(const LayerStack& stack, const QRegion& region, int alpha,
                         const Layer* inside) {
    const QRegion local = (region & m_rect).translated(-m_rect.topLeft());
    if (local.isEmpty() || m_image.isNull())
        return;
    // Cleared by hand: a painter's fill costs more per rectangle than the
    // clearing itself for the small rectangles of a frame. (scanLine() would
    // check whether the image is shared on every row.)
    uchar* const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (const QRect& r : local)
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(bits + y * stride) + r.left(), r.width(), 0u);
    QPainter painter(&m_image);
    painter.setTransform(QTransform::fromTranslate(-m_rect.left(), -m_rect.top()));
    const QRegion clip = local.translated(m_rect.topLeft());
    // Only the layers that reach the region (with a pixel to spare for
    // smoothing): Qt passes over every row of a layer, whatever the clip
    // leaves of it.
    std::vector<const Layer*> drawn;
    for (const auto& layer : stack.layers())
        if (layer->visible && clip.intersects(layer->transformedBounds().adjusted(-1, -1, 1, 1)))
            drawn.push_back(layer.get());
    const Layer* onTop = nullptr;
    if (inside && !drawn.empty() && drawn.back() == inside &&
        inside == stack.layers().back().get()) {
        onTop = inside;
        drawn.pop_back();
    }
    // Qt turns an image with a fast routine when the clip is one rectangle and
    // with the general one otherwise, and the two put some edge pixels apart.
    // A frame's region has many rectangles; so that every frame draws alike,
    // and what one frame leaves matches what the next draws beside it, a
    // single rectangle is drawn as its even rows and then its odd rows.
    for (const QRegion& part : generalClips(local)) {
        painter.setClipRegion(part.translated(m_rect.topLeft()));
        for (const Layer* layer : drawn)
            layer->draw(painter);
    }
    if (onTop) {
        painter.setClipRect(clip.boundingRect());
        onTop->draw(painter);
    }
    painter.end();
    for (const QRect& r : local)
        applyOpacity(m_image, r, alpha);
}

} // namespace orvanta
