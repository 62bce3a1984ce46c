// Hover, press and release of the skin controls, tooltips and cursors.
#include "interaction/fakeports.h"

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
        layers.Add(K::Close, QRect(100, 100, 20, 20));
        layers.Add(K::Angle, QRect(140, 100, 20, 20));
        layers.Add(K::Menu, QRect(60, 100, 10, 10));
    }
    void Click(QPoint p, Qt::KeyboardModifiers m = kNone) {
        ui.MouseDown(Qt::LeftButton, m, p);
        ui.MouseUp(Qt::LeftButton, m, p);
    }
};

TEST(HitRegions, ModifierGivesPlusCursorsAndTenfoldStepExceptOnFirstFive) {
    ControlsRig r;
    r.ui.MouseMove(kShift, kOnAngle);
    EXPECT_EQ(r.window.cursorShape, cursors::PointerPlus);
    EXPECT_TRUE(r.ui.FNeedsWindowUpdate); // a new look changes only the window image
    EXPECT_FALSE(r.model.state.FNeedsRepaint);
    r.ui.FNeedsWindowUpdate = false;
    r.ui.MouseMove(kShift, kOnAngle + QPoint(1, 1));
    EXPECT_FALSE(r.ui.FNeedsWindowUpdate) << "nothing changed, nothing to push";
    r.cursor.pos = kOnAngle;
    r.ui.MouseDown(Qt::LeftButton, kShift, kOnAngle);
    EXPECT_EQ(r.model.state.FAngle, 10.0f);
    EXPECT_EQ(r.window.cursorShape, cursors::DownPlus);
    EXPECT_TRUE(r.layers.Shown(K::Angle, L::Pressed));
    EXPECT_FALSE(r.layers.Shown(K::Angle, L::Hover));
    r.ui.MouseUp(Qt::LeftButton, kShift, kOnAngle);
    EXPECT_EQ(r.window.cursorShape, cursors::PointerPlus);
    r.ui.MouseMove(kShift, kOnClose);
    EXPECT_EQ(r.window.cursorShape, cursors::Pointer);
    // Overlapping controls: the first is highlighted, the later sets the cursor.
    r.layers.controls[K::Angle].region = QRect(100, 100, 20, 20);
    r.ui.MouseMove(kShift, kOnClose + QPoint(1, 0));
    EXPECT_TRUE(r.layers.Shown(K::Close, L::Hover));
    EXPECT_FALSE(r.layers.Shown(K::Angle, L::Hover));
    EXPECT_EQ(r.window.cursorShape, cursors::PointerPlus);
}

TEST(HitRegions, CloseTooltipTellsWhetherTheCompassHidesOrQuits) {
    for (const auto& [tray, menu, tooltip] :
         {std::tuple(true, true, u"隐藏圆规到系统托盘 (H)"),
          std::tuple(false, true, u"退出圆规 (Q)"), std::tuple(true, false, u"退出圆规 (Q)")}) {
        ControlsRig r;
        r.options.SystemTrayIcon = tray;
        r.options.RightClickMenu = menu;
        r.ui.MouseMove(kNone, kOnClose);
        EXPECT_TRUE(r.window.hintShown);
        EXPECT_EQ(r.window.hint, QString::fromUtf16(tooltip));
        r.Click(kOnClose);
        EXPECT_EQ(r.window.calls, QStringList{"RequestHide"});
    }
}

TEST(HitRegions, OnlyAPressAndReleaseOnTheSameOpaqueControlClicks) {
    ControlsRig r;
    r.ui.MouseDown(Qt::LeftButton, kNone, kOnClose);
    r.ui.MouseMove(kNone, kNowhere);
    EXPECT_FALSE(r.layers.Shown(K::Close, L::Pressed));
    r.ui.MouseUp(Qt::LeftButton, kNone, kNowhere);
    EXPECT_TRUE(r.window.calls.isEmpty());

    // The pressed look stays until the next move turns it into the hover look,
    // but a release that ends no press of ours does not click.
    r.Click(kOnClose);
    EXPECT_TRUE(r.layers.Shown(K::Close, L::Pressed));
    r.ui.MouseUp(Qt::RightButton, kNone, kOnClose);
    EXPECT_EQ(r.window.calls, QStringList{"RequestHide"});
    r.ui.MouseMove(kNone, kOnClose);
    EXPECT_FALSE(r.layers.Shown(K::Close, L::Pressed));
    EXPECT_TRUE(r.layers.Shown(K::Close, L::Hover));

    // A transparent gap is not part of the control.
    r.layers.controls[K::Close].region -= QRegion(105, 105, 6, 6);
    r.ui.MouseMove(kNone, {107, 107});
    EXPECT_FALSE(r.layers.Shown(K::Close, L::Hover));
    r.Click({107, 107});
    EXPECT_EQ(r.window.calls.size(), 1);

    // A second click in place, on a control over the base, presses it again.
    r.layers.base = QRegion(100, 80, 100, 60);
    r.Click(kOnAngle);
    r.Click(kOnAngle);
    EXPECT_EQ(r.model.state.FAngle, 2.0f);
    EXPECT_FALSE(r.model.state.FDragging);
}

TEST(HitRegions, HintsAndMenuAppearAtTheMouseOnScreen) {
    ControlsRig r;
    r.window.origin = {-1280, 40};
    r.layers.readout = QRect(150, 150, 10, 10);
    r.ui.MouseMove(kNone, {159, 155});
    EXPECT_TRUE(r.window.hintShown);
    EXPECT_EQ(r.window.hint, QStringLiteral("键入一个数字, 按回车键跳转到新距离\r\n\r\n"
                                            "键入+, -, *, 或 / 和一个数字计算"));
    EXPECT_EQ(r.window.hintPos, QPoint(159 - 1280, 155 + 40));
    r.ui.MouseMove(kNone, {160, 155}); // right edge excluded
    EXPECT_FALSE(r.window.hintShown);
    r.Click({65, 105});
    EXPECT_EQ(r.window.calls, QStringList{"PopupMenu"});
    EXPECT_EQ(r.window.menuPos, QPoint(65 - 1280, 105 + 40));

    r.options.Tooltips = false;
    r.ui.MouseMove(kNone, {155, 155});
    r.ui.MouseMove(kNone, kOnClose);
    EXPECT_FALSE(r.window.hintShown);
}

TEST(HitRegions, StackedMeasureSelectorsStepTheShownType) {
    for (const auto& [type, next] : {std::pair(0, 1), std::pair(1, 2), std::pair(2, 0)}) {
        ControlsRig r;
        for (const K key : {K::Radius, K::Circumference, K::Area})
            r.layers.Add(key, QRect(20, 20, 10, 10));
        r.options.MeasureType = type;
        r.layers.controls[SelectorOf(type)].stack = 100; // lifted above the other two
        r.Click({25, 25});
        EXPECT_EQ(r.window.calls, QStringList{QStringLiteral("SetMeasureType %1").arg(next)});
        // The window switches the type; the old selector's looks must go.
        r.options.MeasureType = next;
        r.ui.MouseMove(kNone, {25, 25});
        EXPECT_FALSE(r.layers.Shown(SelectorOf(type), L::Pressed));
    }
}

TEST(HitRegions, CursorsTellWhatADragMayChange) {
    using namespace cursors;
    // Where, modifiers, locks (angle, measurement), cursor over and dragging.
    const std::tuple<QPoint, Qt::KeyboardModifiers, bool, bool, int, int> cases[] = {
        {kOnSlide, kNone, false, false, Hand, Grab},
        {kOnSlide, Qt::AltModifier, false, false, HandRotate, GrabRotate},
        {kOnSlide, kNone, false, true, HandRotate, GrabRotate},
        {kOnSlide, kShift, false, false, HandExtend, GrabExtend},
        {kOnSlide, kNone, true, false, HandExtend, GrabExtend},
        {kOnBase, kShift, false, false, HandMove, GrabMove},
        {kOnBase, Qt::AltModifier, false, false, HandRelative, GrabRelative},
    };
    for (const auto& [p, mods, lockAngle, lockMeasurement, over, dragging] : cases) {
        ControlsRig r;
        r.options.LockAngle = lockAngle;
        r.options.LockMeasurement = lockMeasurement;
        r.ui.MouseMove(mods, p);
        EXPECT_EQ(r.window.cursorShape, over);
        r.ui.MouseDown(Qt::LeftButton, mods, p);
        EXPECT_EQ(r.window.cursorShape, dragging);
        r.ui.MouseUp(Qt::LeftButton, mods, p);
        EXPECT_EQ(r.window.cursorShape, over) << "a released drag shows the hand again";
    }
}

TEST(HitRegions, PointerStaysOneMoveAfterReleaseAndFollowsModifierKeys) {
    ControlsRig r;
    r.Click(kOnAngle);
    r.ui.MouseMove(kNone, kOnBase);
    EXPECT_EQ(r.window.cursorShape, cursors::Pointer);
    r.ui.MouseMove(kNone, kOnBase + QPoint(1, 0));
    EXPECT_EQ(r.window.cursorShape, cursors::Hand);

    r.ui.MouseMove(kNone, kOnAngle);
    r.ui.KeyUp(Qt::ControlModifier); // Shift let go, Ctrl still held
    EXPECT_EQ(r.window.cursorShape, cursors::PointerPlus);
    r.ui.KeyUp(kNone);
    EXPECT_EQ(r.window.cursorShape, cursors::Pointer);
}

TEST(HitRegions, DoubleClickFlipsTheBeamUnlessOnAControl) {
    ControlsRig r;
    r.Click(kOnBase);
    r.ui.DoubleClick();
    r.Click(kOnClose);
    r.ui.DoubleClick();
    EXPECT_EQ(r.model.state.FAngle, 90.0f);
}

} // namespace
} // namespace orvanta
