// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/values.h"

#include "model/numbers.h"

#include <cmath>
#include <limits>

namespace orvanta {

int clampedOpacity(double percent) {
    if (std::isnan(percent))
        throw OrvantaError(QStringLiteral("Transparency must be a number, not nan"));
    const long double n = roundHalfEven(percent);
    if (n >= kMaxOpacity)
        return kMaxOpacity;
    if (n <= kMinOpacity)
        return kMinOpacity;
    return int(n);
}

float finiteFloat(double value, QStringView what) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        throw OrvantaError(QStringLiteral("%1 must be a finite number within the range of a "
                                          "32-bit float, not %2")
                               .arg(what, QString::number(value)));
    return static_cast<float>(value);
}

} // namespace orvanta
