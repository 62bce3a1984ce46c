// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/windowplacement.h"

#include <gtest/gtest.h>

using namespace orvanta;

namespace {

// The desktop in desktop coordinates; two pixels of edge are added around the
// compass, and at least 48 of room when the window grows.
const QRect kDesktop(0, 0, 1000, 800);

TEST(WindowPlacement, FollowsTheCompassGrowingAtOnceShrinkingLazilyAndFittingWhenCarried) {
    struct Case {
        const char* what;
        QRect bounds, current;
        std::optional<QPoint> shift;
        QRect placed;
    };
    const Case cases[] = {
        {"first frame: the compass and its edge", {100, 100, 200, 100}, {}, {}, {98, 98, 204, 104}},
        {"outgrown: the compass with room around it",
         {100, 100, 200, 100},
         {120, 100, 100, 80},
         {},
         {50, 50, 300, 200}},
        {"a compass that still fits keeps its window",
         {120, 110, 150, 80},
         {50, 50, 300, 200},
         {},
         {50, 50, 300, 200}},
        {"a window not yet twice too large stays",
         {100, 100, 50, 50},
         {0, 0, 280, 280},
         {},
         {0, 0, 280, 280}},
        {"a window more than twice too large shrinks",
         {100, 100, 50, 50},
         {0, 0, 1000, 800},
         {},
         {50, 50, 150, 150}},
        {"too narrow grows at once, the height it has is kept",
         {100, 100, 400, 100},
         {50, 50, 300, 200},
         {},
         {48, 50, 504, 200}},
        {"a compass that only moved takes its window along",
         {130, 120, 200, 100},
         {95, 95, 210, 110},
         QPoint(30, 20),
         {125, 115, 210, 110}},
        {"a roomy window that only moved is fitted to the compass",
         {130, 120, 200, 100},
         {50, 50, 300, 200},
         QPoint(30, 20),
         {128, 118, 204, 104}},
        {"a compass that grew as it moved is not carried: its window grows around it",
         {130, 120, 300, 100},
         {95, 95, 210, 110},
         QPoint(30, 20),
         {80, 115, 400, 110}},
        {"not where the desktop's edge cuts the compass: its size would change as it moves",
         {-50, 100, 200, 100},
         {0, 40, 300, 200},
         QPoint(0, 10),
         {0, 50, 300, 200}},
        {"carried past the desktop's edge it stays where it fits",
         {830, 100, 150, 100},
         {700, 50, 300, 200},
         QPoint(30, 0),
         {700, 50, 300, 200}},
        {"a compass that left its window is followed, the size kept",
         {600, 400, 200, 100},
         {50, 50, 300, 200},
         {},
         {550, 350, 300, 200}},
        {"a compass beyond the desktop gives the desktop at most",
         {-500, -500, 3000, 3000},
         {0, 0, 100, 100},
         {},
         kDesktop},
        {"a compass near a corner: room on the inside only",
         {0, 0, 100, 100},
         {0, 0, 50, 50},
         {},
         {0, 0, 150, 150}},
        {"nothing on the desktop keeps the window",
         {2000, 2000, 10, 10},
         {50, 50, 300, 200},
         {},
         {50, 50, 300, 200}},
    };
    for (const Case& c : cases) {
        const QRect placed = placeWindow(c.bounds, c.current, kDesktop, c.shift);
        EXPECT_EQ(placed, c.placed) << c.what;
        EXPECT_TRUE(kDesktop.contains(placed)) << c.what;
    }
}

} // namespace
