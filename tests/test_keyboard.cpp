// The key bindings of the compass window.
#include "interaction/fakeports.h"

#include <gtest/gtest.h>

namespace orvanta {
namespace {

using fakes::Rig;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kCtrl = Qt::ControlModifier;

TEST(Keyboard, ArrowsMoveTheCompassAndCtrlMakesTheStepTen) {
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        QPoint moved;
    };
    const Case cases[] = {
        {Qt::Key_Right, Qt::NoModifier, {1, 0}}, {Qt::Key_Right, kCtrl, {10, 0}},
        {Qt::Key_Left, Qt::NoModifier, {-1, 0}}, {Qt::Key_Up, Qt::NoModifier, {0, -1}},
        {Qt::Key_Down, kCtrl, {0, 10}},          {Qt::Key_Right, Qt::AltModifier, {1, 0}},
    };
    for (const Case& c : cases) {
        Rig r;
        r.ui.KeyDown(c.key, c.mods);
        EXPECT_EQ(QPoint(r.model.state.FPosX, r.model.state.FPosY) - QPoint(200, 200), c.moved);
        EXPECT_TRUE(r.model.state.FNeedsRepaint);
    }
}

TEST(Keyboard, ShiftArrowPointingAlongTheBeamLengthensIt) {
    struct Case {
        float angle;
        int key;
        Qt::KeyboardModifiers mods;
        float change;
    };
    const Case cases[] = {
        {45, Qt::Key_Right, kShift, 1},
        {45, Qt::Key_Up, kShift, -1},
        {135, Qt::Key_Left, kShift, 1},
        {90, Qt::Key_Left, kShift, 0},
        {0, Qt::Key_Up, kShift, 0},
        {180, Qt::Key_Down, kShift, 0},
        {45, Qt::Key_Right, kShift | kCtrl, 10},
        // A snapped 360 points right and the 315 of the L key up and right.
        {360, Qt::Key_Right, kShift, 1},
        {315, Qt::Key_Left, kShift, -1},
        {315, Qt::Key_Up, kShift, 1},
    };
    for (const Case& c : cases) {
        Rig r;
        r.model.state.FAngle = c.angle;
        r.ui.KeyDown(c.key, c.mods);
        EXPECT_EQ(r.model.state.FMeasurement - 100, c.change) << c.angle << " key " << c.key;
        EXPECT_EQ(r.model.state.FPosX, 200);
    }
}

TEST(Keyboard, TurnKeys) {
    struct Case {
        float angle;
        int key;
        Qt::KeyboardModifiers mods;
        float result;
    };
    const Case cases[] = {
        {0, Qt::Key_Period, kShift, 1},           {0, Qt::Key_Greater, kShift, 1},
        {0, Qt::Key_Greater, kShift | kCtrl, 10}, {0, Qt::Key_Less, kShift, -1},
        {0, Qt::Key_Period, Qt::NoModifier, 0},   {265, Qt::Key_Period, kShift | kCtrl, -85},
        {359.5f, Qt::Key_F, Qt::NoModifier, 0},   {0, Qt::Key_L, Qt::NoModifier, 315},
        {10, Qt::Key_F, Qt::NoModifier, 45},      {45, Qt::Key_F, Qt::NoModifier, 90},
        {46, Qt::Key_L, Qt::NoModifier, 45},      {350, Qt::Key_F, kCtrl, 0},
    };
    for (const Case& c : cases) {
        Rig r;
        r.model.state.FAngle = c.angle;
        r.ui.KeyDown(c.key, c.mods);
        EXPECT_EQ(r.model.state.FAngle, c.result) << c.angle << " key " << c.key;
    }
}

TEST(Keyboard, TogglesKeepAtMostOneLockAndSave) {
    Rig r;
    r.ui.KeyDown(Qt::Key_M, Qt::NoModifier);
    r.ui.KeyDown(Qt::Key_A, Qt::NoModifier);
    r.ui.KeyDown(Qt::Key_S, Qt::NoModifier);
    EXPECT_TRUE(r.options.LockAngle);
    EXPECT_FALSE(r.options.LockMeasurement);
    EXPECT_EQ(r.window.calls.count(QStringLiteral("OptionsChanged")), 3);

    const TDervikOptions saved(r.options.FileName, QChar('.'));
    EXPECT_TRUE(saved.LockAngle);
    EXPECT_FALSE(saved.LockMeasurement);
    EXPECT_FALSE(saved.StickyAngle);
}

TEST(Keyboard, CopyAndPasteGoThroughTheClipboard) {
    Rig r;
    r.units.SetCount(1);
    r.units.SetName(0, QStringLiteral("双像素"));
    r.units.SetPixelNum(0, 2); // 2 pixels make one unit
    r.units.SetUnitNum(0, 1);
    r.units.Select(0);
    r.model.state.FDisplayText = QStringLiteral("50");
    r.ui.KeyDown(Qt::Key_C, kCtrl);
    EXPECT_EQ(r.window.clipboard, QStringLiteral("50"));
    EXPECT_TRUE(r.window.calls.isEmpty()) << "Ctrl+C is not the colour key";

    r.window.clipboard = QStringLiteral("12.5");
    r.ui.KeyDown(Qt::Key_V, kCtrl);
    EXPECT_EQ(r.model.state.FMeasurement, 25.0f);
    EXPECT_EQ(r.model.state.FDisplayText, QStringLiteral("12.5"));

    r.window.clipboard = QStringLiteral("abc");
    r.ui.KeyDown(Qt::Key_V, kCtrl);
    EXPECT_EQ(r.model.state.FMeasurement, 25.0f);
    EXPECT_EQ(r.model.state.FDisplayText, QStringLiteral("12.5"));
}

TEST(Keyboard, CommandKeysReachTheWindow) {
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        bool tray;
        const char* call; // nullptr: none
    };
    const Case cases[] = {
        {Qt::Key_R, Qt::NoModifier, true, "ReloadSkin"},
        {Qt::Key_C, Qt::NoModifier, true, "NextBaseColor"},
        {Qt::Key_C, kShift, true, "NextBaseColor"},
        {Qt::Key_Q, Qt::NoModifier, true, "Close"},
        {Qt::Key_H, Qt::NoModifier, true, "RequestHide"},
        {Qt::Key_H, Qt::NoModifier, false, nullptr},
        {Qt::Key_N, Qt::NoModifier, true, "StartNewInstance"},
        {Qt::Key_F1, Qt::NoModifier, true, "ShowHelp"},
    };
    for (const Case& c : cases) {
        Rig r;
        r.options.SystemTrayIcon = c.tray;
        r.ui.KeyDown(c.key, c.mods);
        EXPECT_EQ(r.window.calls, c.call ? QStringList{c.call} : QStringList{}) << c.key;
    }
}

} // namespace
} // namespace orvanta
