// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/layerstackregions.h"
#include "render/layer.h"
#include "render/layerstack.h"

#include <QLineF>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace orvanta;

namespace {

QImage drawOnto(const Layer& layer, QSize size) {
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    layer.draw(p);
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

TEST(Layer, MapsBitmapPointsLikeTheCompassTurns) {
    struct Case {
        float angle;
        QPointF pivot, position, bitmap, window;
    };
    // Angle is minus the compass angle: -90 turns the beam straight down the
    // screen, 45 turns it up and to the right.
    const Case cases[] = {
        {0, {3, 4}, {10, 20}, {5, 1}, {15, 21}},
        {-90, {2, 2}, {100, 50}, {12, 2}, {102, 62}},
        {45, {0, 0}, {0, 0}, {10, 0}, {7.0710678, -7.0710678}},
    };
    for (const Case& c : cases) {
        Layer layer;
        layer.angle = c.angle;
        layer.pivot = c.pivot;
        layer.position = c.position;
        EXPECT_NEAR(QLineF(layer.mapToWindow(c.bitmap), c.window).length(), 0, 1e-5) << c.angle;
        EXPECT_NEAR(QLineF(layer.mapToBitmap(c.window), c.bitmap).length(), 0, 1e-5) << c.angle;
    }
}

TEST(Layer, DrawsEachPixelWhereTheTransformPutsItWithinItsBounds) {
    // Red = x, green = y: every pixel has its own colour.
    QImage bitmap(40, 9, QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            bitmap.setPixel(x, y, qRgba(x * 6 + 5, y * 10 + 5, 200, 255));
    Layer layer;
    layer.bitmap = bitmap;
    layer.pivot = {5, 4};
    layer.position = {60, 60};
    for (const float angle : {0.0f, -90.0f, 90.0f, 180.0f, -170.0f, -33.0f, 13.0f, 151.0f}) {
        // At right angles nearest-neighbour drawing moves pixels without loss:
        // the pixel-centre convention decides where each one lands.
        const bool right = std::fmod(angle, 90.0f) == 0.0f;
        layer.angle = angle;
        layer.smooth = !right;
        const QImage out = drawOnto(layer, {160, 160});
        const QRect bounds = layer.transformedBounds();
        EXPECT_EQ(countOpaque(out, bounds), 0) << angle;
        // Tight: the transformed corners lie within one pixel.
        const QRectF corners = layer.transform().mapRect(QRectF(-0.5, -0.5, 40, 9));
        EXPECT_NEAR(bounds.left(), corners.left(), 0.5) << angle;
        EXPECT_LE(bounds.right(), corners.right() + 0.5) << angle;
        if (!right)
            continue;
        EXPECT_EQ(bounds.width() * bounds.height(), 360) << angle;
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 40; ++x) {
                const QPointF w = layer.mapToWindow(QPointF(x, y));
                ASSERT_EQ(out.pixel(qRound(w.x()), qRound(w.y())), bitmap.pixel(x, y))
                    << angle << " " << x << "," << y;
            }
        }
    }
}

TEST(Layer, HitTestFollowsTheTransformAndAlpha) {
    Layer layer;
    layer.bitmap = QImage(10, 4, QImage::Format_ARGB32);
    layer.bitmap.fill(qRgba(0, 0, 255, 255));
    for (int y = 0; y < 4; ++y) {
        layer.bitmap.setPixel(5, y, qRgba(0, 0, 0, 0)); // a transparent gap
        layer.bitmap.setPixel(7, y, qRgba(0, 0, 0, 1)); // all but transparent
    }
    layer.position = {100, 100};
    struct Case {
        float angle; // at -90 bitmap x runs down the screen
        QPointF window;
        bool alphaHit, hits;
    };
    const Case cases[] = {
        {-90, {100, 105}, false, true},     // without alpha testing the gap hits
        {-90, {97, 109}, true, true},       // bitmap (9, 3)
        {-90, {96, 109}, true, false},      // bitmap (9, 4): below the bitmap
        {-90, {100, 110}, false, false},    // bitmap (10, 0): past its end
        {-90, {100.4, 104.4}, true, true},  // nearest pixel (4, 0)
        {-90, {100.4, 104.6}, true, false}, // nearest pixel (5, 0), the gap
        {-90, {99, 107}, true, true},       // bitmap (7, 1): alpha 1 is solid
        {0, {107, 101}, true, true},        // the same pixel, unturned
        {0, {105, 102}, true, false},       // bitmap (5, 2), the gap
        {0, {105, 102}, false, true},
    };
    for (const Case& c : cases) {
        layer.angle = c.angle;
        layer.alphaHit = c.alphaHit;
        EXPECT_EQ(layer.hitTest(c.window), c.hits)
            << c.angle << " at " << c.window.x() << "," << c.window.y();
    }
}

TEST(Layer, RedrawsAfterTheBitmapChanges) {
    // The premultiplied copy must not outlive the bitmap it was made from.
    Layer layer;
    layer.bitmap = QImage(2, 2, QImage::Format_ARGB32);
    layer.bitmap.fill(qRgba(255, 0, 0, 255));
    EXPECT_EQ(drawOnto(layer, {2, 2}).pixel(1, 1), qRgba(255, 0, 0, 255));
    layer.bitmap.setPixel(1, 1, qRgba(0, 0, 255, 128));
    EXPECT_EQ(drawOnto(layer, {2, 2}).pixel(1, 1), qRgba(0, 0, 128, 128));
}

TEST(LayerStack, MeasureTypeControlComesToTheTop) {
    // The measure types' controls built in key order, with an unrelated layer
    // above each triple; the circumference may be missing.
    constexpr SkinControl kTypes[] = {SkinControl::Radius, SkinControl::Circumference,
                                      SkinControl::Area, SkinControl::Diameter,
                                      SkinControl::AngleReading};
    for (const bool full : {true, false}) {
        for (int type = 0; type < 5; ++type) {
            LayerStack stack;
            for (const SkinControl c : kTypes) {
                if (full || c != SkinControl::Circumference)
                    stack.control(c) = {stack.add(std::make_unique<Layer>()),
                                        stack.add(std::make_unique<Layer>()),
                                        stack.add(std::make_unique<Layer>())};
                stack.add(std::make_unique<Layer>());
            }
            const std::size_t count = stack.layers().size();
            raiseMeasureTypeControl(stack, type);
            ASSERT_EQ(stack.layers().size(), count);
            const ControlLayers& chosen = stack.control(kTypes[type]);
            for (const SkinControl other : kTypes) {
                const ControlLayers& o = stack.control(other);
                if (!o.exists())
                    continue;
                EXPECT_EQ(stack.indexOf(o.pressed), stack.indexOf(o.hover) - 1);
                EXPECT_EQ(stack.indexOf(o.normal), stack.indexOf(o.hover) - 2);
                // Above every rival (a missing control moves nothing).
                EXPECT_TRUE(!chosen.exists() || other == kTypes[type] ||
                            stack.indexOf(chosen.normal) > stack.indexOf(o.hover))
                    << type;
            }
        }
    }
}

TEST(LayerStackRegions, FaintPixelsHitAndPanelsCountAsTheirPart) {
    const auto layer = [](int x, int alpha) {
        auto l = std::make_unique<Layer>();
        l->bitmap = QImage(4, 4, QImage::Format_ARGB32);
        l->bitmap.fill(qRgba(9, 9, 9, alpha));
        l->position = QPointF(x, 0);
        l->alphaHit = true;
        return l;
    };
    LayerStack stack;
    stack.baseLayer = stack.add(layer(0, 1));
    stack.slidePanelLayer = stack.add(layer(10, 1));
    stack.slideLayer = stack.add(layer(20, 0));
    stack.control(SkinControl::Close) = {stack.add(layer(30, 1)), stack.add(layer(30, 255)),
                                         stack.add(layer(30, 255))};
    stack.control(SkinControl::Menu) = {stack.add(layer(40, 255)), nullptr, nullptr};
    const LayerStackRegions regions([&stack]() -> LayerStack& { return stack; });
    // where, on the base, on the slide, on the close control, on the menu control
    const std::tuple<QPoint, bool, bool, bool, bool> cases[] = {
        {{1, 1}, true, false, false, false},   {{11, 1}, false, true, false, false},
        {{21, 1}, false, false, false, false}, {{31, 1}, false, false, true, false},
        {{41, 1}, false, false, false, false}, // a control without all its looks
    };
    for (const auto& [p, base, slide, close, menu] : cases) {
        EXPECT_EQ(regions.hitsBase(p), base) << p.x();
        EXPECT_EQ(regions.hitsSlide(p), slide) << p.x();
        EXPECT_EQ(regions.hitsControl(SkinControl::Close, p), close) << p.x();
        EXPECT_EQ(regions.hitsControl(SkinControl::Menu, p), menu) << p.x();
    }
}
