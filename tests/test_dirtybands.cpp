// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/dirtybands.h"

#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

qint64 area(const QRegion& region) {
    qint64 pixels = 0;
    for (const QRect& r : region)
        pixels += qint64(r.width()) * r.height();
    return pixels;
}

TEST(DirtyBands, RectanglesMarkTheirColumnsInEveryBandTheyCross) {
    struct Case {
        const char* what;
        QRect area;
        QList<QRect> added;
        QRegion expected;
    };
    const Case cases[] = {
        {"inside one band", {0, 0, 64, 64}, {{17, 5, 2, 2}}, QRegion(17, 0, 2, 16)},
        {"across two bands", {0, 0, 64, 64}, {{15, 15, 2, 2}}, QRegion(15, 0, 2, 32)},
        {"ending on a band's edge", {0, 0, 64, 64}, {{0, 0, 16, 16}}, QRegion(0, 0, 16, 16)},
        {"cut at the area's edge", {0, 0, 40, 40}, {{30, 30, 20, 20}}, QRegion(30, 16, 10, 24)},
        {"an area that does not start at 0",
         {100, 50, 64, 64},
         {{120, 70, 1, 1}},
         QRegion(120, 66, 1, 16)},
        {"outside the area", {0, 0, 64, 64}, {{70, 10, 5, 5}}, QRegion()},
        {"close columns pushed as one",
         {0, 0, 64, 64},
         {{10, 0, 5, 5}, {20, 0, 5, 5}},
         QRegion(10, 0, 15, 16)},
        {"distant columns kept apart",
         {0, 0, 64, 64},
         {{10, 0, 5, 5}, {40, 0, 5, 5}},
         QRegion(10, 0, 5, 16) + QRegion(40, 0, 5, 16)},
    };
    for (const Case& c : cases) {
        DirtyBands bands(c.area, 16);
        for (const QRect& r : c.added)
            bands.addRect(r);
        EXPECT_EQ(bands.region(), c.expected) << c.what;
        EXPECT_EQ(bands.isEmpty(), c.expected.isEmpty()) << c.what;
    }
}

TEST(DirtyBands, ALineMarksTheColumnsItCrossesInEachBandWidenedByThePad) {
    struct Case {
        const char* what;
        QPolygonF line;
        QRegion expected;
    };
    const Case cases[] = {
        {"within one band", {{10.5, 3}, {20.5, 8}}, QRegion(8, 0, 15, 16)},
        {"across two bands, each its part",
         {{10, 10}, {30, 30}},
         QRegion(8, 0, 12, 16) + QRegion(12, 16, 20, 16)},
        {"level, on a band's edge: both bands", {{20, 15.5}, {30, 15.5}}, QRegion(18, 0, 14, 32)},
        {"from above the area", {{5, -10}, {5, 4}}, QRegion(3, 0, 4, 16)},
        {"two pieces in one band", {{10, 2}, {12, 4}, {40, 6}}, QRegion(8, 0, 34, 16)},
    };
    for (const Case& c : cases) {
        DirtyBands bands(QRect(0, 0, 64, 64), 16);
        bands.addPolyline(c.line, 2.0);
        EXPECT_EQ(bands.region(), c.expected) << c.what;
    }
}

TEST(DirtyBands, AFigureOutlineIsABandAndCoversEveryPixelItDraws) {
    // Each case: an outline of a figure in a 1000-pixel square, and what share
    // of the square its band may take at most.
    struct Case {
        const char* what;
        QPainterPath path;
        double maxShare;
    };
    QPainterPath circle;
    circle.addEllipse(QRectF(2, 2, 996, 996));
    QPainterPath square;
    square.addRect(QRectF(2, 2, 996, 996));
    QPainterPath turned = QTransform().translate(500, 500).rotate(30).translate(-350, -350).map([] {
        QPainterPath p;
        p.addRect(QRectF(0, 0, 700, 700));
        return p;
    }());
    const Case cases[] = {
        {"circle", circle, 0.12}, {"square", square, 0.08}, {"turned square", turned, 0.12}};
    const QRect box(0, 0, 1000, 1000);
    for (const Case& c : cases) {
        DirtyBands grid(box, 16);
        for (const QPolygonF& line : c.path.toSubpathPolygons())
            grid.addPolyline(line, 2.0);
        const QRegion band = grid.region();
        EXPECT_LT(double(area(band)), c.maxShare * double(area(QRegion(box)))) << c.what;
        // Every pixel the painter draws for the outline lies in the band.
        QImage drawn(box.size(), QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter p(&drawn);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1));
        p.drawPath(c.path);
        p.end();
        int outside = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                outside += qAlpha(drawn.pixel(x, y)) != 0 && !band.contains(QPoint(x, y));
        EXPECT_EQ(outside, 0) << c.what;
    }
}

TEST(DirtyBands, ATurnedBarMarksItsStripNotItsBoundingBox) {
    // A 1000 × 40 bar turned by 45°: its box is 735 pixels square.
    const QTransform turn = QTransform().translate(400, 400).rotate(45).translate(-500, -20);
    const QPolygonF bar = turn.map(QPolygonF(QRectF(0, 0, 1000, 40)));
    DirtyBands grid(QRect(0, 0, 800, 800), 16);
    grid.addConvex(bar, 2.0);
    const QRegion strip = grid.region();
    EXPECT_TRUE((QRegion(bar.toPolygon()) - strip).isEmpty());
    EXPECT_LT(area(strip), area(QRegion(bar.boundingRect().toAlignedRect())) / 5);
}

TEST(DirtyBands, CoarsenedRegionsTradePixelsForRectangles) {
    struct Case {
        const char* what;
        QRegion region;
        int rectCost;
        QRegion expected;
    };
    const Case cases[] = {
        {"neighbours closer than a rectangle's price joined",
         QRegion(0, 0, 10, 16) + QRegion(30, 0, 10, 16), 400, QRegion(0, 0, 40, 16)},
        {"neighbours farther apart kept", QRegion(0, 0, 10, 16) + QRegion(40, 0, 10, 16), 400,
         QRegion(0, 0, 10, 16) + QRegion(40, 0, 10, 16)},
        {"a band joins the one above when that is cheaper",
         QRegion(0, 0, 10, 16) + QRegion(2, 16, 10, 16), 400, QRegion(0, 0, 12, 32)},
        {"a band far to the side stays apart", QRegion(0, 0, 10, 16) + QRegion(100, 16, 10, 16),
         400, QRegion(0, 0, 10, 16) + QRegion(100, 16, 10, 16)},
        {"two columns running down together",
         QRegion(0, 0, 10, 16) + QRegion(200, 0, 10, 16) + QRegion(1, 16, 10, 16) +
             QRegion(201, 16, 10, 16),
         400, QRegion(0, 0, 11, 32) + QRegion(200, 0, 11, 32)},
        {"bands with a gap between them stay apart", QRegion(0, 0, 10, 16) + QRegion(0, 20, 10, 16),
         400, QRegion(0, 0, 10, 16) + QRegion(0, 20, 10, 16)},
        {"nothing stays nothing", QRegion(), 400, QRegion()},
        {"at no price, only what touches", QRegion(0, 0, 10, 16) + QRegion(12, 0, 10, 16), 0,
         QRegion(0, 0, 10, 16) + QRegion(12, 0, 10, 16)},
    };
    for (const Case& c : cases) {
        const QRegion coarse = coarsened(c.region, c.rectCost);
        EXPECT_EQ(coarse, c.expected) << c.what;
        EXPECT_TRUE((c.region - coarse).isEmpty()) << c.what;
    }
}

TEST(DirtyBands, ACoarsenedOutlineBandHasFewerRectanglesAndLittleMore) {
    QPainterPath circle;
    circle.addEllipse(QRectF(2, 2, 996, 996));
    DirtyBands grid(QRect(0, 0, 1000, 1000), 16);
    for (const QPolygonF& line : circle.toSubpathPolygons())
        grid.addPolyline(line, 2.0);
    const QRegion band = grid.region();
    const QRegion coarse = coarsened(band, 600);
    EXPECT_TRUE((band - coarse).isEmpty());
    EXPECT_LT(coarse.rectCount(), band.rectCount() * 2 / 3);
    // Each rectangle saved costs at most its price in pixels.
    EXPECT_LE(area(coarse) - area(band), qint64(band.rectCount() - coarse.rectCount()) * 600);
}

} // namespace
