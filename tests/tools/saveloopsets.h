#pragma once
// The two value sets the save loop alternates between, shared with the tests
// that check which of them a file holds. They differ in every saved field and
// in length, so that a file mixing them or cut short is told apart.
#include "model/options.h"
#include "model/units.h"

#include <QDir>
#include <QString>
#include <cstdint>

namespace orvanta::saveloop {

struct ValueSet {
    std::int32_t X, Y;
    float Angle, Measurement;
    std::int32_t Shape, Transparency;
    const char16_t* UnitName;
    long double Pixels, Units;
    std::int32_t Decimals, SelectedUnit;
};

// The program's seven units plus one of the user's, the eighth.
inline constexpr std::int32_t kUserUnit = 7;

inline constexpr ValueSet kSetA{111, 222, 11.5f, 123, 5, 10, u"甲", 10, 1, 2, 7};
inline constexpr ValueSet kSetB{
    3333, 4444,  -33.25f, 4567, 39, 90, u"乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙乙",
    96,   2.54L, 4,       1};

inline void ApplyOptions(TDervikOptions& options, const ValueSet& set) {
    options.X = set.X;
    options.Y = set.Y;
    options.Angle = set.Angle;
    options.Measurement = set.Measurement;
    options.Shape = set.Shape;
    options.Transparency = set.Transparency;
}

inline void ApplyUnits(TMeasurements& units, const ValueSet& set) {
    units.SetName(kUserUnit, QString::fromUtf16(set.UnitName));
    units.SetPixelNum(kUserUnit, set.Pixels);
    units.SetUnitNum(kUserUnit, set.Units);
    units.SetDecimalNum(kUserUnit, set.Decimals);
    units.Select(set.SelectedUnit);
}

// Whether the options in `options` are exactly those of `set`.
[[nodiscard]] inline bool HoldsOptions(const TDervikOptions& options, const ValueSet& set) {
    return options.X == set.X && options.Y == set.Y && options.Angle == set.Angle &&
           options.Measurement == set.Measurement && options.Shape == set.Shape &&
           options.Transparency == set.Transparency;
}

[[nodiscard]] inline bool HoldsUnits(const TMeasurements& units, const ValueSet& set) {
    return units.UnitsCount() == kUserUnit + 1 &&
           units.Name(kUserUnit) == QString::fromUtf16(set.UnitName) &&
           units.PixelNum(kUserUnit) == set.Pixels && units.UnitNum(kUserUnit) == set.Units &&
           units.DecimalNum(kUserUnit) == set.Decimals && units.SelectedUnit() == set.SelectedUnit;
}

} // namespace orvanta::saveloop
