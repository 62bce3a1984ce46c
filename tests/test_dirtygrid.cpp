#include "render/dirtygrid.h"

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

TEST(DirtyGrid, RectanglesMarkTheCellsTheyTouchClippedToTheArea) {
    struct Case {
        const char* what;
        QRect area;
        QRect added;
        QRegion expected;
    };
    const Case cases[] = {
        {"inside one cell", {0, 0, 64, 64}, {17, 5, 2, 2}, QRegion(16, 0, 16, 16)},
        {"across a corner of four cells", {0, 0, 64, 64}, {15, 15, 2, 2}, QRegion(0, 0, 32, 32)},
        {"ending on a cell's edge", {0, 0, 64, 64}, {0, 0, 16, 16}, QRegion(0, 0, 16, 16)},
        {"cells cut at the area's edge", {0, 0, 40, 40}, {30, 30, 20, 20}, QRegion(16, 16, 24, 24)},
        {"an area that does not start at 0",
         {100, 50, 64, 64},
         {120, 70, 1, 1},
         QRegion(116, 66, 16, 16)},
        {"outside the area", {0, 0, 64, 64}, {70, 10, 5, 5}, QRegion()},
    };
    for (const Case& c : cases) {
        DirtyGrid grid(c.area, 16);
        grid.addRect(c.added);
        EXPECT_EQ(grid.region(), c.expected) << c.what;
        EXPECT_EQ(grid.isEmpty(), c.expected.isEmpty()) << c.what;
    }
}

TEST(DirtyGrid, AFigureOutlineIsABandAndCoversEveryPixelItDraws) {
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
        DirtyGrid grid(box, 16);
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

TEST(DirtyGrid, ATurnedBarMarksItsStripNotItsBoundingBox) {
    // A 1000 × 40 bar turned by 45°: its box is 735 pixels square.
    const QTransform turn = QTransform().translate(400, 400).rotate(45).translate(-500, -20);
    const QPolygonF bar = turn.map(QPolygonF(QRectF(0, 0, 1000, 40)));
    DirtyGrid grid(QRect(0, 0, 800, 800), 16);
    grid.addConvex(bar, 2.0);
    const QRegion strip = grid.region();
    EXPECT_TRUE((QRegion(bar.toPolygon()) - strip).isEmpty());
    EXPECT_LT(area(strip), area(QRegion(bar.boundingRect().toAlignedRect())) / 5);
}

} // namespace
