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

class TRotLayer {
public:
    TRotLayer() = default;
    virtual ~TRotLayer() = default;
    TRotLayer(const TRotLayer&) = delete;
    TRotLayer& operator=(const TRotLayer&) = delete;

    // Straight (not premultiplied) ARGB32 pixels, or already premultiplied ones
    // for bitmaps that are only ever drawn. Any change is picked up by Draw.
    QImage Bitmap;
    QPointF Pivot;    // bitmap coordinates
    QPointF Position; // window coordinates of the bitmap's top-left pixel at Angle 0
    float Angle = 0.0f;
    bool AlphaHit = false; // only pixels with non-zero alpha hit
    bool Visible = true;
    bool Smooth = false; // bilinear smoothing when turned; nearest neighbour otherwise

    // The size of what the layer shows: its bitmap's, unless a subclass draws
    // something else.
    [[nodiscard]] virtual QSize Size() const { return Bitmap.size(); }

    // The affine map from bitmap to window coordinates.
    [[nodiscard]] QTransform Transform() const;
    [[nodiscard]] QPointF MapToWindow(QPointF bitmapPoint) const;
    [[nodiscard]] QPointF MapToBitmap(QPointF windowPoint) const;

    // The window pixels the layer can touch: the integer bounding rectangle of
    // its transformed bitmap. Empty for an empty layer.
    [[nodiscard]] QRect TransformedBounds() const;

    // Whether the window point falls on the layer: inside the bitmap and, with
    // AlphaHit, on a pixel that is not fully transparent. Visibility is not part
    // of the test.
    [[nodiscard]] bool HitTest(QPointF windowPoint) const;

    // Draws the layer with source-over blending onto a premultiplied surface
    // whose coordinates are window coordinates. Ignores Visible: callers decide.
    virtual void Draw(QPainter& painter) const;

protected:
    // The transform for QPainter, whose integer coordinates are pixel corners.
    [[nodiscard]] QTransform PainterTransform() const;
    [[nodiscard]] virtual bool HitsPixel(QPoint pixel) const;

private:
    [[nodiscard]] const QImage& Premultiplied() const;

    mutable QImage m_premultiplied;
    mutable std::int64_t m_premultipliedKey = 0;
};

// The figure layer: a one-pixel closed outline in one colour. It draws its
// outline straight onto the target instead of filling a bitmap the size of the
// figure's square, so a large circle costs its circumference, not its area.
// Its whole square hits (it has no alpha test).
class TShapeLayer final : public TRotLayer {
public:
    QPainterPath Outline; // bitmap coordinates, pixel-centre convention
    QRgb Colour = 0xff000000;
    bool Antialiased = false;
    int Side = 0; // the figure's square, in pixels

    [[nodiscard]] QSize Size() const override { return {Side, Side}; }
    void Draw(QPainter& painter) const override;

private:
    [[nodiscard]] bool HitsPixel(QPoint pixel) const override;
};

} // namespace orvanta
