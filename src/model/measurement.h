// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The figure the compass measures and the number its readout shows: a circle
// whose radius is the spread, or a regular polygon built on that circle (around
// it: the spread is the apothem; inscribed: the spread reaches the corners).
// Pure functions; CompassModel feeds them the live state.

#include "model/unittable.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvanta {

// Stored in the options file as measureType; the order is part of that file,
// so new kinds only ever come at the end.
enum class MeasureKind : std::int32_t {
    Radius = 0,
    Circumference = 1,
    Area = 2,
    Diameter = 3,
    Angle = 4,
};
inline constexpr std::int32_t kMeasureKindCount = 5;

// The polygon modes, stored in "Scribe" as these numbers.
enum class Inscription : std::int32_t { AroundCircle = 0, Inscribed = 1 };

// The operations of typed entry and of keeping a quantity across shape changes.
enum EntryOp : std::int32_t { OpSet = 0, OpAdd = 1, OpSubtract = 2, OpMultiply = 3, OpDivide = 4 };

struct Figure {
    std::int32_t shape = 0; // 0 circle, else the number of sides
    Inscription scribe = Inscription::AroundCircle;
    MeasureKind measureType = MeasureKind::Radius;
};

// The shown quantity: radius, diameter, perimeter or area of the figure, for a
// spread in pixels, a readout magnification and the unit's ratio. Extended
// precision. The angle does not depend on the spread: see protractorAngle.
[[nodiscard]] long double measuredValue(long double spread, long double zoom, const Figure& figure,
                                        UnitScale scale);

// The beam's direction as a protractor reads it: counter-clockwise from east,
// rounded to one decimal, in [0, 360). The compass stores its angle clockwise
// (screen y grows downwards), so a stored 30 reads 330.0 and -45 reads 45.0;
// 359.96 counter-clockwise rounds to 0.0, never 360.0.
[[nodiscard]] long double protractorAngle(long double clockwise);
// A protractor reading with its one decimal and the degree sign: "330.0°".
[[nodiscard]] QString formatAngle(long double protractor, QChar separator);

// The readout text: at most `decimals` decimals, trailing zeros dropped, the
// regional separator. Values of 1e15 and beyond have no meaningful fixed digits
// left and are written in general format ("1.5E20"); a value that is not finite
// reads "0" rather than putting "NAN" on the desktop.
[[nodiscard]] QString formatReadoutValue(long double value, int decimals, QChar separator);

// The 32-bit coefficients that turn an entered perimeter or area back into a
// spread: c scales the entered value, K is the shape's factor.
struct EntryCoefficients {
    float c = 1;
    float k = 0;
};
[[nodiscard]] EntryCoefficients circumferenceCoefficients(std::int32_t shape, Inscription scribe);
[[nodiscard]] EntryCoefficients areaCoefficients(std::int32_t shape, Inscription scribe);

// The spread (whole pixels) that makes the shown perimeter or area equal to
// `value` (OpSet) or changes it by `value` (the other ops), starting from
// `spread`. Empty on any arithmetic error: overflow, a negative square root,
// a division by zero, a result beyond the integer range.
[[nodiscard]] std::optional<float> spreadForCircumference(std::int32_t op, double value,
                                                          float spread, UnitScale scale,
                                                          EntryCoefficients k, QChar separator);
[[nodiscard]] std::optional<float> spreadForArea(std::int32_t op, double value, float spread,
                                                 UnitScale scale, EntryCoefficients k,
                                                 QChar separator);

// Names of the figures and the menu that offers them.
constexpr std::int32_t kCircle = 0;
constexpr std::int32_t kFewestSides = 3;
constexpr std::int32_t kMostSides = 39;

// In the user's language: "Circle" for 0, "Triangle", "Square", "Pentagon" ...
// "Nonagon", then "10 sides" ... "39 sides"; empty otherwise.
[[nodiscard]] QString shapeName(std::int32_t n);
// The menu item: the circle's name alone, a polygon's name followed by " - "
// and its number of sides.
[[nodiscard]] QString shapeMenuText(std::int32_t n);
// The submenu holding the polygons from `firstSides` on: "10s".
[[nodiscard]] QString shapeDecadeText(std::int32_t firstSides);
// The two polygon modes: around the circle or inscribed in it.
[[nodiscard]] QString polygonModeName(bool inscribed);
// "Radius", "Circumference", "Area", "Diameter", "Angle".
[[nodiscard]] QString measureTypeName(MeasureKind kind);

} // namespace orvanta
