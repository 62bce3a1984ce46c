// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/values.h"

#include "model/numbers.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace orvanta {

QString OptionRange::expected() const {
    // A short span is spelt out: "0, 1 or 2" reads better than "0 to 2".
    QStringList parts;
    const auto span = [&parts](std::int32_t from, std::int32_t to) {
        if (to - from > 2)
            parts << QStringLiteral("%1 to %2").arg(from).arg(to);
        else
            for (std::int32_t v = from; v <= to; ++v)
                parts << QString::number(v);
    };
    if (gapLowest > gapHighest) {
        span(lowest, highest);
    } else {
        span(lowest, gapLowest - 1);
        span(gapHighest + 1, highest);
    }
    const QString last = parts.takeLast();
    return parts.isEmpty() ? last
                           : parts.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

int clampedOpacity(double percent) {
    if (std::isnan(percent))
        throw OrvantaError(QStringLiteral("Transparency must be a number, not nan"));
    const long double n = roundHalfEven(percent);
    // Compared as long double first: a huge or infinite percent has no int.
    if (n >= kOpacityRange.highest)
        return kOpacityRange.highest;
    if (n <= kOpacityRange.lowest)
        return kOpacityRange.lowest;
    return kOpacityRange.brought(std::int64_t(n));
}

float finiteFloat(double value, QStringView what) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        throw OrvantaError(QStringLiteral("%1 must be a finite number within the range of a "
                                          "32-bit float, not %2")
                               .arg(what, QString::number(value)));
    return static_cast<float>(value);
}

} // namespace orvanta
