// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/measurement.h"

#include "model/numbers.h"

#include <QCoreApplication>
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

// Indexed by the number of sides, 0 being the circle. Each polygon is named on
// its own, so that a language can word every one as it needs.
constexpr const char* kShapeNames[] = {
    QT_TRANSLATE_NOOP("Shapes", "Circle"),
    nullptr,
    nullptr,
    QT_TRANSLATE_NOOP("Shapes", "Triangle"),
    QT_TRANSLATE_NOOP("Shapes", "Square"),
    QT_TRANSLATE_NOOP("Shapes", "Pentagon"),
    QT_TRANSLATE_NOOP("Shapes", "Hexagon"),
    QT_TRANSLATE_NOOP("Shapes", "Heptagon"),
    QT_TRANSLATE_NOOP("Shapes", "Octagon"),
    QT_TRANSLATE_NOOP("Shapes", "Nonagon"),
    QT_TRANSLATE_NOOP("Shapes", "10 sides"),
    QT_TRANSLATE_NOOP("Shapes", "11 sides"),
    QT_TRANSLATE_NOOP("Shapes", "12 sides"),
    QT_TRANSLATE_NOOP("Shapes", "13 sides"),
    QT_TRANSLATE_NOOP("Shapes", "14 sides"),
    QT_TRANSLATE_NOOP("Shapes", "15 sides"),
    QT_TRANSLATE_NOOP("Shapes", "16 sides"),
    QT_TRANSLATE_NOOP("Shapes", "17 sides"),
    QT_TRANSLATE_NOOP("Shapes", "18 sides"),
    QT_TRANSLATE_NOOP("Shapes", "19 sides"),
    QT_TRANSLATE_NOOP("Shapes", "20 sides"),
    QT_TRANSLATE_NOOP("Shapes", "21 sides"),
    QT_TRANSLATE_NOOP("Shapes", "22 sides"),
    QT_TRANSLATE_NOOP("Shapes", "23 sides"),
    QT_TRANSLATE_NOOP("Shapes", "24 sides"),
    QT_TRANSLATE_NOOP("Shapes", "25 sides"),
    QT_TRANSLATE_NOOP("Shapes", "26 sides"),
    QT_TRANSLATE_NOOP("Shapes", "27 sides"),
    QT_TRANSLATE_NOOP("Shapes", "28 sides"),
    QT_TRANSLATE_NOOP("Shapes", "29 sides"),
    QT_TRANSLATE_NOOP("Shapes", "30 sides"),
    QT_TRANSLATE_NOOP("Shapes", "31 sides"),
    QT_TRANSLATE_NOOP("Shapes", "32 sides"),
    QT_TRANSLATE_NOOP("Shapes", "33 sides"),
    QT_TRANSLATE_NOOP("Shapes", "34 sides"),
    QT_TRANSLATE_NOOP("Shapes", "35 sides"),
    QT_TRANSLATE_NOOP("Shapes", "36 sides"),
    QT_TRANSLATE_NOOP("Shapes", "37 sides"),
    QT_TRANSLATE_NOOP("Shapes", "38 sides"),
    QT_TRANSLATE_NOOP("Shapes", "39 sides"),
};

QString translated(const char* text) {
    return QCoreApplication::translate("Shapes", text);
}

} // namespace

long double measuredValue(long double spread, long double zoom, const Figure& figure,
                          UnitScale scale) {
    const long double r = spread / scale.pixels * scale.units * zoom;
    const long double n = sides(figure.shape);
    const long double half = figure.shape == kCircle ? 0 : kPi / n;
    switch (figure.measureType) {
    case MeasureKind::Radius:
    case MeasureKind::Angle:
        return r;
    case MeasureKind::Diameter:
        return 2 * r;
    case MeasureKind::Circumference: {
        const long double factor = figure.shape == kCircle ? 2 * kPi
                                   : figure.scribe == Inscription::Inscribed
                                       ? 2 * n * std::sin(half)
                                       : 2 * n * std::tan(half);
        return factor * spread / scale.pixels * scale.units * zoom;
    }
    case MeasureKind::Area: {
        const long double factor = figure.shape == kCircle ? kPi
                                   : figure.scribe == Inscription::Inscribed
                                       ? n * std::sin(half) * std::cos(half)
                                       : n * std::tan(half);
        return r * r * factor;
    }
    }
    return r;
}

long double protractorAngle(long double clockwise) {
    if (!std::isfinite(clockwise))
        return 0;
    // Rounded before wrapping, so that 359.96 becomes 360.0 and then 0.0.
    const long double tenths = roundHalfAway(std::fmod(-clockwise, 360.0L) * 10);
    const long double wrapped = std::fmod(tenths, 3600.0L);
    return (wrapped < 0 ? wrapped + 3600 : wrapped) / 10 + 0.0L; // + 0 turns -0 into 0
}

QString formatAngle(long double protractor, QChar separator) {
    QString text = QString::number(static_cast<double>(protractor), 'f', 1);
    text.replace(QLatin1Char('.'), separator);
    return text + QChar(0x00B0);
}

QString formatReadoutValue(long double value, int decimals, QChar separator) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (std::fabs(value) >= kLargestFixedReadout)
        return formatGeneral(value, separator);
    return formatReadout(value, decimals, separator);
}

EntryCoefficients circumferenceCoefficients(std::int32_t shape, Inscription scribe) {
    if (shape == kCircle)
        return {1.0f, static_cast<float>(kPi)};
    const long double half = kPi / sides(shape);
    const auto K = static_cast<float>(sides(shape) * std::sin(half));
    if (scribe == Inscription::Inscribed)
        return {1.0f, K};
    return {static_cast<float>(std::cos(half)), K};
}

EntryCoefficients areaCoefficients(std::int32_t shape, Inscription scribe) {
    if (shape == kCircle)
        return {1.0f, static_cast<float>(kPi)};
    const long double half = kPi / sides(shape);
    if (scribe == Inscription::Inscribed)
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
    if (n < 0 || n >= std::int32_t(std::size(kShapeNames)) || !kShapeNames[n])
        return QString();
    return translated(kShapeNames[n]);
}

QString shapeMenuText(std::int32_t n) {
    if (n == kCircle)
        return shapeName(n);
    //: A polygon in the shape menu: its name, then its number of sides.
    return QCoreApplication::translate("Shapes", "%1 - %2").arg(shapeName(n)).arg(n);
}

QString shapeDecadeText(std::int32_t firstSides) {
    //: The submenu of the polygons with 10 to 19 (20 to 29, 30 to 39) sides.
    return QCoreApplication::translate("Shapes", "%1s").arg(firstSides);
}

QString polygonModeName(bool inscribed) {
    return inscribed ? translated(QT_TRANSLATE_NOOP("Shapes", "Inscribed polygons"))
                     : translated(QT_TRANSLATE_NOOP("Shapes", "Circumscribed polygons"));
}

QString measureTypeName(MeasureKind kind) {
    switch (kind) {
    case MeasureKind::Circumference:
        return translated(QT_TRANSLATE_NOOP("Shapes", "Circumference"));
    case MeasureKind::Area:
        return translated(QT_TRANSLATE_NOOP("Shapes", "Area"));
    case MeasureKind::Diameter:
        return translated(QT_TRANSLATE_NOOP("Shapes", "Diameter"));
    case MeasureKind::Angle:
        return translated(QT_TRANSLATE_NOOP("Shapes", "Angle"));
    case MeasureKind::Radius:
        break;
    }
    return translated(QT_TRANSLATE_NOOP("Shapes", "Radius"));
}

} // namespace orvanta
