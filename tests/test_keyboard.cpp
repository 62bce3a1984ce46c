// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The key bindings of the compass window.
#include "fakes/fakeports.h"

#include <gtest/gtest.h>

namespace orvanta {
namespace {

using fakes::Rig;
constexpr auto kNone = Qt::NoModifier;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kCtrl = Qt::ControlModifier;

struct KeyCase {
    float angle;
    int key;
    Qt::KeyboardModifiers mods;
    float angleAfter, spreadChange;
    QPoint moved;
};

TEST(Keyboard, ArrowsMoveOrLengthenAndTurnKeysTurn) {
    const KeyCase cases[] = {
        // Arrows move; Ctrl makes the step ten, Alt changes nothing.
        {0, Qt::Key_Right, kCtrl, 0, 0, {10, 0}},
        {0, Qt::Key_Left, kNone, 0, 0, {-1, 0}},
        {0, Qt::Key_Down, kCtrl, 0, 0, {0, 10}},
        {0, Qt::Key_Right, Qt::AltModifier, 0, 0, {1, 0}},
        // Shift+arrow pointing along the beam lengthens it, against it shortens.
        {45, Qt::Key_Right, kShift, 45, 1, {}},
        {45, Qt::Key_Up, kShift, 45, -1, {}},
        {135, Qt::Key_Left, kShift, 135, 1, {}},
        {90, Qt::Key_Left, kShift, 90, 0, {}},
        {0, Qt::Key_Up, kShift, 0, 0, {}},
        {45, Qt::Key_Right, kShift | kCtrl, 45, 10, {}},
        // A snapped 360 points right and the 315 of the L key up and right.
        {360, Qt::Key_Right, kShift, 360, 1, {}},
        {315, Qt::Key_Left, kShift, 315, -1, {}},
        {315, Qt::Key_Up, kShift, 315, 1, {}},
        // Turn keys.
        {0, Qt::Key_Greater, kShift | kCtrl, 10, 0, {}},
        {0, Qt::Key_Less, kShift, -1, 0, {}},
        {0, Qt::Key_Period, kNone, 0, 0, {}},
        {265, Qt::Key_Period, kShift | kCtrl, -85, 0, {}},
        {359.5f, Qt::Key_F, kNone, 0, 0, {}},
        {0, Qt::Key_L, kNone, 315, 0, {}},
        {45, Qt::Key_F, kNone, 90, 0, {}},
        {46, Qt::Key_L, kNone, 45, 0, {}},
        {350, Qt::Key_F, kCtrl, 0, 0, {}},
    };
    for (const KeyCase& c : cases) {
        Rig r;
        r.model.state.angle = c.angle;
        r.ui.keyDown(c.key, c.mods);
        EXPECT_EQ(r.model.state.angle, c.angleAfter) << c.angle << " key " << c.key;
        EXPECT_EQ(r.model.state.measurement - 100, c.spreadChange) << c.angle << " key " << c.key;
        EXPECT_EQ(QPoint(r.model.state.posX, r.model.state.posY) - QPoint(200, 200), c.moved)
            << c.angle << " key " << c.key;
    }
}

TEST(Keyboard, ToggleKeysSwitchTheirOptionAndSave) {
    const std::pair<int, bool Settings::*> cases[] = {{Qt::Key_S, &Settings::stickyAngle},
                                                      {Qt::Key_A, &Settings::lockAngle},
                                                      {Qt::Key_M, &Settings::lockMeasurement}};
    for (const auto& [key, option] : cases) {
        Rig r;
        const bool before = r.options.*option;
        r.ui.keyDown(key, kNone);
        EXPECT_EQ(r.window.calls.count(QStringLiteral("OptionsChanged")), 1) << key;
        EXPECT_EQ(Settings(r.options.fileName, QChar('.')).*option, !before) << key;
    }
}

TEST(Keyboard, CopyAndPasteGoThroughTheClipboard) {
    Rig r;
    r.units.setCount(1);
    r.units.setPixelNum(0, 2); // 2 pixels make one unit
    r.units.setUnitNum(0, 1);
    r.units.select(0);
    r.model.state.displayText = QStringLiteral("50");
    r.ui.keyDown(Qt::Key_C, kCtrl);
    EXPECT_EQ(r.window.clipboard, QStringLiteral("50"));
    EXPECT_TRUE(r.window.calls.isEmpty()) << "Ctrl+C is not the colour key";

    for (const char* pasted : {"12.5", "abc"}) { // the second is refused
        r.window.clipboard = QString::fromLatin1(pasted);
        r.ui.keyDown(Qt::Key_V, kCtrl);
        EXPECT_EQ(r.model.state.measurement, 25.0f) << pasted;
        EXPECT_EQ(r.model.state.displayText, QStringLiteral("12.5")) << pasted;
    }
    r.ui.keyDown(Qt::Key_C, kCtrl | kShift); // copy measurement: every quantity
    EXPECT_TRUE(r.window.clipboard.startsWith(QStringLiteral("r 12.5 ")))
        << r.window.clipboard.toStdString();
    EXPECT_TRUE(r.window.clipboard.contains(QStringLiteral(" · d 25 ")))
        << r.window.clipboard.toStdString();
    EXPECT_TRUE(r.window.calls.isEmpty()) << "Ctrl+Shift+C is not the colour key";
}

TEST(Keyboard, CommandKeysReachTheWindow) {
    // The tray icon chosen, a notification area to show it.
    const std::tuple<int, Qt::KeyboardModifiers, bool, bool, const char*> cases[] = {
        {Qt::Key_R, kNone, true, true, "ReloadSkin"},
        {Qt::Key_C, kShift, true, true, "NextBaseColor"},
        {Qt::Key_Q, kNone, true, true, "Close"},
        {Qt::Key_H, kNone, true, true, "RequestHide"},
        {Qt::Key_H, kNone, false, true, nullptr},
        {Qt::Key_H, kNone, true, false, nullptr},
        {Qt::Key_N, kNone, true, true, "StartNewInstance"},
        {Qt::Key_F1, kNone, true, true, "ShowHelp"},
    };
    for (const auto& [key, mods, tray, area, call] : cases) {
        Rig r;
        r.options.systemTrayIcon = tray;
        r.window.tray = area;
        r.ui.keyDown(key, mods);
        EXPECT_EQ(r.window.calls, call ? QStringList{call} : QStringList{}) << key;
    }
}

} // namespace
} // namespace orvanta
