// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/controls.h"

#include <QCoreApplication>
#include <algorithm>
#include <iterator>

namespace orvanta {

namespace {

using enum SkinControl;

// Indexed by SkinControl. The first five ignore modifier keys: closing, the
// colour, the menu and the 45-degree turns have no step to enlarge.
constexpr std::array<ControlInfo, kControlCount> kControls{{
    {false, false}, // Close
    {false, false}, // ColorBase
    {false, false}, // Menu
    {true, false},  // Flip
    {true, false},  // FlipMinus
    {true, true},   // Angle
    {true, true},   // AngleMinus
    {true, true},   // Left
    {true, true},   // Right
    {true, true},   // In
    {true, true},   // Out
    {true, true},   // MoveLeft
    {true, true},   // MoveUp
    {true, true},   // MoveRight
    {true, true},   // MoveDown
    {false, true},  // Radius
    {false, true},  // Circumference
    {false, true},  // Area
    {false, true},  // Diameter
    {false, true},  // AngleReading
}};

constexpr std::array<SkinControl, kControlCount> kOrder = [] {
    std::array<SkinControl, kControlCount> order{};
    for (int i = 0; i < kControlCount; ++i)
        order[i] = static_cast<SkinControl>(i);
    return order;
}();

} // namespace

const std::array<SkinControl, kControlCount>& allControls() {
    return kOrder;
}

const ControlInfo& infoOf(SkinControl key) {
    return kControls[static_cast<int>(key)];
}

bool hidesToTray(const Settings& options, bool hasTray) {
    return hasTray && options.systemTrayIcon && options.rightClickMenu;
}

QString controlTooltip(SkinControl key, const Settings& options, bool hasTray) {
    // Indexed by SkinControl; the close control has two texts.
    static constexpr const char* kTooltips[] = {
        nullptr,
        QT_TRANSLATE_NOOP("Controls", "Change the base colour bar (C)"),
        QT_TRANSLATE_NOOP("Controls", "Show the menu (right click)"),
        QT_TRANSLATE_NOOP("Controls", "Turn to the next 45 degrees (F)"),
        QT_TRANSLATE_NOOP("Controls", "Turn to the last 45 degrees (L)"),
        QT_TRANSLATE_NOOP("Controls", "Turn clockwise (Shift + >)"),
        QT_TRANSLATE_NOOP("Controls", "Turn anticlockwise (Shift + <)"),
        QT_TRANSLATE_NOOP("Controls", "Move inward"),
        QT_TRANSLATE_NOOP("Controls", "Move outward"),
        QT_TRANSLATE_NOOP("Controls", "Shorten the distance (Shift + arrow keys)"),
        QT_TRANSLATE_NOOP("Controls", "Lengthen the distance (Shift + arrow keys)"),
        QT_TRANSLATE_NOOP("Controls", "Move left (left arrow)"),
        QT_TRANSLATE_NOOP("Controls", "Move up (up arrow)"),
        QT_TRANSLATE_NOOP("Controls", "Move right (right arrow)"),
        QT_TRANSLATE_NOOP("Controls", "Move down (down arrow)"),
        QT_TRANSLATE_NOOP("Controls", "Radius measurement - click to change"),
        QT_TRANSLATE_NOOP("Controls", "Circumference measurement - click to change"),
        QT_TRANSLATE_NOOP("Controls", "Area measurement - click to change"),
        QT_TRANSLATE_NOOP("Controls", "Diameter measurement - click to change"),
        QT_TRANSLATE_NOOP("Controls", "Angle measurement - click to change"),
    };
    static_assert(std::size(kTooltips) == kControlCount);
    if (key == Close)
        return hidesToTray(options, hasTray)
                   ? QCoreApplication::translate("Controls", "Hide the compass to the tray (H)")
                   : QCoreApplication::translate("Controls", "Quit the compass (Q)");
    return QCoreApplication::translate("Controls", kTooltips[static_cast<int>(key)]);
}

SkinControl selectorOf(MeasureKind measureType) {
    const auto index = std::size_t(measureType);
    return index < kMeasureSelectors.size() ? kMeasureSelectors[index] : Radius;
}

int measureTypeOf(SkinControl key) {
    const auto* found = std::find(kMeasureSelectors.begin(), kMeasureSelectors.end(), key);
    return found == kMeasureSelectors.end() ? -1 : int(found - kMeasureSelectors.begin());
}

bool isMeasureSelector(SkinControl key) {
    return measureTypeOf(key) >= 0;
}

QString readoutToolTip(const CompassModel& model) {
    const UnitTable& units = model.units;
    const std::int32_t unit = units.selectedUnit();
    return QCoreApplication::translate(
               "Controls", "Type a number and press Enter to jump to the new distance") +
           QStringLiteral("\r\n\r\n") +
           QCoreApplication::translate("Controls", "Type +, -, *, or / and a number to calculate") +
           QStringLiteral("\r\n\r\n") +
           scaleDescription(units.displayName(unit), isPhysicalUnit(units, unit), model.monitor);
}

int releasedDragCursor(int cursor) {
    switch (cursor) {
    case cursors::grab:
    case cursors::grabExtend:
    case cursors::grabRotate:
    case cursors::grabMove:
    case cursors::grabRelative:
        return cursor - 1; // every "grab" follows its "hand" in the table
    default:
        return cursor;
    }
}

} // namespace orvanta
