// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/layer.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <atomic>
#include <cmath>

namespace orvanta {

namespace {

// Our coordinates put pixel centres on integers; QPainter puts pixel corners
// there. The two differ by half a pixel on both axes.
constexpr qreal kHalfPixel = 0.5;

// Outlines are told apart by a number no other outline had, in this or any
// other figure layer, so that a new layer never looks like an old one.
std::int64_t nextOutlineRevision() {
    static std::atomic<std::int64_t> counter{0};
    return ++counter;
}

} // namespace

QTransform Layer::transform() const {
    QTransform m;
    m.translate(pivot.x() + position.x(), pivot.y() + position.y());
    m.rotate(-qreal(angle));
    m.translate(-pivot.x(), -pivot.y());
    return m;
}

QTransform Layer::painterTransform() const {
    // Exactly: QPointF's own comparison forgives small differences.
    const auto same = [](QPointF a, QPointF b) { return a.x() == b.x() && a.y() == b.y(); };
    if (!m_placement || !same(m_placement->pivot, pivot) ||
        !same(m_placement->position, position) || m_placement->angle != angle)
        m_placement = Placement{pivot, position, angle,
                                QTransform::fromTranslate(-kHalfPixel, -kHalfPixel) * transform() *
                                    QTransform::fromTranslate(kHalfPixel, kHalfPixel)};
    return m_placement->transform;
}

QPointF Layer::mapToWindow(QPointF bitmapPoint) const {
    return transform().map(bitmapPoint);
}

QPointF Layer::mapToBitmap(QPointF windowPoint) const {
    return transform().inverted().map(windowPoint);
}

QRect Layer::transformedBounds() const {
    const QSize extent = size();
    if (extent.isEmpty())
        return {};
    const QRectF r = painterTransform().mapRect(QRectF(QPointF(0, 0), QSizeF(extent)));
    if (!r.isValid()) // not finite
        return {};
    // A layer moved towards the end of the integer range (a hand-edited
    // position) stays representable: far off every screen, but an int.
    static constexpr double kFarAway = 1 << 30;
    const auto edge = [](double v) { return int(std::clamp(v, -kFarAway, kFarAway)); };
    return QRect(QPoint(edge(std::floor(r.left())), edge(std::floor(r.top()))),
                 QPoint(edge(std::ceil(r.right())) - 1, edge(std::ceil(r.bottom())) - 1));
}

QPolygonF Layer::footprint() const {
    return footprint(QRect(QPoint(0, 0), size()));
}

QPolygonF Layer::footprint(const QRect& part) const {
    if (part.isEmpty())
        return {};
    return painterTransform().map(QPolygonF(QRectF(part)));
}

bool Layer::hitTest(QPointF windowPoint) const {
    const QSize extent = size();
    if (extent.isEmpty())
        return false;
    const QPointF b = mapToBitmap(windowPoint);
    const QPoint pixel(int(std::floor(b.x() + kHalfPixel)), int(std::floor(b.y() + kHalfPixel)));
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= extent.width() ||
        pixel.y() >= extent.height())
        return false;
    return hitsPixel(pixel);
}

bool Layer::hitsPixel(QPoint pixel) const {
    if (!alphaHit)
        return true;
    return bitmap.valid(pixel) && qAlpha(bitmap.pixel(pixel)) != 0;
}

const QImage& Layer::premultiplied() const {
    if (bitmap.format() == QImage::Format_ARGB32_Premultiplied)
        return bitmap;
    // Any change to the bitmap gives it a new cache key, so the copy is made
    // once per change and not once per frame.
    if (m_premultiplied.isNull() || m_premultipliedKey != bitmap.cacheKey()) {
        m_premultiplied = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        m_premultipliedKey = bitmap.cacheKey();
    }
    return m_premultiplied;
}

void Layer::draw(QPainter& painter) const {
    if (bitmap.isNull())
        return;
    const QTransform surface = painter.transform();
    painter.setTransform(painterTransform() * surface);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(QPointF(0, 0), premultiplied());
    painter.setTransform(surface);
}

ShapeLayer::ShapeLayer() : m_revision(nextOutlineRevision()) {}

void ShapeLayer::setOutline(QPainterPath outline, int side) {
    m_outline = std::move(outline);
    m_side = side;
    m_revision = nextOutlineRevision();
}

qreal ShapeLayer::drawShift() const {
    // Antialiased lines through pixel centres stay one pixel wide; aliased
    // ones already cover the pixel below and right of an integer point.
    return antialiased ? kHalfPixel : 0.0;
}

QList<QPolygonF> ShapeLayer::drawnOutline() const {
    return m_outline.translated(drawShift(), drawShift()).toSubpathPolygons(painterTransform());
}

void ShapeLayer::draw(QPainter& painter) const {
    if (m_outline.isEmpty())
        return;
    const QTransform surface = painter.transform();
    painter.setTransform(painterTransform() * surface);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    QPen pen(QColor::fromRgba(colour));
    pen.setWidth(1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(m_outline.translated(drawShift(), drawShift()));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setTransform(surface);
}

bool ShapeLayer::hitsPixel(QPoint) const {
    return true;
}

} // namespace orvanta
