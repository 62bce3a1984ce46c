// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Held controls: the stepping actions, their repeat and the cursor carried along.
#include "fakes/fakeports.h"
#include "interaction/draggeometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace orvanta {
namespace {

using fakes::Rig;
using K = SkinControl;
constexpr QPoint kOnControl{150, 110};
const QPoint kOrigins[] = {{0, 0}, {-1920, -300}};

struct HoldRig : Rig {
    explicit HoldRig(K key, QPoint origin = {}, bool onBase = true) {
        layers.add(key, QRect(140, 100, 20, 20), onBase);
        window.origin = origin;
        cursor.pos = kOnControl + origin;
    }
    void press(Qt::KeyboardModifiers mods = Qt::NoModifier) {
        ui.mouseDown(Qt::LeftButton, mods, kOnControl);
    }
    // The milliseconds after now at which the angle changed, over `ms` milliseconds.
    std::vector<int> turnTimes(int ms) {
        std::vector<int> times;
        for (int t = 1; t <= ms; ++t) {
            const float last = model.state.angle;
            advance(1);
            if (model.state.angle != last)
                times.push_back(t);
        }
        return times;
    }
    [[nodiscard]] QPoint cursorInWindow() const { return cursor.pos - window.origin; }
};

TEST(Stepper, HeldTurnsStepAtOnceThenRepeatAfterTheirDelays) {
    // Flip: every 45 degrees, more than 300 ms apart; stops on release.
    HoldRig flip(K::Flip);
    flip.model.state.angle = 10;
    flip.press();
    EXPECT_EQ(flip.model.state.angle, 45.0f);
    EXPECT_EQ(flip.turnTimes(1100), (std::vector<int>{400, 701, 1002}));
    EXPECT_EQ(flip.model.state.angle, 180.0f);
    flip.ui.mouseUp(Qt::LeftButton, Qt::NoModifier, kOnControl);
    EXPECT_TRUE(flip.turnTimes(1000).empty());

    // Angle with Shift: ten degrees, more than 16 ms apart, across a clock wrap.
    HoldRig turn(K::Angle);
    turn.clock.now = 0xFFFFFFFFu - 405;
    turn.press(Qt::ShiftModifier);
    EXPECT_EQ(turn.model.state.angle, 10.0f);
    EXPECT_EQ(turn.turnTimes(450), (std::vector<int>{400, 417, 434}));
    EXPECT_EQ(turn.model.state.angle, 40.0f);

    // A key during a held turn leaves the held step as it was.
    HoldRig keyed(K::Angle);
    keyed.press();
    keyed.ui.keyDown(Qt::Key_F, Qt::NoModifier);
    EXPECT_EQ(keyed.model.state.angle, 45.0f);
    keyed.advance(400);
    EXPECT_EQ(keyed.model.state.angle, 46.0f);
}

TEST(Stepper, HeldMovesCarryCompassAndCursorOnAnyDesktopOrigin) {
    const std::tuple<K, float, Qt::KeyboardModifiers, QPoint> cases[] = {
        {K::MoveUp, 0, Qt::ShiftModifier, {0, -20}},
        {K::Right, 90, Qt::ControlModifier, {0, 20}}, // along a beam pointing down
        {K::Left, 0, Qt::NoModifier, {-2, 0}},
    };
    for (const QPoint origin : kOrigins) {
        for (const auto& [key, angle, mods, moved] : cases) {
            HoldRig r(key, origin);
            r.model.state.angle = angle;
            r.press(mods); // the press and one repeat
            r.advance(400);
            EXPECT_EQ(QPoint(r.model.state.posX, r.model.state.posY) - QPoint(200, 200), moved);
            EXPECT_EQ(r.cursorInWindow() - kOnControl, moved);
        }
        // A held turn carries the cursor round the pivot.
        HoldRig r(K::Angle, origin);
        const QPointF pivot = r.ui.pivotPoint();
        const auto polar = [&] {
            const QPointF c = QPointF(r.cursorInWindow()) - pivot;
            return std::pair(std::hypot(c.x(), c.y()),
                             pointAngle(c, {0, 0}) * 180 / std::numbers::pi);
        };
        const auto [radius, before] = polar();
        r.press(Qt::ControlModifier);
        r.advance(400);
        const auto [radiusAfter, after] = polar();
        EXPECT_NEAR(radiusAfter, radius, 1.0);
        EXPECT_NEAR(after - before, 20.0, 0.5);
    }
}

TEST(Stepper, CursorFollowsExtensionOnlyWithTheSlide) {
    const std::tuple<K, bool, float, QPoint> cases[] = {
        {K::Out, false, 100, {1, 0}},
        {K::Out, true, 100, {0, 0}},
        {K::In, false, 100, {-1, 0}},
        {K::In, false, 0, {0, 0}}, // a closed compass has nowhere to go
    };
    for (const auto& [key, onBase, spread, cursorMoved] : cases) {
        HoldRig r(key, {-1920, 0}, onBase);
        r.model.state.measurement = spread;
        r.press();
        EXPECT_EQ(r.model.state.measurement - spread, key == K::Out ? 1 : -1);
        EXPECT_EQ(r.cursorInWindow() - kOnControl, cursorMoved);
    }
}

} // namespace
} // namespace orvanta
