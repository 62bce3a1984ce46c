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

// The window's opacity in percent. Below the floor the compass would be all but
// invisible and hard to find again; the options store 100 minus the opacity.
inline constexpr int kMinOpacity = 10;
inline constexpr int kMaxOpacity = 100;
inline constexpr int kFullOpacity = 100;

// The whole numbers an option accepts: lowest..highest without the gap
// gapLowest..gapHighest, if any. What lies outside becomes `fallback`, or with
// `clamps` the nearer end. Reading the options file, automation clients and
// the render command all go by these ranges.
struct OptionRange {
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
    std::int32_t fallback = 0;
    bool clamps = false;
    std::int32_t gapLowest = 1; // none while gapLowest > gapHighest
    std::int32_t gapHighest = 0;

    [[nodiscard]] constexpr bool accepts(std::int64_t v) const {
        return v >= lowest && v <= highest && (v < gapLowest || v > gapHighest);
    }
    [[nodiscard]] constexpr std::int32_t brought(std::int64_t v) const {
        if (accepts(v))
            return std::int32_t(v);
        if (!clamps)
            return fallback;
        return v < lowest ? lowest : highest;
    }
    // What the range accepts, for a message: "0 to 2", "0 or 3 to 39".
    [[nodiscard]] QString expected() const;
};

// The circle (0) or a polygon of 3 to 39 sides; one or two "sides" have no
// figure and give the circle.
inline constexpr OptionRange kShapeRange{kCircle, kMostSides,  kCircle,
                                         false,   kCircle + 1, kFewestSides - 1};
inline constexpr OptionRange kScribeRange{0, 1, 0};
// Radius, circumference, area, diameter or angle; anything else reads as the
// radius.
inline constexpr OptionRange kMeasureTypeRange{0, kMeasureKindCount - 1, 0};
inline constexpr OptionRange kOpacityRange{kMinOpacity, kMaxOpacity, kFullOpacity, true};
// As stored: 100 minus the opacity.
inline constexpr OptionRange kTransparencyRange{kFullOpacity - kMaxOpacity,
                                                kFullOpacity - kMinOpacity, 0, true};
// How many times the loupe enlarges; between its steps it takes the next one up.
inline constexpr OptionRange kLoupeZoomRange{2, 16, 4, true};

[[nodiscard]] constexpr bool isValidShape(int sides) {
    return kShapeRange.accepts(sides);
}
[[nodiscard]] constexpr int shapeOrCircle(int sides) {
    return kShapeRange.brought(sides);
}
[[nodiscard]] constexpr MeasureKind validMeasureKind(int type) {
    return MeasureKind(kMeasureTypeRange.brought(type));
}
[[nodiscard]] constexpr Inscription validInscription(int scribe) {
    return Inscription(kScribeRange.brought(scribe));
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
