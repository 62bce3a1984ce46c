// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What the eighteen skin controls do, the animated cursors by number and the
// texts of the tooltips. The controls are tested for presses and hovers in the
// order of the skin's keys (SkinControl); where they overlap, the first one wins.

#include "model/compassmodel.h"
#include "model/settings.h"
#include "skins/skin.h"

#include <QString>
#include <array>

namespace orvanta {

// Every control in test order, for range-for loops.
[[nodiscard]] const std::array<SkinControl, kControlCount>& allControls();

// The three layers of a control: the normal look is always shown, the pressed and
// hover looks are shown over it while they apply.
enum class ControlLayer { Normal, Pressed, Hover };

struct ControlInfo {
    // Acts at mouse-down and repeats while held; the others act when released
    // over them.
    bool steps;
    // A held Ctrl, Alt or Shift makes the step 10 and gives the "plus" cursors.
    bool seesModifier;
};

[[nodiscard]] const ControlInfo& infoOf(SkinControl key);

// The tooltip of a control. The close control tells whether it hides to the tray
// or quits, which depends on whether the tray can bring the compass back.
[[nodiscard]] QString controlTooltip(SkinControl key, const Settings& options, bool hasTray);

// Whether a close request from the compass hides it to the tray rather than
// quitting: only when there is a notification area (`hasTray`), the tray icon
// answers the mouse and its menu can bring it back.
[[nodiscard]] bool hidesToTray(const Settings& options, bool hasTray);

// The measure selector that shows a measure type (indexed by MeasureKind;
// anything else shows as radius) and, the other way round, the type a
// selector shows (-1 for other controls).
inline constexpr std::array<SkinControl, kMeasureKindCount> kMeasureSelectors{
    SkinControl::Radius, SkinControl::Circumference, SkinControl::Area, SkinControl::Diameter,
    SkinControl::AngleReading};
[[nodiscard]] SkinControl selectorOf(MeasureKind measureType);
[[nodiscard]] int measureTypeOf(SkinControl key);
[[nodiscard]] bool isMeasureSelector(SkinControl key);

// The tool tip over the readout: typed entry, then which unit, monitor and scale
// the number is in.
[[nodiscard]] QString readoutToolTip(const CompassModel& model);

// The animated cursors by number, as loaded into the cursor table.
namespace cursors {
inline constexpr int hand = 1;          // over the base or slide, free
inline constexpr int grab = 2;          // dragging the base or slide, free
inline constexpr int pointer = 3;       // over a control
inline constexpr int down = 4;          // pressing a control
inline constexpr int handExtend = 5;    // over the slide, extend only
inline constexpr int grabExtend = 6;    // dragging the slide, extend only
inline constexpr int handRotate = 7;    // over the slide, turn only
inline constexpr int grabRotate = 8;    // dragging the slide, turn only
inline constexpr int handMove = 9;      // over the base with Shift
inline constexpr int grabMove = 10;     // dragging the base with Shift
inline constexpr int handRelative = 11; // over the base with Alt
inline constexpr int grabRelative = 12; // dragging the base with Alt
inline constexpr int pointerPlus = 13;  // over a control with a modifier key
inline constexpr int downPlus = 14;     // pressing a control with a modifier key
} // namespace cursors

// The cursor shown once a drag that showed `cursor` ends: each "grab" cursor
// becomes its "hand". Any other cursor is returned unchanged.
[[nodiscard]] int releasedDragCursor(int cursor);

} // namespace orvanta
