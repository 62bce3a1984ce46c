// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Hover, press and release of the skin controls, tooltips and cursors.
#include "fakes/fakeports.h"

#include <gtest/gtest.h>

namespace orvanta {
namespace {

using fakes::Rig;
using K = SkinControl;
using L = ControlLayer;
constexpr auto kNone = Qt::NoModifier;
constexpr auto kShift = Qt::ShiftModifier;
constexpr QPoint kOnClose{110, 110};
constexpr QPoint kOnAngle{150, 110};
constexpr QPoint kOnSlide{310, 210};
constexpr QPoint kOnBase{210, 210};
constexpr QPoint kNowhere{50, 50};

struct ControlsRig : Rig {
    ControlsRig() {
        layers.add(K::Close, QRect(100, 100, 20, 20));
        layers.add(K::Angle, QRect(140, 100, 20, 20));
        layers.add(K::Menu, QRect(60, 100, 10, 10));
    }
    void click(QPoint p, Qt::KeyboardModifiers m = kNone) {
        ui.mouseDown(Qt::LeftButton, m, p);
        ui.mouseUp(Qt::LeftButton, m, p);
    }
};

TEST(HitRegions, ModifierGivesPlusCursorsAndTenfoldStepExceptOnFirstFive) {
    ControlsRig r;
    r.ui.mouseMove(kShift, kOnAngle);
    EXPECT_EQ(r.window.cursorShape, cursors::pointerPlus);
    EXPECT_TRUE(r.ui.needsWindowUpdate()); // a new look changes only the window image
    EXPECT_FALSE(r.model.state.needsRepaint);
    r.ui.takeWindowUpdate();
    r.ui.mouseMove(kShift, kOnAngle + QPoint(1, 1));
    EXPECT_FALSE(r.ui.needsWindowUpdate()) << "nothing changed, nothing to push";
    r.cursor.pos = kOnAngle;
    r.ui.mouseDown(Qt::LeftButton, kShift, kOnAngle);
    EXPECT_EQ(r.model.state.angle, 10.0f);
    EXPECT_EQ(r.window.cursorShape, cursors::downPlus);
    EXPECT_TRUE(r.layers.shown(K::Angle, L::Pressed));
    EXPECT_FALSE(r.layers.shown(K::Angle, L::Hover));
    r.ui.mouseUp(Qt::LeftButton, kShift, kOnAngle);
    EXPECT_EQ(r.window.cursorShape, cursors::pointerPlus);
    r.ui.mouseMove(kShift, kOnClose);
    EXPECT_EQ(r.window.cursorShape, cursors::pointer);
    // Overlapping controls: the first is highlighted, the later sets the cursor.
    r.layers.controls[K::Angle].region = QRect(100, 100, 20, 20);
    r.ui.mouseMove(kShift, kOnClose + QPoint(1, 0));
    EXPECT_TRUE(r.layers.shown(K::Close, L::Hover));
    EXPECT_FALSE(r.layers.shown(K::Angle, L::Hover));
    EXPECT_EQ(r.window.cursorShape, cursors::pointerPlus);
}

TEST(HitRegions, CloseTooltipTellsWhetherTheCompassHidesOrQuits) {
    // The tray icon chosen, its menu, a notification area to show it.
    for (const auto& [tray, menu, area, tooltip] :
         {std::tuple(true, true, true, u"Hide the compass to the tray (H)"),
          std::tuple(false, true, true, u"Quit the compass (Q)"),
          std::tuple(true, false, true, u"Quit the compass (Q)"),
          std::tuple(true, true, false, u"Quit the compass (Q)")}) {
        ControlsRig r;
        r.options.systemTrayIcon = tray;
        r.options.rightClickMenu = menu;
        r.window.tray = area;
        r.ui.mouseMove(kNone, kOnClose);
        EXPECT_TRUE(r.window.toolTipShown);
        EXPECT_EQ(r.window.toolTip, QString::fromUtf16(tooltip));
        r.click(kOnClose);
        EXPECT_EQ(r.window.calls, QStringList{"RequestHide"});
    }
}

TEST(HitRegions, OnlyAPressAndReleaseOnTheSameOpaqueControlClicks) {
    ControlsRig r;
    r.ui.mouseDown(Qt::LeftButton, kNone, kOnClose);
    r.ui.mouseMove(kNone, kNowhere);
    EXPECT_FALSE(r.layers.shown(K::Close, L::Pressed));
    r.ui.mouseUp(Qt::LeftButton, kNone, kNowhere);
    EXPECT_TRUE(r.window.calls.isEmpty());

    // The pressed look stays until the next move turns it into the hover look,
    // but a release that ends no press of ours does not click.
    r.click(kOnClose);
    EXPECT_TRUE(r.layers.shown(K::Close, L::Pressed));
    r.ui.mouseUp(Qt::RightButton, kNone, kOnClose);
    EXPECT_EQ(r.window.calls, QStringList{"RequestHide"});
    r.ui.mouseMove(kNone, kOnClose);
    EXPECT_FALSE(r.layers.shown(K::Close, L::Pressed));
    EXPECT_TRUE(r.layers.shown(K::Close, L::Hover));

    // A transparent gap is not part of the control.
    r.layers.controls[K::Close].region -= QRegion(105, 105, 6, 6);
    r.ui.mouseMove(kNone, {107, 107});
    EXPECT_FALSE(r.layers.shown(K::Close, L::Hover));
    r.click({107, 107});
    EXPECT_EQ(r.window.calls.size(), 1);

    // A second click in place, on a control over the base, presses it again.
    r.layers.base = QRegion(100, 80, 100, 60);
    r.click(kOnAngle);
    r.click(kOnAngle);
    EXPECT_EQ(r.model.state.angle, 2.0f);
    EXPECT_FALSE(r.model.state.dragging);
}

TEST(HitRegions, ToolTipsAndMenuAppearAtTheMouseOnScreen) {
    ControlsRig r;
    r.window.origin = {-1280, 40};
    r.layers.readout = QRect(150, 150, 10, 10);
    r.ui.mouseMove(kNone, {159, 155});
    EXPECT_TRUE(r.window.toolTipShown);
    // Typed entry first, then the unit and the scale it is read at.
    EXPECT_EQ(r.window.toolTip,
              QStringLiteral("Type a number and press Enter to jump to the new distance\r\n\r\n"
                             "Type +, -, *, or / and a number to calculate\r\n\r\n") +
                  r.model.units.displayName(r.model.units.selectedUnit()) +
                  " in device pixels of monitor (unnamed) (96.0 px/in, assumed 96)");
    EXPECT_EQ(r.window.toolTipPos, QPoint(159 - 1280, 155 + 40));
    r.ui.mouseMove(kNone, {160, 155}); // right edge excluded
    EXPECT_FALSE(r.window.toolTipShown);
    r.click({65, 105});
    EXPECT_EQ(r.window.calls, QStringList{"PopupMenu"});
    EXPECT_EQ(r.window.menuPos, QPoint(65 - 1280, 105 + 40));

    r.options.tooltips = false;
    r.ui.mouseMove(kNone, {155, 155});
    r.ui.mouseMove(kNone, kOnClose);
    EXPECT_FALSE(r.window.toolTipShown);
}

TEST(HitRegions, StackedMeasureSelectorsStepTheShownType) {
    // The type shown, the selector on top, the type a click gives. A skin made
    // before diameter and angle has three selectors and keeps showing the area's.
    const std::tuple<int, K, int> cases[] = {{0, K::Radius, 1},
                                             {1, K::Circumference, 2},
                                             {2, K::Area, 3},
                                             {3, K::Area, 4},
                                             {4, K::Area, 0}};
    for (const auto& [type, top, next] : cases) {
        ControlsRig r;
        for (const K key : {K::Radius, K::Circumference, K::Area})
            r.layers.add(key, QRect(20, 20, 10, 10));
        r.options.measureType = MeasureKind(type);
        r.layers.controls[top].stack = 100; // lifted above the other two
        r.click({25, 25});
        EXPECT_EQ(r.window.calls, QStringList{QStringLiteral("SetMeasureType %1").arg(next)});
        // The window switches the type; the old selector's looks must go.
        r.options.measureType = MeasureKind(next);
        r.ui.mouseMove(kNone, {25, 25});
        EXPECT_FALSE(r.layers.shown(top, L::Pressed));
    }
}

TEST(HitRegions, CursorsTellWhatADragMayChange) {
    using namespace cursors;
    // Where, modifiers, locks (angle, measurement), cursor over and dragging.
    const std::tuple<QPoint, Qt::KeyboardModifiers, bool, bool, int, int> cases[] = {
        {kOnSlide, kNone, false, false, hand, grab},
        {kOnSlide, Qt::AltModifier, false, false, handRotate, grabRotate},
        {kOnSlide, kNone, false, true, handRotate, grabRotate},
        {kOnSlide, kShift, false, false, handExtend, grabExtend},
        {kOnSlide, kNone, true, false, handExtend, grabExtend},
        {kOnBase, kShift, false, false, handMove, grabMove},
        {kOnBase, Qt::AltModifier, false, false, handRelative, grabRelative},
    };
    for (const auto& [p, mods, lockAngle, lockMeasurement, over, dragging] : cases) {
        ControlsRig r;
        r.options.lockAngle = lockAngle;
        r.options.lockMeasurement = lockMeasurement;
        r.ui.mouseMove(mods, p);
        EXPECT_EQ(r.window.cursorShape, over);
        r.ui.mouseDown(Qt::LeftButton, mods, p);
        EXPECT_EQ(r.window.cursorShape, dragging);
        r.ui.mouseUp(Qt::LeftButton, mods, p);
        EXPECT_EQ(r.window.cursorShape, over) << "a released drag shows the hand again";
    }
}

TEST(HitRegions, PointerStaysOneMoveAfterReleaseAndFollowsModifierKeys) {
    ControlsRig r;
    r.click(kOnAngle);
    r.ui.mouseMove(kNone, kOnBase);
    EXPECT_EQ(r.window.cursorShape, cursors::pointer);
    r.ui.mouseMove(kNone, kOnBase + QPoint(1, 0));
    EXPECT_EQ(r.window.cursorShape, cursors::hand);

    r.ui.mouseMove(kNone, kOnAngle);
    r.ui.keyUp(Qt::ControlModifier); // Shift let go, Ctrl still held
    EXPECT_EQ(r.window.cursorShape, cursors::pointerPlus);
    r.ui.keyUp(kNone);
    EXPECT_EQ(r.window.cursorShape, cursors::pointer);
}

TEST(HitRegions, DoubleClickFlipsTheBeamUnlessOnAControl) {
    ControlsRig r;
    r.click(kOnBase);
    r.ui.doubleClick();
    r.click(kOnClose);
    r.ui.doubleClick();
    EXPECT_EQ(r.model.state.angle, 90.0f);
}

} // namespace
} // namespace orvanta
