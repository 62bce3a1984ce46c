// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/compassmodel.h"

#include "model/numbers.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <limits>

namespace orvanta {

namespace {

// The readout's number as the 32-bit value automation reads: a readout beyond
// the float range reads as the largest float rather than infinity.
float displayValueOf(long double v) {
    constexpr long double largest = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(v, -largest, largest));
}

} // namespace

CompassModel::CompassModel(Settings& options_, UnitTable& units_, QChar decimalSeparator_)
    : options(options_), units(units_), decimalSeparator(decimalSeparator_) {}

void CompassModel::initialise(const DesktopGeometry& desktop) {
    state.initialise(options, desktop);
}

UnitScale CompassModel::selectedScale() const {
    const UnitScale scale = units.selectedScale();
    if (!isPhysicalUnit(units, units.selectedUnit()))
        return scale;
    return physicalScale(scale, densityAlong(monitor.density, double(state.displayAngle)));
}

Figure CompassModel::currentFigure() const {
    return Figure{options.shape, options.scribe, options.measureType};
}

QString CompassModel::formatMeasurement() const {
    if (options.measureType == MeasureKind::Angle)
        return formatAngle(protractorAngle(state.displayAngle), decimalSeparator);
    const long double value =
        measuredValue(state.measurement, state.externalZoom, currentFigure(), selectedScale());
    return formatReadoutValue(value, units.decimalNum(units.selectedUnit()), decimalSeparator);
}

bool CompassModel::updateReadout() {
    const QString text = formatMeasurement();
    state.displayValue = options.measureType == MeasureKind::Angle
                             ? float(protractorAngle(state.displayAngle))
                             : displayValueOf(parseFloat(text, decimalSeparator).value_or(0));
    if (state.typing)
        return false;
    state.displayText = text;
    return true;
}

QString CompassModel::titleText() const {
    // An area is in square units (12.5 cm² rather than 12.5 cm); an angle
    // carries its degree sign and has no unit.
    QString unit = units.displayName(units.selectedUnit());
    if (options.measureType == MeasureKind::Area)
        unit += QChar(0x00B2);
    else if (options.measureType == MeasureKind::Angle)
        unit.clear();
    //: The window title and the tray's tool tip: the readout (%1) and the unit (%2).
    return QCoreApplication::translate("CompassModel", "Compass %1 %2")
        .arg(state.displayText, unit)
        .trimmed();
}

float CompassModel::unitsToPixels(const QString& text) const {
    return orvanta::unitsToPixels(text, selectedScale(), state.externalZoom, decimalSeparator);
}

std::int32_t CompassModel::unitsToWholePixels(double v) const {
    return orvanta::unitsToWholePixels(v, selectedScale(), decimalSeparator);
}

void CompassModel::setShape(std::int32_t n) {
    const QString shown = formatMeasurement();
    options.shape = n;
    options.save();
    keepShownQuantity(shown);
}

void CompassModel::setScribe(bool inscribed) {
    const QString shown = formatMeasurement();
    options.scribe = inscribed ? Inscription::Inscribed : Inscription::AroundCircle;
    options.save();
    keepShownQuantity(shown);
}

void CompassModel::keepShownQuantity(const QString& shownBefore) {
    // A radius is the spread itself and needs nothing; a perimeter or an area
    // is entered again for the new figure, which moves the spread.
    if (const auto shown = parseFloat(shownBefore, decimalSeparator)) {
        switch (options.measureType) {
        case MeasureKind::Circumference:
            setFromCircumference(OpSet, static_cast<double>(*shown));
            break;
        case MeasureKind::Area:
            setFromArea(OpSet, static_cast<double>(*shown));
            break;
        case MeasureKind::Radius:
        case MeasureKind::Diameter:
        case MeasureKind::Angle:
            break;
        }
    }
    state.needsRepaint = true;
}

void CompassModel::setMeasureType(std::int32_t type) {
    if (!kMeasureTypeRange.accepts(type))
        return;
    options.measureType = MeasureKind(type);
    state.needsRepaint = true;
}

void CompassModel::setSpreadFrom(const std::optional<float>& spread) {
    if (spread)
        state.measurement = *spread;
    state.typing = false;
    state.needsRepaint = true;
}

void CompassModel::setFromCircumference(std::int32_t op, double v) {
    setSpreadFrom(spreadForCircumference(op, v, state.measurement, selectedScale(),
                                         circumferenceCoefficients(options.shape, options.scribe),
                                         decimalSeparator));
}

void CompassModel::setFromArea(std::int32_t op, double v) {
    setSpreadFrom(spreadForArea(op, v, state.measurement, selectedScale(),
                                areaCoefficients(options.shape, options.scribe), decimalSeparator));
}

long double CompassModel::number(const QString& text) const {
    return toFloat(text, decimalSeparator);
}

void CompassModel::keyPress(QChar c) {
    // Raised first: it holds also when applying the entry fails.
    state.needsRepaint = true;
    if (c == QChar(kEnterKey)) {
        if (state.typing)
            applyEntry();
        return;
    }
    const TypedEntry next = stepEntry(TypedEntry{state.displayText, state.typing}, c);
    state.displayText = next.text;
    state.typing = next.typing;
}

void CompassModel::applyEntry() {
    const auto command = parseEntry(state.displayText);
    if (!command)
        return; // a lone operator: the user is still typing
    const MeasureKind kind = options.measureType;
    if (kind == MeasureKind::Radius || kind == MeasureKind::Diameter) {
        applyRadius(*command, kind == MeasureKind::Diameter ? 2 : 1);
        return;
    }
    if (kind == MeasureKind::Angle) {
        applyAngle(*command);
        return;
    }
    const long double v = number(command->operand);
    if (command->op == OpDivide && !(v > 0)) {
        state.changeMeasurement(0); // nothing to divide by: only typing ends
        return;
    }
    if (kind == MeasureKind::Circumference)
        setFromCircumference(command->op, static_cast<double>(v));
    else
        setFromArea(command->op, static_cast<double>(v));
}

void CompassModel::applyRadius(const EntryCommand& command, int spreadsPerValue) {
    const long double m = state.measurement;
    const auto spreadOf = [&] { return unitsToPixels(command.operand) / float(spreadsPerValue); };
    switch (command.op) {
    case OpSet:
        state.changeMeasurement(spreadOf() - state.measurement);
        return;
    case OpAdd:
        state.changeMeasurement(spreadOf());
        return;
    case OpSubtract:
        state.changeMeasurement(-spreadOf());
        return;
    case OpMultiply:
        state.changeMeasurement(static_cast<float>(m * number(command.operand) - m));
        return;
    case OpDivide: {
        const long double v = number(command.operand);
        state.changeMeasurement(v > 0 ? static_cast<float>(m / v - m) : 0.0f);
        return;
    }
    }
}

void CompassModel::applyAngle(const EntryCommand& command) {
    // The entry is a protractor reading, counter-clockwise from east; the
    // stored angle turns the other way.
    const long double shown = protractorAngle(state.displayAngle);
    const long double v = number(command.operand);
    long double reading = shown;
    switch (command.op) {
    case OpSet:
        reading = v;
        break;
    case OpAdd:
        reading = shown + v;
        break;
    case OpSubtract:
        reading = shown - v;
        break;
    case OpMultiply:
        reading = shown * v;
        break;
    case OpDivide:
        reading = v > 0 ? shown / v : shown;
        break;
    }
    state.typing = false;
    if (std::isfinite(reading))
        state.setAngle(static_cast<float>(-std::fmod(reading, 360.0L)));
    state.needsRepaint = true;
}

QString CompassModel::copyText() const {
    return state.displayText;
}

long double CompassModel::quantity(MeasureKind kind) const {
    Figure figure = currentFigure();
    figure.measureType = kind;
    return measuredValue(state.measurement, state.externalZoom, figure, selectedScale());
}

QString CompassModel::measurementLine() const {
    const int decimals = units.decimalNum(units.selectedUnit());
    const QString symbol = units.symbol(units.selectedUnit());
    const auto length = [&](MeasureKind kind, const QString& unit) {
        return formatReadoutValue(quantity(kind), decimals, decimalSeparator) + u' ' + unit;
    };
    //: Copy measurement: radius, diameter, circumference (a polygon's
    //: perimeter), area, each with its unit, then the beam's direction.
    return QCoreApplication::translate("CompassModel", "r %1 · d %2 · C %3 · A %4 · %5")
        .arg(length(MeasureKind::Radius, symbol), length(MeasureKind::Diameter, symbol),
             length(MeasureKind::Circumference, symbol),
             length(MeasureKind::Area, symbol + QChar(0x00B2)),
             formatAngle(protractorAngle(state.displayAngle), decimalSeparator));
}

QString CompassModel::measurementJson() const {
    const int decimals = units.decimalNum(units.selectedUnit());
    const auto shown = [&](MeasureKind kind) {
        return static_cast<double>(
            parseFloat(formatReadoutValue(quantity(kind), decimals, u'.'), u'.').value_or(0));
    };
    const QJsonObject object{
        {QStringLiteral("radius"), shown(MeasureKind::Radius)},
        {QStringLiteral("diameter"), shown(MeasureKind::Diameter)},
        {QStringLiteral("circumference"), shown(MeasureKind::Circumference)},
        {QStringLiteral("area"), shown(MeasureKind::Area)},
        {QStringLiteral("angle"), static_cast<double>(protractorAngle(state.displayAngle))},
        {QStringLiteral("unit"), units.symbol(units.selectedUnit())},
        {QStringLiteral("unitName"), units.displayName(units.selectedUnit())},
        {QStringLiteral("shape"), options.shape},
        {QStringLiteral("inscribed"), options.scribe == Inscription::Inscribed},
    };
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

bool CompassModel::paste(const QString& clipboardText) {
    const auto v = parseFloat(clipboardText, decimalSeparator);
    if (!v)
        return false;
    const QString text = formatGeneral(*v, decimalSeparator);
    float pixels = 0;
    try {
        pixels = unitsToPixels(text);
    } catch (const OrvantaError&) {
        return false; // pasting is silent: a number too large is ignored too
    }
    state.displayText = text;
    state.changeMeasurement(pixels - state.measurement);
    return true;
}

void CompassModel::selectUnit(std::int32_t index) {
    units.select(index);
    state.changeMeasurement(0);
}

void CompassModel::setStickyAngle(bool on) {
    orvanta::setStickyAngle(options, on);
}

void CompassModel::setLockAngle(bool on) {
    orvanta::setLockAngle(options, on);
}

void CompassModel::setLockMeasurement(bool on) {
    orvanta::setLockMeasurement(options, on);
}

} // namespace orvanta
