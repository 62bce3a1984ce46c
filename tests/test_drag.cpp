// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Dragging the base and the slide: the geometry and the drag handling.
#include "fakes/fakeports.h"
#include "interaction/draggeometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace orvanta {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(DragGeometry, PointAngleRunsClockwiseFromMinusQuarterToThreeQuarters) {
    const QPointF c(50, 50);
    const std::pair<QPointF, double> cases[] = {
        {{60, 50}, 0},           {{50, 60}, kPi / 2},     {{40, 50}, kPi},
        {{50, 40}, 3 * kPi / 2}, {{50, 50}, 3 * kPi / 2}, {{40, 40}, 5 * kPi / 4},
        {{60, 40}, -kPi / 4},    {{40, 60}, 3 * kPi / 4},
    };
    for (const auto& [p, expected] : cases)
        EXPECT_NEAR(pointAngle(p, c), expected, 1e-12) << p.x() << "," << p.y();
}

TEST(DragGeometry, ConstrainedMovesKeepLengthAndTakeTheNearestDirection) {
    const std::tuple<QPoint, std::optional<float>, QPoint> cases[] = {
        // mouse, beam, result
        {{100, 30}, {}, {304, 200}},   // 16.7 degrees snaps to 0; round(sqrt(10900)) = 104
        {{96, 28}, 10.f, {298, 217}},  // 16.3 degrees: the beam's own direction, 10
        {{60, 80}, 10.f, {257, 282}},  // 53.1 degrees: 55
        {{99, -14}, 10.f, {298, 217}}, // 352 degrees: past 325, so 370 = 10
        {{100, 0}, -3.f, {300, 195}},  // 0 degrees: 357
        {{60, 80}, -3.f, {274, 267}},  // 53.1 degrees: 42
    };
    for (const auto& [mouse, beam, expected] : cases)
        EXPECT_EQ(constrainedMove({0, 0}, {200, 200}, mouse, beam), expected) << mouse.x();

    // A stored angle far outside one turn still ends on a valid direction.
    const QPoint far = constrainedMove({0, 0}, {0, 0}, {60, 80}, 1e30f);
    EXPECT_NEAR(std::hypot(far.x(), far.y()), 100, 1);
}

// The slide of a compass at the origin, spread 100 along angle 0, grabbed 10 inside.
SlidePose slide(QPointF mouse, bool lockM = false, bool lockA = false, QPointF grab = {90, 0},
                float spread = 100) {
    return slideDrag({{0, 0}, mouse, grab, spread, 0.0f, lockM, lockA});
}

TEST(DragGeometry, SlideFollowsTheMouseUnderTheLocks) {
    const std::tuple<const char*, SlidePose, float, float> cases[] = {
        {"outwards along the beam", slide({110, 0}), 0, 120},
        {"a quarter turn about the pivot", slide({0, 90}), 90, 100},
        {"held on the measuring point", slide({0, 130}, false, false, {100, 0}), 90, 130},
        // Off the beam: the grab point keeps its place on the slide, 10 in and 5 aside.
        {"grabbed off the beam", slide({50, 80}, false, false, {90, -5}), 61.0327f, 104.2072f},
        {"angle locked, along the beam", slide({130, 0}, false, true), 0, 140},
        {"angle locked, past the pivot", slide({-50, 0}, false, true), 0, 0},
        {"measurement locked", slide({0, 130}, true), 90, 100},
        {"closed, moved outwards", slide({5.2, 0}, false, false, {5, 0}, 0), 0, 1},
        {"closed, moved too little", slide({5.05, 0}, false, false, {5, 0}, 0), 0, 0},
        {"closed, locked, beam side", slide({6, 0}, false, true, {5, 0}, 0), 0, 1},
        {"closed, locked, far side", slide({-6, 0}, false, true, {-5, 0}, 0), 0, 0},
    };
    for (const auto& [what, pose, angle, measurement] : cases) {
        EXPECT_NEAR(pose.angle, angle, 1e-3) << what;
        EXPECT_NEAR(pose.measurement, measurement, 1e-3) << what;
    }
}

using fakes::Rig;
constexpr QPoint kOnBase{210, 210};
constexpr QPoint kOnSlide{305, 210};

TEST(Drag, BaseMovesFreelyOrAlongEightDirections) {
    Rig r;
    r.model.state.typing = true;
    r.ui.mouseDown(Qt::LeftButton, Qt::NoModifier, kOnBase);
    r.ui.mouseMove(Qt::NoModifier, kOnBase + QPoint(40, 20));
    EXPECT_EQ(QPoint(r.model.state.posX, r.model.state.posY), QPoint(240, 220));
    EXPECT_TRUE(r.model.state.needsRepaint);
    EXPECT_FALSE(r.model.state.typing);
    // Shift measures from the mouse-down point, whatever came between.
    r.ui.mouseMove(Qt::ShiftModifier, kOnBase + QPoint(100, 30));
    EXPECT_EQ(QPoint(r.model.state.posX, r.model.state.posY), QPoint(304, 200));
}

TEST(Drag, LongSlideDragKeepsTheGrabPointUnderTheMouse) {
    // Each render rounds the shown spread; many small moves must not add those up.
    Rig r;
    const QPointF pivot = r.ui.pivotPoint();
    const double grabOffset =
        std::hypot(kOnSlide.x() - pivot.x(), kOnSlide.y() - pivot.y()) - r.model.state.measurement;
    r.ui.mouseDown(Qt::LeftButton, Qt::NoModifier, kOnSlide);
    QPoint mouse = kOnSlide;
    for (int i = 1; i <= 150; ++i) {
        mouse = kOnSlide + QPoint(i, i / 3);
        r.ui.mouseMove(Qt::NoModifier, mouse);
        r.model.state.normalizeCompass(r.options, false);
    }
    const double reach = std::hypot(mouse.x() - pivot.x(), mouse.y() - pivot.y());
    EXPECT_NEAR(r.model.state.measurement, reach - grabOffset, 1.0);
}

TEST(Drag, TheSlideEndsOnTheSameBeamWhicheverOfItsMovesArrived) {
    // A busy program sees only some of the pointer's moves; the saved beam
    // must not depend on which, down to its last digit.
    for (const bool lockMeasurement : {false, true}) {
        const auto dragAlong = [&](int every) {
            Rig r;
            r.options.lockMeasurement = lockMeasurement;
            r.ui.mouseDown(Qt::LeftButton, Qt::NoModifier, kOnSlide);
            for (int i = every; i <= 40; i += every) {
                r.ui.mouseMove(Qt::NoModifier, kOnSlide + QPoint(i / 2, 2 * i));
                r.model.state.normalizeCompass(r.options, false);
            }
            return std::pair(r.model.state.angle, r.model.state.measurement);
        };
        const auto all = dragAlong(1);
        EXPECT_NE(all.first, 0.0f);
        for (const int every : {2, 4, 5, 8, 10, 20, 40})
            EXPECT_EQ(dragAlong(every), all) << "every " << every << " lock " << lockMeasurement;
    }
}

TEST(Drag, ModifiersAndLocksChooseWhatTheSlideChanges) {
    // modifiers, angle locked, measurement locked, turns, extends
    const std::tuple<Qt::KeyboardModifiers, bool, bool, bool, bool> cases[] = {
        {Qt::NoModifier, false, false, true, true},
        {Qt::AltModifier, false, false, true, false},
        {Qt::ShiftModifier, false, false, false, true},
        {Qt::NoModifier, true, false, false, true},
        {Qt::NoModifier, false, true, true, false},
        {Qt::AltModifier, true, false, true, false},
    };
    for (const auto& [mods, lockAngle, lockMeasurement, turns, extends] : cases) {
        Rig r;
        r.options.lockAngle = lockAngle;
        r.options.lockMeasurement = lockMeasurement;
        r.ui.mouseDown(Qt::LeftButton, mods, kOnSlide);
        r.ui.mouseMove(mods, {330, 220});
        EXPECT_EQ(r.model.state.angle != 0, turns);
        EXPECT_EQ(r.model.state.measurement != 100, extends);
        EXPECT_NE(r.model.state.measurement, 0);
    }
}

TEST(Drag, ReleaseCommitsTheStickySnapOfTheAngleAtRelease) {
    // sticky, modifiers, angle at release, committed
    const std::tuple<bool, Qt::KeyboardModifiers, float, float> cases[] = {
        {true, Qt::NoModifier, 43, 45},      {true, Qt::NoModifier, 40, 40},
        {true, Qt::ControlModifier, 43, 43}, {false, Qt::ControlModifier, 43, 45},
        {false, Qt::NoModifier, 43, 43},     {true, Qt::NoModifier, 358, 360},
    };
    for (const auto& [sticky, mods, released, committed] : cases) {
        Rig r;
        r.options.stickyAngle = sticky;
        r.ui.mouseDown(Qt::LeftButton, mods, kOnSlide);
        r.model.state.angle = released;
        r.model.state.displayAngle = 0; // the last frame drawn lags behind
        r.ui.mouseUp(Qt::LeftButton, mods, kOnSlide);
        EXPECT_EQ(r.model.state.angle, committed) << released;
        EXPECT_FALSE(r.model.state.dragging);
    }
}

} // namespace
} // namespace orvanta
