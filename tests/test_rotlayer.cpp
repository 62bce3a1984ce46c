#include "render/layerstack.h"
#include "render/rotlayer.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

// A bitmap whose every pixel has its own colour: red = x, green = y.
QImage coordinateBitmap(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgba(x * 10 + 5, y * 10 + 5, 200, 255));
    return img;
}

QImage drawOnto(const TRotLayer& layer, QSize size) {
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    layer.Draw(p);
    return out;
}

int countOpaque(const QImage& img, const QRect& outside = QRect()) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qAlpha(img.pixel(x, y)) != 0 && !outside.contains(x, y);
    return n;
}

} // namespace

TEST(RotLayer, MapsBitmapPointsLikeTheCompassTurns) {
    struct Case {
        float angle;
        QPointF pivot, position, bitmap, window;
    };
    // Angle is minus the compass angle: -90 turns the beam straight down the
    // screen, 45 turns it up and to the right.
    const Case cases[] = {
        {0, {3, 4}, {10, 20}, {0, 0}, {10, 20}},
        {0, {3, 4}, {10, 20}, {5, 1}, {15, 21}},
        {-90, {0, 0}, {0, 0}, {10, 0}, {0, 10}},
        {-90, {2, 2}, {100, 50}, {2, 2}, {102, 52}}, // the pivot stays in place
        {-90, {2, 2}, {100, 50}, {12, 2}, {102, 62}},
        {180, {0, 0}, {0, 0}, {10, 3}, {-10, -3}},
        {45, {0, 0}, {0, 0}, {10, 0}, {7.0710678, -7.0710678}},
    };
    for (const Case& c : cases) {
        TRotLayer layer;
        layer.Angle = c.angle;
        layer.Pivot = c.pivot;
        layer.Position = c.position;
        const QPointF w = layer.MapToWindow(c.bitmap);
        EXPECT_NEAR(w.x(), c.window.x(), 1e-5) << c.angle;
        EXPECT_NEAR(w.y(), c.window.y(), 1e-5) << c.angle;
        const QPointF back = layer.MapToBitmap(w);
        EXPECT_NEAR(back.x(), c.bitmap.x(), 1e-5);
        EXPECT_NEAR(back.y(), c.bitmap.y(), 1e-5);
    }
}

TEST(RotLayer, DrawsEachBitmapPixelWhereTheTransformPutsIt) {
    // Nearest-neighbour drawing at right angles must move pixels without loss:
    // the pixel-centre convention decides which window pixel each one lands on.
    for (const float angle : {0.0f, -90.0f, 90.0f, 180.0f}) {
        TRotLayer layer;
        layer.Bitmap = coordinateBitmap(4, 3);
        layer.Pivot = {1, 1};
        layer.Position = {10, 12};
        layer.Angle = angle;
        const QImage out = drawOnto(layer, {30, 30});
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                const QPointF w = layer.MapToWindow(QPointF(x, y));
                const QPoint at(qRound(w.x()), qRound(w.y()));
                EXPECT_EQ(out.pixel(at), layer.Bitmap.pixel(x, y)) << angle << " " << x << "," << y;
            }
        }
        EXPECT_EQ(countOpaque(out), 12) << angle;
        const QRect bounds = layer.TransformedBounds();
        EXPECT_EQ(bounds.width() * bounds.height(), 12) << angle;
        EXPECT_EQ(countOpaque(out, bounds), 0) << angle;
    }
}

TEST(RotLayer, BoundsOfATurnedLayerCoverEveryDrawnPixel) {
    TRotLayer layer;
    layer.Bitmap = coordinateBitmap(40, 9);
    layer.Pivot = {5, 4};
    layer.Position = {50, 50};
    layer.Smooth = true;
    for (float angle = -170.0f; angle < 180.0f; angle += 23.0f) {
        layer.Angle = angle;
        const QImage out = drawOnto(layer, {150, 150});
        const QRect bounds = layer.TransformedBounds();
        EXPECT_EQ(countOpaque(out, bounds), 0) << angle;
        // And they are tight: the transformed corners lie within one pixel.
        const QRectF exact = layer.Transform().mapRect(QRectF(-0.5, -0.5, 40, 9));
        EXPECT_LE(bounds.left(), exact.left() + 0.5);
        EXPECT_GE(bounds.left(), exact.left() - 0.5);
        EXPECT_LE(bounds.right() + 1, exact.right() + 1.5);
    }
}

TEST(RotLayer, HitTestFollowsTheTransformAndAlpha) {
    TRotLayer layer;
    layer.Bitmap = QImage(10, 4, QImage::Format_ARGB32);
    layer.Bitmap.fill(qRgba(0, 0, 255, 255));
    for (int y = 0; y < 4; ++y)
        layer.Bitmap.setPixel(5, y, qRgba(0, 0, 0, 0)); // a transparent gap
    layer.Pivot = {0, 0};
    layer.Position = {100, 100};
    layer.Angle = -90; // bitmap x runs down the screen
    struct Case {
        QPointF window;
        bool alphaHit, hits;
    };
    const Case cases[] = {
        {{100, 100}, true, true},   // bitmap (0, 0)
        {{100, 105}, true, false},  // bitmap (5, 0): the gap
        {{100, 105}, false, true},  // without alpha testing the gap hits
        {{97, 109}, true, true},    // bitmap (9, 3)
        {{96, 109}, true, false},   // bitmap (9, 4): below the bitmap
        {{100, 110}, false, false}, // bitmap (10, 0): past its end
        {{100.4, 104.4}, true, true}, {{100.4, 104.6}, true, false}, // nearest pixel is the gap
    };
    for (const Case& c : cases) {
        layer.AlphaHit = c.alphaHit;
        EXPECT_EQ(layer.HitTest(c.window), c.hits) << c.window.x() << "," << c.window.y();
    }
    layer.Visible = false;
    layer.AlphaHit = true;
    EXPECT_TRUE(layer.HitTest({100, 100})); // visibility is the caller's business
}

TEST(RotLayer, RedrawsAfterTheBitmapChanges) {
    TRotLayer layer;
    layer.Bitmap = QImage(2, 2, QImage::Format_ARGB32);
    layer.Bitmap.fill(qRgba(255, 0, 0, 255));
    EXPECT_EQ(drawOnto(layer, {2, 2}).pixel(1, 1), qRgba(255, 0, 0, 255));
    layer.Bitmap.fill(qRgba(0, 255, 0, 255));
    EXPECT_EQ(drawOnto(layer, {2, 2}).pixel(1, 1), qRgba(0, 255, 0, 255));
    layer.Bitmap.setPixel(1, 1, qRgba(0, 0, 255, 128));
    EXPECT_EQ(drawOnto(layer, {2, 2}).pixel(1, 1), qRgba(0, 0, 128, 128)); // premultiplied
}

TEST(LayerStack, MeasureTypeControlComesToTheTop) {
    // Radius, circumference and area controls built in key order, with an
    // unrelated layer between each triple.
    constexpr SkinControl kTypes[] = {SkinControl::Radius, SkinControl::Circumference,
                                      SkinControl::Area};
    auto build = [&](TLayerStack& stack, bool withCircumference) {
        for (SkinControl c : kTypes) {
            if (c == SkinControl::Circumference && !withCircumference)
                continue;
            TControlLayers& t = stack.Control(c);
            t.Normal = stack.Add(std::make_unique<TRotLayer>());
            t.Pressed = stack.Add(std::make_unique<TRotLayer>());
            t.Hover = stack.Add(std::make_unique<TRotLayer>());
            stack.Add(std::make_unique<TRotLayer>());
        }
    };
    for (const bool full : {true, false}) {
        for (int type = 0; type < 3; ++type) {
            TLayerStack stack;
            build(stack, full);
            const std::size_t count = stack.Layers().size();
            RaiseMeasureTypeControl(stack, type);
            ASSERT_EQ(stack.Layers().size(), count);
            const SkinControl ctrl = kTypes[type];
            const TControlLayers& chosen = stack.Control(ctrl);
            if (!chosen.Exists())
                continue;
            const int hover = stack.IndexOf(chosen.Hover);
            EXPECT_EQ(stack.IndexOf(chosen.Pressed), hover - 1);
            EXPECT_EQ(stack.IndexOf(chosen.Normal), hover - 2);
            for (SkinControl other : kTypes) {
                const TControlLayers& o = stack.Control(other);
                if (other != ctrl && o.Exists()) {
                    EXPECT_GT(stack.IndexOf(chosen.Normal), stack.IndexOf(o.Hover));
                    EXPECT_EQ(stack.IndexOf(o.Pressed), stack.IndexOf(o.Hover) - 1);
                }
            }
        }
    }
}
