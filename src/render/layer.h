// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// A rotating bitmap layer: one piece of the compass (base, slide, a panel, a
// control look, the readout) with its own bitmap, placed and turned by the
// renderer, hit-tested by the mouse handling.
//
// Coordinates follow the pixel-centre convention the skins are drawn for: the
// integer point (x, y) is the centre of pixel (x, y), in the bitmap as on the
// desktop. A bitmap point b lies at desktop point Rot(Angle)(b - Pivot) + Pivot +
// Position, with Rot(t)(x, y) = (x cos t + y sin t, -x sin t + y cos t); y grows
// downwards, so a negative Angle turns the layer clockwise on screen. (The
// names mapToWindow and windowPoint go back to a window that covered the
// desktop: its coordinates were the desktop's.)

#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QTransform>
#include <cstdint>
#include <optional>

class QPainter;

namespace orvanta {

class Layer {
public:
    Layer() = default;
    virtual ~Layer() = default;
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // Straight (not premultiplied) ARGB32 pixels, or already premultiplied ones,
    // which are drawn without a conversion (their alpha, which the hit test
    // reads, is the same). Any change is picked up by Draw.
    QImage bitmap;
    QPointF pivot;    // bitmap coordinates
    QPointF position; // desktop coordinates of the bitmap's top-left pixel at Angle 0
    float angle = 0.0f;
    bool alphaHit = false; // only pixels with non-zero alpha hit
    bool visible = true;
    bool smooth = false; // bilinear smoothing when turned; nearest neighbour otherwise

    // The size of what the layer shows: its bitmap's, unless a subclass draws
    // something else.
    [[nodiscard]] virtual QSize size() const { return bitmap.size(); }

    // The affine map from bitmap to desktop coordinates.
    [[nodiscard]] QTransform transform() const;
    [[nodiscard]] QPointF mapToWindow(QPointF bitmapPoint) const;
    [[nodiscard]] QPointF mapToBitmap(QPointF windowPoint) const;

    // The desktop pixels the layer can touch: the integer bounding rectangle of
    // its transformed bitmap. Empty for an empty layer.
    [[nodiscard]] QRect transformedBounds() const;

    // The desktop pixels the layer can touch, as the turned outline of its
    // bitmap in pixel-corner coordinates (QPainter's).
    [[nodiscard]] QPolygonF footprint() const;
    // The same for a part of the bitmap (bitmap pixels), for a bitmap that
    // changed only there.
    [[nodiscard]] QPolygonF footprint(const QRect& part) const;

    // Changes whenever what the layer shows changes, apart from where it is
    // placed: a frame whose layers kept their keys and moved together only
    // moved.
    [[nodiscard]] virtual std::int64_t contentKey() const { return bitmap.cacheKey(); }

    // Whether the desktop point falls on the layer: inside the bitmap and, with
    // alphaHit, on a pixel that is not fully transparent. Visibility is not part
    // of the test.
    [[nodiscard]] bool hitTest(QPointF windowPoint) const;

    // Draws the layer with source-over blending onto a premultiplied surface,
    // through the painter's transform from desktop coordinates to the surface.
    // Ignores Visible: callers decide.
    virtual void draw(QPainter& painter) const;

protected:
    // The transform for QPainter, whose integer coordinates are pixel corners.
    [[nodiscard]] QTransform painterTransform() const;
    [[nodiscard]] virtual bool hitsPixel(QPoint pixel) const;

private:
    [[nodiscard]] const QImage& premultiplied() const;

    mutable QImage m_premultiplied;
    mutable std::int64_t m_premultipliedKey = 0;
    // A frame asks for the painter's transform many times (its pose, bounds,
    // footprint and drawing): it is built once per place and angle.
    struct Placement {
        QPointF pivot, position;
        float angle = 0.0f;
        QTransform transform;
    };
    mutable std::optional<Placement> m_placement;
};

// The figure layer: a one-pixel closed outline in one colour. It draws its
// outline straight onto the target instead of filling a bitmap the size of the
// figure's square, so a large circle costs its circumference, not its area.
// Its whole square hits (it has no alpha test).
class ShapeLayer final : public Layer {
public:
    ShapeLayer();

    QRgb colour = 0xff000000;
    bool antialiased = false;

    // The closed outline (bitmap coordinates, pixel-centre convention) and the
    // figure's square, in pixels.
    void setOutline(QPainterPath outline, int side);
    [[nodiscard]] const QPainterPath& outline() const { return m_outline; }
    [[nodiscard]] int side() const { return m_side; }

    [[nodiscard]] QSize size() const override { return {m_side, m_side}; }
    [[nodiscard]] std::int64_t contentKey() const override { return m_revision; }
    void draw(QPainter& painter) const override;
    // The outline as drawn, flattened, in desktop pixel-corner coordinates:
    // the pixels it touches lie within a pixel of these lines.
    [[nodiscard]] QList<QPolygonF> drawnOutline() const;

private:
    [[nodiscard]] bool hitsPixel(QPoint pixel) const override;
    [[nodiscard]] qreal drawShift() const;

    QPainterPath m_outline;
    int m_side = 0;
    std::int64_t m_revision = 0;
};

} // namespace orvanta
