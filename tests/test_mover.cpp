// Held controls: the stepping actions, their repeat and the cursor carried along.
#include "interaction/draggeometry.h"
#include "interaction/fakeports.h"

#include <cmath>
#include <functional>
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
        layers.Add(key, QRect(140, 100, 20, 20), onBase);
        window.origin = origin;
        cursor.pos = kOnControl + origin;
    }
    void Press(Qt::KeyboardModifiers mods = Qt::NoModifier) {
        ui.MouseDown(Qt::LeftButton, mods, kOnControl);
    }
    // The milliseconds after now at which `value` changed, over `ms` milliseconds.
    std::vector<int> StepTimes(int ms, const std::function<float()>& value) {
        std::vector<int> times;
        float last = value();
        for (int t = 1; t <= ms; ++t) {
            Advance(1);
            if (value() != last)
                times.push_back(t);
            last = value();
        }
        return times;
    }
    [[nodiscard]] QPoint CursorInWindow() const { return cursor.pos - window.origin; }
    std::function<float()> angle = [this] { return model.state.FAngle; };
};

TEST(Mover, FlipTurnsAtOnceThenEvery45AfterMoreThan300ms) {
    HoldRig r(K::Flip);
    r.model.state.FAngle = 10;
    r.Press();
    EXPECT_EQ(r.model.state.FAngle, 45.0f);
    EXPECT_EQ(r.StepTimes(1100, r.angle), (std::vector<int>{400, 701, 1002}));
    EXPECT_EQ(r.model.state.FAngle, 180.0f);

    r.ui.MouseUp(Qt::LeftButton, Qt::NoModifier, kOnControl);
    EXPECT_TRUE(r.StepTimes(1000, r.angle).empty());
}

TEST(Mover, ShiftHeldTurnStepsTenWithMoreThan16msBetweenSteps) {
    HoldRig r(K::Angle);
    r.clock.now = 0xFFFFFFFFu - 405; // the clock wraps between two steps
    r.Press(Qt::ShiftModifier);
    EXPECT_EQ(r.model.state.FAngle, 10.0f);
    EXPECT_EQ(r.StepTimes(450, r.angle), (std::vector<int>{400, 417, 434}));
    EXPECT_EQ(r.model.state.FAngle, 40.0f);
}

TEST(Mover, AKeyDuringAHeldTurnLeavesItsStep) {
    HoldRig r(K::Angle);
    r.Press();
    r.ui.KeyDown(Qt::Key_F, Qt::NoModifier);
    EXPECT_EQ(r.model.state.FAngle, 45.0f);
    r.Advance(400);
    EXPECT_EQ(r.model.state.FAngle, 46.0f);
}

TEST(Mover, HeldMovesCarryCompassAndCursorOnAnyDesktopOrigin) {
    struct Case {
        K key;
        float angle;
        Qt::KeyboardModifiers mods;
        QPoint moved; // compass and cursor, after the press and one repeat
    };
    const Case cases[] = {
        {K::MoveRight, 0, Qt::NoModifier, {2, 0}},
        {K::MoveUp, 0, Qt::ShiftModifier, {0, -20}},
        {K::Right, 90, Qt::ControlModifier, {0, 20}}, // along a beam pointing down
        {K::Left, 0, Qt::NoModifier, {-2, 0}},
    };
    for (const QPoint origin : kOrigins) {
        for (const Case& c : cases) {
            HoldRig r(c.key, origin);
            r.model.state.FAngle = c.angle;
            r.Press(c.mods);
            r.Advance(400);
            EXPECT_EQ(QPoint(r.model.state.FPosX, r.model.state.FPosY) - QPoint(200, 200), c.moved);
            EXPECT_EQ(r.CursorInWindow() - kOnControl, c.moved);
        }
    }
}

TEST(Mover, HeldTurnCarriesTheCursorRoundThePivot) {
    for (const QPoint origin : kOrigins) {
        HoldRig r(K::Angle, origin);
        const QPointF pivot = r.ui.PivotPoint();
        const auto polar = [&] {
            const QPointF c = QPointF(r.CursorInWindow()) - pivot;
            return std::pair(std::hypot(c.x(), c.y()),
                             PointAngle(c, {0, 0}) * 180 / std::numbers::pi);
        };
        const auto [radius, before] = polar();
        r.Press(Qt::ControlModifier);
        r.Advance(400);
        const auto [radiusAfter, after] = polar();
        EXPECT_NEAR(radiusAfter, radius, 1.0);
        EXPECT_NEAR(after - before, 20.0, 0.5);
    }
}

TEST(Mover, CursorFollowsExtensionOnlyWithTheSlide) {
    struct Case {
        K key;
        bool onBase;
        float spread;
        QPoint cursorMoved;
    };
    const Case cases[] = {
        {K::Out, false, 100, {1, 0}},
        {K::Out, true, 100, {0, 0}},
        {K::In, false, 100, {-1, 0}},
        {K::In, false, 0, {0, 0}}, // a closed compass has nowhere to go
    };
    for (const Case& c : cases) {
        HoldRig r(c.key, {-1920, 0}, c.onBase);
        r.model.state.FMeasurement = c.spread;
        r.Press();
        EXPECT_EQ(r.model.state.FMeasurement - c.spread, c.key == K::Out ? 1 : -1);
        EXPECT_EQ(r.CursorInWindow() - kOnControl, c.cursorMoved);
    }
}

} // namespace
} // namespace orvanta
