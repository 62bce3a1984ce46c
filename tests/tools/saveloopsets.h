// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The two value sets the save loop alternates between, shared with the tests
// that check which of them a file holds. They differ in every saved field and
// in length, so that a file mixing them or cut short is told apart.
#include "model/settings.h"
#include "model/unittable.h"

#include <QDir>
#include <QString>
#include <cstdint>

namespace orvanta::saveloop {

struct ValueSet {
    std::int32_t x, y;
    float angle, measurement;
    std::int32_t shape, transparency;
    const char16_t* unitName;
    long double pixels, units;
    std::int32_t decimals, selectedUnit;
};

// The program's seven units plus one of the user's, the eighth.
inline constexpr std::int32_t kUserUnit = 7;

inline constexpr ValueSet kSetA{111, 222, 11.5f, 123, 5, 10, u"甲", 10, 1, 2, 7};
inline constexpr ValueSet kSetB{
    3333, 4444,  -33.25f, 4567, 39, 90, u"乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙",
    96,   2.54L, 4,       1};

inline void applyOptions(Settings& options, const ValueSet& set) {
    options.x = set.x;
    options.y = set.y;
    options.angle = set.angle;
    options.measurement = set.measurement;
    options.shape = set.shape;
    options.transparency = set.transparency;
}

inline void applyUnits(UnitTable& units, const ValueSet& set) {
    units.setName(kUserUnit, QString::fromUtf16(set.unitName));
    units.setPixelNum(kUserUnit, set.pixels);
    units.setUnitNum(kUserUnit, set.units);
    units.setDecimalNum(kUserUnit, set.decimals);
    units.select(set.selectedUnit);
}

// Whether the options in `options` are exactly those of `set`.
[[nodiscard]] inline bool holdsOptions(const Settings& options, const ValueSet& set) {
    return options.x == set.x && options.y == set.y && options.angle == set.angle &&
           options.measurement == set.measurement && options.shape == set.shape &&
           options.transparency == set.transparency;
}

[[nodiscard]] inline bool holdsUnits(const UnitTable& units, const ValueSet& set) {
    return units.unitsCount() == kUserUnit + 1 &&
           units.name(kUserUnit) == QString::fromUtf16(set.unitName) &&
           units.pixelNum(kUserUnit) == set.pixels && units.unitNum(kUserUnit) == set.units &&
           units.decimalNum(kUserUnit) == set.decimals && units.selectedUnit() == set.selectedUnit;
}

} // namespace orvanta::saveloop
