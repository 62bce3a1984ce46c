// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// distances.ini as a user or another program left it: the units must read
// within their limits, convert without dividing by zero, and what is saved must
// read back to the same units.
#include "fuzzsupport.h"
#include "model/orvantaerror.h"
#include "model/unittable.h"

#include <cmath>

using namespace orvanta;
using namespace orvanta::fuzz;

namespace {

// Ratios are written with the digits the file has always used; what comes
// back is the same number to that precision.
bool closeEnough(long double a, long double b) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    if (std::isinf(a) || std::isinf(b))
        return a == b;
    return std::fabs(a - b) <= 1e-12L * std::max({std::fabs(a), std::fabs(b), 1e-300L});
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString folder = scratch().path();
    const QString path = scratch().filePath(QStringLiteral("distances.ini"));
    writeFile(path, bytesOf(data, size));
    const UnitTable units(folder, QString(), u'.');
    check(units.unitsCount() >= 0 && units.unitsCount() <= UnitTable::kMaxUnits,
          "unit count bounded");
    const UnitScale scale = units.selectedScale();
    check(std::isfinite(scale.pixels) && scale.pixels > 0 && std::isfinite(scale.units) &&
              scale.units > 0,
          "the selected scale converts");
    try {
        (void)unitsToWholePixels(123.5, scale, u'.');
        (void)unitsToPixels(QStringLiteral("42.5"), scale, 1.0f, u'.');
    } catch (const OrvantaError& e) {
        check(!e.message().isEmpty(), "errors say why");
    }

    try {
        units.save();
    } catch (const OrvantaError&) {
        failure("saving into a writable folder");
    }
    const UnitTable again(folder, QString(), u'.');
    check(again.unitsCount() == units.unitsCount(), "count round trip");
    check(again.selectedUnit() == units.selectedUnit(), "selection round trip");
    for (std::int32_t i = units.unitsLockedCount(); i < units.unitsCount(); ++i) {
        check(again.name(i) == units.name(i), "name round trip");
        check(again.decimalNum(i) == units.decimalNum(i), "decimals round trip");
        check(closeEnough(again.pixelNum(i), units.pixelNum(i)), "pixels round trip");
        check(closeEnough(again.unitNum(i), units.unitNum(i)), "units round trip");
    }
    return 0;
}
