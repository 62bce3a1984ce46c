// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The loupe's picture: the desktop beneath enlarged pixel for pixel, the
// compass's own drawing left out of it.

#include "vision/loupe.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

// A picture whose every pixel has a colour of its own.
QImage numbered(int span) {
    QImage image(span, span, QImage::Format_RGB32);
    for (int y = 0; y < span; ++y)
        for (int x = 0; x < span; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) % 256));
    return image;
}

} // namespace

TEST(Loupe, ZoomStepsStayWithinTwoToSixteen) {
    const struct {
        int zoom, steps, expected;
    } cases[] = {{2, 1, 3}, {4, 1, 6}, {16, 1, 16}, {2, -1, 2}, {8, -2, 4}, {2, 99, 16}, {5, 1, 8}};
    for (const auto& c : cases)
        EXPECT_EQ(steppedZoom(c.zoom, c.steps), c.expected) << c.zoom << " by " << c.steps;
}

TEST(Loupe, EachDesktopPixelFillsAZoomSquareWithTheMiddleOneInTheMiddle) {
    constexpr int kDiameter = 161;
    for (const int zoom : kLoupeZooms) {
        const int span = loupeSpan(kDiameter, zoom);
        ASSERT_EQ(span % 2, 1);
        const QImage beneath = numbered(span);
        const QImage picture = loupePicture(beneath, zoom, kDiameter);
        const int offset = kDiameter / 2 - (span / 2) * zoom - zoom / 2;
        // Inside the crosshair's frame, and away from its lines and the ring.
        for (const QPoint d : {QPoint(0, 0), QPoint(1, 2), QPoint(-2, -1), QPoint(3, -3)}) {
            const QPoint source = QPoint(span / 2, span / 2) + d * std::max(1, 16 / zoom);
            if (!QRect(0, 0, span, span).contains(source))
                continue;
            const QPoint inside =
                QPoint(offset, offset) + source * zoom + QPoint(zoom / 2, zoom / 2);
            EXPECT_EQ(picture.pixel(inside), beneath.pixel(source))
                << "zoom " << zoom << " pixel " << source.x() << "," << source.y();
        }
        // The middle pixel lies at the picture's middle.
        EXPECT_EQ(picture.pixel(kDiameter / 2, kDiameter / 2), beneath.pixel(span / 2, span / 2))
            << "zoom " << zoom;
    }
}

TEST(Loupe, APainterKeptFromFrameToFramePaintsWhatAFreshOneWould) {
    // Frames of seen and never-seen pixels at changing zooms: nothing of one
    // frame's picture may stay in the next.
    LoupePainter lens(161);
    for (const auto& [zoom, hidden] : {std::pair{4, 0}, {4, 5}, {16, 0}, {2, 9}, {2, 0}}) {
        QImage beneath = numbered(loupeSpan(161, zoom)).convertToFormat(QImage::Format_ARGB32);
        for (int i = 0; i < hidden; ++i)
            beneath.setPixel(i, beneath.height() / 2 + i % 3, 0);
        EXPECT_EQ(lens.paint(beneath, zoom), loupePicture(beneath, zoom, 161))
            << "zoom " << zoom << ", " << hidden << " hidden";
    }
}

TEST(Loupe, TheCompasssOwnPixelsAreLeftOutAtAnyOpacity) {
    const QRgb below = qRgb(40, 120, 200);
    QImage screen(9, 9, QImage::Format_RGB32);
    screen.fill(below);
    // The compass drew at (3..5, 3..5) of the grab: opaque at (3, 3), half
    // transparent at (4, 4), faintly at (5, 5), nothing elsewhere.
    QImage drawn(3, 3, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    drawn.setPixel(0, 0, qRgba(10, 10, 10, 255));
    drawn.setPixel(1, 1, qRgba(64, 64, 64, 128));
    drawn.setPixel(2, 2, qRgba(1, 1, 1, 1));
    screen.setPixel(3, 3, qRgb(10, 10, 10));
    const QPoint origin(100, 200);
    // The frame before, which the screen may still show, drew as this one
    // does but also at (6, 6).
    QImage before(4, 4, QImage::Format_ARGB32_Premultiplied);
    before.fill(Qt::transparent);
    before.setPixel(0, 0, drawn.pixel(0, 0));
    before.setPixel(1, 1, drawn.pixel(1, 1));
    before.setPixel(2, 2, drawn.pixel(2, 2));
    before.setPixel(3, 3, qRgba(10, 10, 10, 255));
    const QImage out =
        beneathCompass(screen, origin, drawn, QRect(origin + QPoint(3, 3), drawn.size()),
                       {DrawnFrame{origin + QPoint(3, 3), before}});
    for (int i = 3; i <= 6; ++i)
        EXPECT_EQ(qAlpha(out.pixel(i, i)), 0) << i;
    for (const QPoint p : {QPoint(0, 0), QPoint(4, 5), QPoint(5, 3), QPoint(6, 4), QPoint(8, 8)})
        EXPECT_EQ(out.pixel(p), below) << p.x() << "," << p.y();
    // A covered pixel shows hatched, never in the colour the compass drew.
    const QImage picture = loupePicture(out, 16, 161);
    const QPoint cell = QPoint(80, 80) + (QPoint(3, 3) - QPoint(4, 4)) * 16;
    for (int d = 0; d < 16; ++d)
        EXPECT_NE(picture.pixel(cell + QPoint(d, d / 2) - QPoint(8, 8)), qRgb(10, 10, 10));
}

TEST(Loupe, WhatTheSlideJustCoveredShowsAsItWasSeenAndTheNeverSeenStaysOut) {
    BeneathMemory memory;
    // Seen uncovered, across the corner of four tiles.
    QImage first(10, 10, QImage::Format_ARGB32);
    first.fill(qRgb(1, 2, 3));
    memory.see(first, QPoint(-5, 60));
    // Then covered at (0, 62) and a newer colour seen beside it.
    QImage second(3, 1, QImage::Format_ARGB32);
    second.setPixel(0, 0, qRgb(9, 9, 9));
    second.setPixel(1, 0, 0);
    second.setPixel(2, 0, qRgb(7, 7, 7));
    memory.see(second, QPoint(-1, 62));
    const QImage recalled = memory.recall(QRect(-1, 62, 4, 1));
    EXPECT_EQ(recalled.pixel(0, 0), qRgb(9, 9, 9));
    EXPECT_EQ(recalled.pixel(1, 0), qRgb(1, 2, 3));
    EXPECT_EQ(recalled.pixel(2, 0), qRgb(7, 7, 7));
    EXPECT_EQ(recalled.pixel(3, 0), qRgb(1, 2, 3));
    EXPECT_EQ(qAlpha(memory.recall(QRect(5, 62, 1, 1)).pixel(0, 0)), 0);
    memory.forget();
    EXPECT_EQ(qAlpha(memory.recall(QRect(0, 62, 1, 1)).pixel(0, 0)), 0);
}
