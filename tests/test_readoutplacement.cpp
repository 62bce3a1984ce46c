// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/geometry.h"

#include <gtest/gtest.h>

using namespace orvanta;

namespace {

const QRect kScreen(0, 0, 1920, 1080);
// A second, shorter monitor to the right of the first.
const QRect kRight(1920, 0, 1280, 1024);

TEST(ReadoutPlacement, StaysWhereItFitsComesBackAlongTheBeamOrFlipsOrStepsBesideTheCompass) {
    struct Case {
        const char* what;
        QList<QRect> monitors;
        QRectF bounds;
        QPointF pivot;
        double angle;
        QPointF shift;
        QList<QPolygonF> compass; // the compass's opaque parts
    };
    const Case cases[] = {
        {"fits: stays", {kScreen}, {100, 100, 80, 20}, {50, 110}, 0, {0, 0}, {}},
        {"touching the edge still fits",
         {kScreen},
         {1840, 1060, 80, 20},
         {1000, 1070},
         0,
         {0, 0},
         {}},
        {"spread 1000 past the right edge: back along the beam",
         {kScreen},
         {1900, 500, 80, 20},
         {900, 510},
         0,
         {-60, 0},
         {QPolygonF(QRectF(860, 480, 80, 60))}},
        {"base at the right edge, beam off the screen: beside the compass, not over its base",
         {kScreen},
         {2200, 490, 80, 20},
         {1850, 500},
         0,
         {-360, 40},
         {QPolygonF(QRectF(1770, 474, 52, 52)), QPolygonF(QRectF(1824, 472, 356, 56))}},
        {"past the top with the beam along it: flipped below the beam",
         {kScreen},
         {500, -10, 80, 20},
         {300, 30},
         0,
         {0, 60},
         {}},
        {"beam at 45 degrees past the corner: the longer of the two moves",
         {kScreen},
         {1900, 1070, 40, 20},
         {1000, 200},
         45,
         {-20, -20},
         {}},
        {"beam pointing left, readout beyond the desktop: the nearest monitor",
         {kScreen},
         {-200, 500, 80, 20},
         {300, 510},
         180,
         {200, 0},
         {}},
        {"below the shorter monitor: up along a downward beam",
         {kScreen, kRight},
         {2500, 1030, 80, 20},
         {2540, 600},
         90,
         {0, -26},
         {}},
        {"on the second monitor, inside: stays",
         {kScreen, kRight},
         {2500, 900, 80, 20},
         {2540, 600},
         90,
         {0, 0},
         {}},
        {"wider than its monitor: pushed in from the left",
         {QRect(0, 0, 100, 100)},
         {-10, 10, 150, 20},
         {0, 20},
         0,
         {10, 0},
         {}},
    };
    for (const Case& c : cases) {
        const QPointF s = readoutShift(c.bounds, c.pivot, c.angle, c.monitors, c.compass);
        EXPECT_NEAR(s.x(), c.shift.x(), 1e-6) << c.what;
        EXPECT_NEAR(s.y(), c.shift.y(), 1e-6) << c.what;
    }
}

TEST(TipAnchor, OnTheMonitorUnderThePointOrTheNearestOne) {
    struct Case {
        const char* what;
        QList<QRect> monitors;
        QPoint point;
        QPoint anchor;
    };
    const Case cases[] = {
        {"on a monitor: stays", {kScreen, kRight}, {2500, 600}, {2500, 600}},
        {"past the right edge", {kScreen}, {2100, 500}, {1919, 500}},
        {"past a corner", {kScreen}, {-30, -40}, {0, 0}},
        {"below the shorter monitor: onto it, not the taller one",
         {kScreen, kRight},
         {2500, 1050},
         {2500, 1023}},
        {"no monitors known: stays", {}, {-5, 7}, {-5, 7}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pointOnMonitors(c.point, c.monitors), c.anchor) << c.what;
}

} // namespace
