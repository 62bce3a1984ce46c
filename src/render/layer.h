// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// A rotating bitmap layer: one piece of the compass (base, slide, a panel, a
// control look, the readout) with its own bitmap, placed and turned by the
// renderer, hit-tested by the mouse handling.
//
// Coordinates follow the pixel-centre convention the skins are drawn for: the
// integer point (x, y) is the centre of pixel (x, y), in the bitmap as in the
// window. A bitmap point b lies at window point Rot(Angle)(b - Pivot) + Pivot +
// Position, with Rot(t)(x, y) = (x cos t + y sin t, -x sin t + y cos t); window y
// grows downwards, so a negative Angle turns the layer clockwise on screen.

#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QTransform>
#include <cstdint>

class QPainter;

namespace orvanta {

class Layer {
public:
    Layer() = default;
    virtual ~Layer() = default;
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // Straight (not premultiplied) ARGB32 pixels, or already premultiplied ones
    // for bitmaps that are only ever drawn. Any change is picked up by Draw.
    QImage bitmap;
    QPointF pivot;    // bitmap coordinates
    QPointF position; // window coordinates of the bitmap's top-left pixel at Angle 0
    float angle = 0.0f;
    bool alphaHit = false; // only pixels with non-zero alpha hit
    bool visible = true;
    bool smooth = false; // bilinear smoothing when turned; nearest neighbour otherwise

    // The size of what the layer shows: its bitmap's, unless a subclass draws
    // something else.
    [[nodiscard]] virtual QSize size() const { return bitmap.size(); }

    // The affine map from bitmap to window coordinates.
    [[nodiscard]] QTransform transform() const;
    [[nodiscard]] QPointF mapToWindow(QPointF bitmapPoint) const;
    [[nodiscard]] QPointF mapToBitmap(QPointF windowPoint) const;

    // The window pixels the layer can touch: the integer bounding rectangle of
    // its transformed bitmap. Empty for an empty layer.
    [[nodiscard]] QRect transformedBounds() const;

    // Whether the window point falls on the layer: inside the bitmap and, with
    // alphaHit, on a pixel that is not fully transparent. Visibility is not part
    // of the test.
    [[nodiscard]] bool hitTest(QPointF windowPoint) const;

    // Draws the layer with source-over blending onto a premultiplied surface
    // whose coordinates are window coordinates. Ignores Visible: callers decide.
    virtual void draw(QPainter& painter) const;

protected:
    // The transform for QPainter, whose integer coordinates are pixel corners.
    [[nodiscard]] QTransform painterTransform() const;
    [[nodiscard]] virtual bool hitsPixel(QPoint pixel) const;

private:
    [[nodiscard]] const QImage& premultiplied() const;

    mutable QImage m_premultiplied;
    mutable std::int64_t m_premultipliedKey = 0;
};

// The figure layer: a one-pixel closed outline in one colour. It draws its
// outline straight onto the target instead of filling a bitmap the size of the
// figure's square, so a large circle costs its circumference, not its area.
// Its whole square hits (it has no alpha test).
class ShapeLayer final : public Layer {
public:
    QPainterPath outline; // bitmap coordinates, pixel-centre convention
    QRgb colour = 0xff000000;
    bool antialiased = false;
    int side = 0; // the figure's square, in pixels

    [[nodiscard]] QSize size() const override { return {side, side}; }
    void draw(QPainter& painter) const override;

private:
    [[nodiscard]] bool hitsPixel(QPoint pixel) const override;
};

} // namespace orvanta
