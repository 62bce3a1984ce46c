// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/x11shape.h"

#include <QGuiApplication>
#include <QPainter>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

// Rows of pixels: '#' opaque, '+' half transparent (alpha 128), ':' all but
// clear (alpha 1), '.' clear.
QImage imageFrom(const QStringList& rows) {
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QChar c = rows[y][x];
            const int alpha = c == u'#' ? 255 : c == u'+' ? 128 : c == u':' ? 1 : 0;
            image.setPixel(x, y, qRgba(10, 20, 30, alpha));
        }
    return image;
}

TEST(X11Shape, AlphaRunsMergeEqualRunsOfConsecutiveRows) {
    using R = QRect;
    // rows, area (null: all), minimum alpha, rectangles
    const std::vector<std::tuple<const char*, QStringList, QRect, int, QVector<QRect>>> cases = {
        {"EqualRunsMerge", {".##.", ".##.", ".##."}, {}, 1, {R(1, 0, 2, 3)}},
        {"RowBetweenBreaksTheMerge",
         {"#.#", "###", "#.#"},
         {},
         1,
         {R(0, 0, 1, 1), R(2, 0, 1, 1), R(0, 1, 3, 1), R(0, 2, 1, 1), R(2, 2, 1, 1)}},
        {"MatchAfterAnEarlierRun", {"##.#", "...#"}, {}, 1, {R(0, 0, 2, 1), R(3, 0, 1, 2)}},
        {"ThresholdDrops", {"+##+"}, {}, 200, {R(1, 0, 2, 1)}},
        {"AlphaOneTakesTheMouse", {".:#:."}, {}, 1, {R(1, 0, 3, 1)}},
        {"AreaClips", {"####", "####", "####"}, R(1, 1, 2, 9), 1, {R(1, 1, 2, 2)}},
    };
    for (const auto& [name, rows, area, minAlpha, expected] : cases)
        for (const auto format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
                                  QImage::Format_RGBA8888}) {
            const QImage image = imageFrom(rows).convertToFormat(format);
            const QRect scanned = area.isNull() ? image.rect() : area;
            EXPECT_EQ(alphaRuns(image, scanned, minAlpha), expected)
                << name << " in format " << format;
            QRegion same;
            for (const QRect& r : expected)
                same += r;
            EXPECT_EQ(alphaRegion(image, scanned, minAlpha), same) << name;
        }
    // A format without alpha is opaque everywhere.
    EXPECT_EQ(
        alphaRuns(imageFrom({"+..#"}).convertToFormat(QImage::Format_RGB32), R(0, 0, 4, 1), 200),
        QVector<QRect>{R(0, 0, 4, 1)});
}

TEST(X11Shape, AShapeKeptInStepFrameByFrameIsTheWholeScan) {
    // A window image changed frame by frame in one part at a time; after each
    // the shape, scanned again only where it changed, is the whole scan.
    QImage image(120, 90, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(10, 10, 60, 20, Qt::black);
    PixelShape input(1);
    PixelShape bounding(128);
    input.reset(image);
    bounding.reset(image);
    struct Change {
        const char* what;
        QRect area;
        QColor colour;
        bool changes;
    };
    const Change changes[] = {
        {"a piece drawn", {80, 40, 30, 30}, Qt::red, true},
        {"a piece cleared", {10, 10, 30, 20}, Qt::transparent, true},
        {"faint pixels: input only", {0, 70, 50, 10}, QColor(0, 0, 0, 60), true},
        {"the same pixels again", {80, 40, 30, 30}, Qt::red, false},
        {"a turned piece", {}, Qt::blue, true},
    };
    for (const Change& c : changes) {
        QRegion changed(c.area);
        {
            QPainter p(&image);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            if (c.area.isNull()) {
                const QPolygon diamond({{60, 30}, {90, 60}, {60, 89}, {30, 60}});
                p.setPen(Qt::NoPen);
                p.setBrush(c.colour);
                p.drawPolygon(diamond);
                changed = QRegion(diamond.boundingRect().adjusted(-1, -1, 1, 1));
            } else {
                p.fillRect(c.area, c.colour);
            }
        }
        EXPECT_EQ(input.update(image, changed), c.changes) << c.what;
        bounding.update(image, changed);
        EXPECT_EQ(input.region(), alphaRegion(image, image.rect(), 1)) << c.what;
        EXPECT_EQ(bounding.region(), alphaRegion(image, image.rect(), 128)) << c.what;
    }
}

// The window falls back to a bounding shape when this says false, so it must
// not claim a compositor where there is no X connection at all.
TEST(X11Shape, WithoutX11NothingIsClaimed) {
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        GTEST_SKIP() << "running on X11";
    EXPECT_FALSE(compositorRunning());
    EXPECT_FALSE(setInputShape(WId(42), {QRect(0, 0, 1, 1)}));
}

} // namespace
