// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/measurement.h"

#include "model/numbers.h"

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace orvanta {

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

// From this magnitude on, an 80-bit value has no correct fixed digits left to
// show at two decimals, and the readout switches to general format.
constexpr long double kLargestFixedReadout = 1e15L;

// Whole-pixel results go through a 64-bit rounding, as the original arithmetic
// did; anything beyond it is an overflow.
constexpr long double kLargestWholeSpread =
    static_cast<long double>(std::numeric_limits<std::int64_t>::max());

// Polygons up to this many sides are named in the menu by their numeral.
constexpr std::int32_t kTensInMenu = 3;
constexpr std::int32_t kDirectMenuLast = 9;

long double sides(std::int32_t shape) {
    return static_cast<long double>(shape);
}

// Nearest whole spread (halves to even), or empty when the arithmetic failed.
std::optional<float> wholeSpread(long double x) {
    const long double r = roundHalfEven(x);
    if (!std::isfinite(r) || std::fabs(r) > kLargestWholeSpread)
        return std::nullopt;
    return static_cast<float>(r);
}

std::optional<float> wholePixels(long double units, UnitScale scale, QChar separator) {
    try {
        return static_cast<float>(unitsToWholePixels(static_cast<double>(units), scale, separator));
    } catch (const OrvantaError&) {
        return std::nullopt;
    }
}

QString chineseNumeral(std::int32_t n) {
    static const std::array<QString, 10> digits = {QString(),
                                                   QStringLiteral("一"),
                                                   QStringLiteral("二"),
                                                   QStringLiteral("三"),
                                                   QStringLiteral("四"),
                                                   QStringLiteral("五"),
                                                   QStringLiteral("六"),
                                                   QStringLiteral("七"),
                                                   QStringLiteral("八"),
                                                   QStringLiteral("九")};
    const std::int32_t tens = n / 10;
    const std::int32_t ones = n % 10;
    QString text;
    if (tens > 1)
        text += digits[std::size_t(tens)];
    if (tens > 0)
        text += QStringLiteral("十"); // 十六, not 一十六
    return text + digits[std::size_t(ones)];
}

} // namespace

MeasureKind measureKindOf(std::int32_t measureType) {
    switch (measureType) {
    case std::int32_t(MeasureKind::Circumference):
        return MeasureKind::Circumference;
    case std::int32_t(MeasureKind::Area):
        return MeasureKind::Area;
    default:
        return MeasureKind::Radius;
    }
}

bool isInscribed(std::int32_t scribe) {
    return scribe == 1;
}

long double measuredValue(long double spread, long double zoom, const Figure& figure,
                          UnitScale scale) {
    const long double r = spread / scale.pixels * scale.units * zoom;
    const long double n = sides(figure.shape);
    const long double half = figure.shape == kCircle ? 0 : kPi / n;
    switch (measureKindOf(figure.measureType)) {
    case MeasureKind::Radius:
        return r;
    case MeasureKind::Circumference: {
        const long double factor = figure.shape == kCircle      ? 2 * kPi
                                   : isInscribed(figure.scribe) ? 2 * n * std::sin(half)
                                                                : 2 * n * std::tan(half);
        return factor * spread / scale.pixels * scale.units * zoom;
    }
    case MeasureKind::Area: {
        const long double factor = figure.shape == kCircle ? kPi
                                   : isInscribed(figure.scribe)
                                       ? n * std::sin(half) * std::cos(half)
                                       : n * std::tan(half);
        return r * r * factor;
    }
    }
    return r;
}

QString formatReadoutValue(long double value, int decimals, QChar separator) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (std::fabs(value) >= kLargestFixedReadout)
        return formatGeneral(value, separator);
    return formatReadout(value, decimals, separator);
}

EntryCoefficients circumferenceCoefficients(std::int32_t shape, std::int32_t scribe) {
    if (shape == kCircle)
        return {1.0f, static_cast<float>(kPi)};
    const long double half = kPi / sides(shape);
    const auto K = static_cast<float>(sides(shape) * std::sin(half));
    if (isInscribed(scribe))
        return {1.0f, K};
    return {static_cast<float>(std::cos(half)), K};
}

EntryCoefficients areaCoefficients(std::int32_t shape, std::int32_t scribe) {
    if (shape == kCircle)
        return {1.0f, static_cast<float>(kPi)};
    const long double half = kPi / sides(shape);
    if (isInscribed(scribe))
        return {1.0f, static_cast<float>(sides(shape) * std::sin(half) * std::cos(half))};
    return {static_cast<float>(std::cos(half)), static_cast<float>(sides(shape) * std::sin(half))};
}

std::optional<float> spreadForCircumference(std::int32_t op, double value, float spread,
                                            UnitScale scale, EntryCoefficients k, QChar separator) {
    const long double v = value;
    const long double m = spread;
    const long double c = k.c;
    const long double twoK = 2.0L * static_cast<long double>(k.k);
    switch (op) {
    case OpSet:
        return wholePixels(v * c / twoK, scale, separator);
    case OpAdd:
    case OpSubtract: {
        const auto t = wholePixels(v * c, scale, separator);
        if (!t)
            return std::nullopt;
        const long double sign = op == OpAdd ? 1 : -1;
        return wholeSpread((twoK * m + sign * *t) / twoK);
    }
    case OpMultiply:
        return wholeSpread(twoK * m * v / twoK);
    case OpDivide:
        return wholeSpread(twoK * m / v / twoK);
    default:
        return std::nullopt;
    }
}

std::optional<float> spreadForArea(std::int32_t op, double value, float spread, UnitScale scale,
                                   EntryCoefficients k, QChar separator) {
    const long double v = value;
    const long double m = spread;
    const long double c = k.c;
    const long double K = k.k;
    switch (op) {
    case OpSet:
        return wholePixels(std::sqrt(v * c / K), scale, separator);
    case OpAdd:
    case OpSubtract: {
        const auto t = wholePixels(std::sqrt(v * c), scale, separator);
        if (!t)
            return std::nullopt;
        const long double sign = op == OpAdd ? 1 : -1;
        // Taking away more area than there is leaves a negative root: an error.
        return wholeSpread(std::sqrt((m * m * K + sign * *t * *t) / K));
    }
    case OpMultiply:
        return wholeSpread(std::sqrt(m * m * K * v / K));
    case OpDivide:
        return wholeSpread(std::sqrt(m * m * K / v / K));
    default:
        return std::nullopt;
    }
}

QString shapeName(std::int32_t n) {
    if (n == kCircle)
        return QStringLiteral("圆形");
    if (n == 3)
        return QStringLiteral("三角形");
    if (n == 4)
        return QStringLiteral("正方形");
    if (n < kFewestSides || n > kMostSides)
        return QString();
    return chineseNumeral(n) + QStringLiteral("边形");
}

QString shapeMenuCaption(std::int32_t n) {
    if (n == kCircle)
        return shapeName(n);
    return shapeName(n) + QStringLiteral(" - ") + QString::number(n);
}

QString polygonModeName(bool inscribed) {
    return inscribed ? QStringLiteral("内切多边形") : QStringLiteral("直角多边形");
}

QString measureTypeName(MeasureKind kind) {
    switch (kind) {
    case MeasureKind::Circumference:
        return QStringLiteral("周长");
    case MeasureKind::Area:
        return QStringLiteral("面积");
    case MeasureKind::Radius:
        break;
    }
    return QStringLiteral("半径");
}

ShapeMenuLayout shapeMenu() {
    ShapeMenuLayout layout;
    for (std::int32_t n = kFewestSides; n <= kDirectMenuLast; ++n)
        layout.direct.push_back(n);
    for (std::int32_t g = 1; g <= kTensInMenu; ++g) {
        ShapeSubMenu sub{QString::number(g * 10) + u's', {}};
        for (std::int32_t j = 0; j < 10; ++j)
            sub.shapes.push_back(g * 10 + j);
        layout.subMenus.push_back(std::move(sub));
    }
    return layout;
}

} // namespace orvanta
