// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The values a user can set from the menu, the keys, a dialog, an automation
// client or the command line, each with the one rule that decides whether it
// is taken and what it becomes.

#include "model/measurement.h"

#include <QString>
#include <QStringView>

namespace orvanta {

// The polygon modes, stored in "Scribe" as these numbers.
enum class Inscription : std::int32_t { AroundCircle = 0, Inscribed = 1 };

// The window's opacity in percent. Below the floor the compass would be all but
// invisible and hard to find again; the options store 100 minus the opacity.
inline constexpr int kMinOpacity = 10;
inline constexpr int kMaxOpacity = 100;
inline constexpr int kFullOpacity = 100;

// A shape is the circle (0) or a polygon of 3 to 39 sides.
[[nodiscard]] constexpr bool isValidShape(int sides) {
    return sides == kCircle || (sides >= kFewestSides && sides <= kMostSides);
}
// Anything else is taken as the circle: one or two "sides" have no figure.
[[nodiscard]] constexpr int shapeOrCircle(int sides) {
    return isValidShape(sides) ? sides : kCircle;
}

// Radius, circumference or area; anything else reads as the radius.
[[nodiscard]] constexpr MeasureKind validMeasureKind(int type) {
    return type == int(MeasureKind::Circumference) ? MeasureKind::Circumference
           : type == int(MeasureKind::Area)        ? MeasureKind::Area
                                                   : MeasureKind::Radius;
}

// An opacity asked for in percent: rounded half to even and kept within
// kMinOpacity..kMaxOpacity (infinities too). NaN has no nearest integer and
// throws OrvantaError.
[[nodiscard]] int clampedOpacity(double percent);

// A number that must fit a 32-bit float: NaN, infinities and values beyond the
// float range throw OrvantaError naming `what` ("Angle must be a finite number
// within the range of a 32-bit float, not nan"). A NaN state would leave the
// compass undrawable.
[[nodiscard]] float finiteFloat(double value, QStringView what);

} // namespace orvanta
