#include "render/rotlayer.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace orvanta {

namespace {

// Our coordinates put pixel centres on integers; QPainter puts pixel corners
// there. The two differ by half a pixel on both axes.
constexpr qreal kHalfPixel = 0.5;

} // namespace

QTransform TRotLayer::Transform() const {
    QTransform m;
    m.translate(Pivot.x() + Position.x(), Pivot.y() + Position.y());
    m.rotate(-qreal(Angle));
    m.translate(-Pivot.x(), -Pivot.y());
    return m;
}

QTransform TRotLayer::PainterTransform() const {
    return QTransform::fromTranslate(-kHalfPixel, -kHalfPixel) * Transform() *
           QTransform::fromTranslate(kHalfPixel, kHalfPixel);
}

QPointF TRotLayer::MapToWindow(QPointF bitmapPoint) const {
    return Transform().map(bitmapPoint);
}

QPointF TRotLayer::MapToBitmap(QPointF windowPoint) const {
    return Transform().inverted().map(windowPoint);
}

QRect TRotLayer::TransformedBounds() const {
    const QSize size = Size();
    if (size.isEmpty())
        return {};
    const QRectF r = PainterTransform().mapRect(QRectF(QPointF(0, 0), QSizeF(size)));
    if (!r.isValid()) // not finite
        return {};
    // A layer moved towards the end of the integer range (a hand-edited
    // position) stays representable: far off every screen, but an int.
    static constexpr double kFarAway = 1 << 30;
    const auto edge = [](double v) { return int(std::clamp(v, -kFarAway, kFarAway)); };
    return QRect(QPoint(edge(std::floor(r.left())), edge(std::floor(r.top()))),
                 QPoint(edge(std::ceil(r.right())) - 1, edge(std::ceil(r.bottom())) - 1));
}

bool TRotLayer::HitTest(QPointF windowPoint) const {
    const QSize size = Size();
    if (size.isEmpty())
        return false;
    const QPointF b = MapToBitmap(windowPoint);
    const QPoint pixel(int(std::floor(b.x() + kHalfPixel)), int(std::floor(b.y() + kHalfPixel)));
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= size.width() || pixel.y() >= size.height())
        return false;
    return HitsPixel(pixel);
}

bool TRotLayer::HitsPixel(QPoint pixel) const {
    if (!AlphaHit)
        return true;
    return Bitmap.valid(pixel) && qAlpha(Bitmap.pixel(pixel)) != 0;
}

const QImage& TRotLayer::Premultiplied() const {
    if (Bitmap.format() == QImage::Format_ARGB32_Premultiplied)
        return Bitmap;
    // Any change to the bitmap gives it a new cache key, so the copy is made
    // once per change and not once per frame.
    if (m_premultiplied.isNull() || m_premultipliedKey != Bitmap.cacheKey()) {
        m_premultiplied = Bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        m_premultipliedKey = Bitmap.cacheKey();
    }
    return m_premultiplied;
}

void TRotLayer::Draw(QPainter& painter) const {
    if (Bitmap.isNull())
        return;
    painter.setTransform(PainterTransform());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, Smooth);
    painter.drawImage(QPointF(0, 0), Premultiplied());
}

void TShapeLayer::Draw(QPainter& painter) const {
    if (Outline.isEmpty())
        return;
    painter.setTransform(PainterTransform());
    painter.setRenderHint(QPainter::Antialiasing, Antialiased);
    QPen pen(QColor::fromRgba(Colour));
    pen.setWidth(1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Antialiased lines through pixel centres stay one pixel wide; aliased
    // ones already cover the pixel below and right of an integer point.
    const qreal shift = Antialiased ? kHalfPixel : 0.0;
    painter.drawPath(Outline.translated(shift, shift));
    painter.setRenderHint(QPainter::Antialiasing, false);
}

bool TShapeLayer::HitsPixel(QPoint) const {
    return true;
}

} // namespace orvanta
