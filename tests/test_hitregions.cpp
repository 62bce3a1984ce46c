// Hover, press and release of the skin controls, tooltips and cursors.
#include "interaction/fakeports.h"
#include "interaction/layerregions.h"

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
    EXPECT_TRUE(r.layers.Shown(K::Angle, L::Hover));

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
}

TEST(HitRegions, CloseTooltipTellsWhetherTheCompassHidesOrQuits) {
    struct Case {
        bool tray, menu;
        const char16_t* tooltip;
    };
    for (const Case c : {Case{true, true, u"隐藏圆规到系统托盘 (H)"},
                         Case{false, true, u"退出圆规 (Q)"}, Case{true, false, u"退出圆规 (Q)"}}) {
        ControlsRig r;
        r.options.SystemTrayIcon = c.tray;
        r.options.RightClickMenu = c.menu;
        r.ui.MouseMove(kNone, kOnClose);
        EXPECT_TRUE(r.window.hintShown);
        EXPECT_EQ(r.window.hint, QString::fromUtf16(c.tooltip));
        r.Click(kOnClose);
        EXPECT_EQ(r.window.calls, QStringList{"RequestHide"});
    }
}

TEST(HitRegions, ReleasingOffThePressedControlDoesNothing) {
    ControlsRig r;
    r.ui.MouseDown(Qt::LeftButton, kNone, kOnClose);
    r.ui.MouseMove(kNone, kNowhere);
    EXPECT_FALSE(r.layers.Shown(K::Close, L::Pressed));
    r.ui.MouseUp(Qt::LeftButton, kNone, kNowhere);
    EXPECT_TRUE(r.window.calls.isEmpty());

    r.Click(kOnClose);
    EXPECT_EQ(r.window.calls, QStringList{"RequestHide"});
    // The pressed look stays until the next move turns it into the hover look,
    // but a release that ends no press of ours does not click.
    EXPECT_TRUE(r.layers.Shown(K::Close, L::Pressed));
    r.ui.MouseUp(Qt::RightButton, kNone, kOnClose);
    EXPECT_EQ(r.window.calls.size(), 1);
    r.ui.MouseMove(kNone, kOnClose);
    EXPECT_FALSE(r.layers.Shown(K::Close, L::Pressed));
    EXPECT_TRUE(r.layers.Shown(K::Close, L::Hover));
}

TEST(HitRegions, ASecondClickInPlacePressesTheControlAgain) {
    ControlsRig r;
    r.layers.base = QRegion(100, 80, 100, 60); // the control sits on the base
    r.Click(kOnAngle);
    r.Click(kOnAngle);
    EXPECT_EQ(r.model.state.FAngle, 2.0f);
    EXPECT_FALSE(r.model.state.FDragging);
}

TEST(HitRegions, TransparentGapIsNotPartOfTheControl) {
    ControlsRig r;
    r.layers.controls[K::Close].region -= QRegion(105, 105, 6, 6);
    r.ui.MouseMove(kNone, {107, 107});
    EXPECT_FALSE(r.layers.Shown(K::Close, L::Hover));
    EXPECT_EQ(r.ui.FDragMode, dmNothing);
    r.Click({107, 107});
    EXPECT_TRUE(r.window.calls.isEmpty());
}

TEST(HitRegions, OverlappingControlsHighlightTheFirstAndTheLaterSetsTheCursor) {
    ControlsRig r;
    r.layers.controls[K::Angle].region = QRect(100, 100, 20, 20);
    r.ui.MouseMove(kShift, kOnClose);
    EXPECT_TRUE(r.layers.Shown(K::Close, L::Hover));
    EXPECT_FALSE(r.layers.Shown(K::Angle, L::Hover));
    EXPECT_EQ(r.window.cursorShape, cursors::PointerPlus);
    EXPECT_EQ(r.window.hint, ControlTooltip(K::Close, r.options));
}

TEST(HitRegions, ReadoutHintFollowsTooltipsOptionAndBounds) {
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

    r.options.Tooltips = false;
    r.ui.MouseMove(kNone, {155, 155});
    r.ui.MouseMove(kNone, kOnClose);
    EXPECT_FALSE(r.window.hintShown);
}

TEST(HitRegions, MenuOpensAtTheMouseOnScreen) {
    ControlsRig r;
    r.window.origin = {-1920, -300};
    r.Click({65, 105});
    EXPECT_EQ(r.window.calls, QStringList{"PopupMenu"});
    EXPECT_EQ(r.window.menuPos, QPoint(65 - 1920, 105 - 300));
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
    struct Case {
        QPoint p;
        Qt::KeyboardModifiers mods;
        bool lockAngle, lockMeasurement;
        int over, dragging;
    };
    using namespace cursors;
    const Case cases[] = {
        {kOnSlide, kNone, false, false, Hand, Grab},
        {kOnSlide, Qt::AltModifier, false, false, HandRotate, GrabRotate},
        {kOnSlide, kNone, false, true, HandRotate, GrabRotate},
        {kOnSlide, kShift, false, false, HandExtend, GrabExtend},
        {kOnSlide, kNone, true, false, HandExtend, GrabExtend},
        {kOnBase, kNone, true, false, Hand, Grab},
        {kOnBase, kShift, false, false, HandMove, GrabMove},
        {kOnBase, Qt::AltModifier, false, false, HandRelative, GrabRelative},
    };
    for (const Case& c : cases) {
        ControlsRig r;
        r.options.LockAngle = c.lockAngle;
        r.options.LockMeasurement = c.lockMeasurement;
        r.ui.MouseMove(c.mods, c.p);
        EXPECT_EQ(r.window.cursorShape, c.over);
        r.ui.MouseDown(Qt::LeftButton, c.mods, c.p);
        EXPECT_EQ(r.window.cursorShape, c.dragging);
        r.ui.MouseUp(Qt::LeftButton, c.mods, c.p);
        EXPECT_EQ(r.window.cursorShape, c.over) << "a released drag shows the hand again";
    }
}

TEST(HitRegions, PointerStaysOneMoveAfterReleaseAndFollowsModifierKeys) {
    ControlsRig r;
    r.Click(kOnAngle);
    EXPECT_EQ(r.window.cursorShape, cursors::Pointer);
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

TEST(HitRegions, LooksChangeOnlyTheWindowImage) {
    ControlsRig r;
    r.ui.MouseMove(kNone, kOnClose);
    EXPECT_TRUE(r.ui.FNeedsWindowUpdate);
    EXPECT_FALSE(r.model.state.FNeedsRepaint);
    r.ui.FNeedsWindowUpdate = false;
    r.ui.MouseMove(kNone, kOnClose + QPoint(1, 1));
    EXPECT_FALSE(r.ui.FNeedsWindowUpdate) << "nothing changed, nothing to push";
    r.ui.MouseMove(kNone, kNowhere);
    EXPECT_TRUE(r.ui.FNeedsWindowUpdate);
    EXPECT_FALSE(r.layers.Shown(K::Close, L::Hover));
}

TEST(HitRegions, DoubleClickFlipsTheBeamUnlessOnAControl) {
    ControlsRig r;
    r.Click(kOnBase);
    r.ui.DoubleClick();
    EXPECT_EQ(r.model.state.FAngle, 90.0f);
    r.Click(kOnClose);
    r.ui.DoubleClick();
    EXPECT_EQ(r.model.state.FAngle, 90.0f);
}

TEST(HitRegions, RegionsOfTheRenderersLayers) {
    TLayerStack stack;
    const auto layer = [&](QRect where) {
        auto made = std::make_unique<TRotLayer>();
        made->Bitmap = QImage(where.size(), QImage::Format_ARGB32);
        made->Bitmap.fill(0xff336699);
        made->Position = where.topLeft();
        made->AlphaHit = true;
        return stack.Add(std::move(made));
    };
    stack.gBaseLayer = layer(QRect(0, 0, 40, 20));
    stack.gSlidePanelLayer = layer(QRect(100, 0, 20, 20));
    TControlLayers& close = stack.gControlLayers[int(K::Close)];
    const QRect closeRect(10, 30, 10, 10);
    close = {layer(closeRect), layer(closeRect), layer(closeRect), TPlacement::SlidePanel};
    close.Normal->Bitmap.setPixel(5, 5, 0); // a transparent gap at window (15, 35)
    stack.gReadoutLayer = layer(QRect(50, 50, 30, 10));

    LayerStackRegions regions([&]() -> TLayerStack& { return stack; });
    EXPECT_TRUE(regions.ControlExists(K::Close));
    EXPECT_FALSE(regions.ControlExists(K::Menu));
    EXPECT_TRUE(regions.HitsControl(K::Close, {14, 35}));
    EXPECT_FALSE(regions.HitsControl(K::Close, {15, 35}));
    EXPECT_FALSE(regions.AnchoredToBase(K::Close));
    EXPECT_EQ(regions.StackIndex(K::Close), 2);
    EXPECT_TRUE(regions.HitsSlide({110, 10}));
    EXPECT_TRUE(regions.HitsBase({39, 19}));
    EXPECT_FALSE(regions.HitsBase({40, 19}));
    EXPECT_FALSE(regions.HitsShape({5, 5}));
    EXPECT_EQ(regions.ReadoutBounds(), QRect(50, 50, 30, 10));
    regions.SetVisible(K::Close, L::Hover, false);
    EXPECT_FALSE(close.Hover->Visible);
}

} // namespace
} // namespace orvanta
