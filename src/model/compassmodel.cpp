#include "model/compassmodel.h"

#include "model/numbers.h"

#include <algorithm>
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

CompassModel::CompassModel(TDervikOptions& options_, TMeasurements& units_, QChar decimalSeparator_)
    : options(options_), units(units_), decimalSeparator(decimalSeparator_) {}

void CompassModel::Initialise(const DesktopGeometry& desktop) {
    state.Initialise(options, desktop);
}

Figure CompassModel::CurrentFigure() const {
    return Figure{options.Shape, options.Scribe, options.MeasureType};
}

QString CompassModel::FormatMeasurement() const {
    const long double value = MeasuredValue(state.FMeasurement, state.FExternalZoom,
                                            CurrentFigure(), units.SelectedScale());
    return FormatReadoutValue(value, units.DecimalNum(units.SelectedUnit()), decimalSeparator);
}

bool CompassModel::UpdateReadout() {
    const QString text = FormatMeasurement();
    state.FDisplayValue = displayValueOf(parseFloat(text, decimalSeparator).value_or(0));
    if (state.FTyping)
        return false;
    state.FDisplayText = text;
    return true;
}

QString CompassModel::TitleText() const {
    return QStringLiteral("圆规") + state.FDisplayText + u' ' + units.Name(units.SelectedUnit());
}

float CompassModel::UnitsToPixels(const QString& text) const {
    return orvanta::UnitsToPixels(text, units.SelectedScale(), state.FExternalZoom,
                                  decimalSeparator);
}

std::int32_t CompassModel::UnitsToWholePixels(double v) const {
    return orvanta::UnitsToWholePixels(v, units.SelectedScale(), decimalSeparator);
}

void CompassModel::SetShape(std::int32_t n) {
    const QString shown = FormatMeasurement();
    options.Shape = n;
    options.Save();
    KeepShownQuantity(shown);
}

void CompassModel::SetScribe(bool inscribed) {
    const QString shown = FormatMeasurement();
    options.Scribe = inscribed ? 1 : 0;
    options.Save();
    KeepShownQuantity(shown);
}

void CompassModel::KeepShownQuantity(const QString& shownBefore) {
    // A radius is the spread itself and needs nothing; a perimeter or an area
    // is entered again for the new figure, which moves the spread.
    if (const auto shown = parseFloat(shownBefore, decimalSeparator)) {
        switch (MeasureKindOf(options.MeasureType)) {
        case MeasureKind::Circumference:
            SetFromCircumference(OpSet, static_cast<double>(*shown));
            break;
        case MeasureKind::Area:
            SetFromArea(OpSet, static_cast<double>(*shown));
            break;
        case MeasureKind::Radius:
            break;
        }
    }
    state.FNeedsRepaint = true;
}

void CompassModel::SetMeasureType(std::int32_t type) {
    if (type < std::int32_t(MeasureKind::Radius) || type > std::int32_t(MeasureKind::Area))
        return;
    options.MeasureType = type;
    state.FNeedsRepaint = true;
}

void CompassModel::SetSpreadFrom(const std::optional<float>& spread) {
    if (spread)
        state.FMeasurement = *spread;
    state.FTyping = false;
    state.FNeedsRepaint = true;
}

void CompassModel::SetFromCircumference(std::int32_t op, double v) {
    SetSpreadFrom(SpreadForCircumference(op, v, state.FMeasurement, units.SelectedScale(),
                                         CircumferenceCoefficients(options.Shape, options.Scribe),
                                         decimalSeparator));
}

void CompassModel::SetFromArea(std::int32_t op, double v) {
    SetSpreadFrom(SpreadForArea(op, v, state.FMeasurement, units.SelectedScale(),
                                AreaCoefficients(options.Shape, options.Scribe), decimalSeparator));
}

long double CompassModel::Number(const QString& text) const {
    return toFloat(text, decimalSeparator);
}

void CompassModel::KeyPress(QChar c) {
    // Raised first: it holds also when applying the entry fails.
    state.FNeedsRepaint = true;
    if (c == QChar(kEnterKey)) {
        if (state.FTyping)
            ApplyEntry();
        return;
    }
    const TypedEntry next = StepEntry(TypedEntry{state.FDisplayText, state.FTyping}, c);
    state.FDisplayText = next.text;
    state.FTyping = next.typing;
}

void CompassModel::ApplyEntry() {
    const auto command = ParseEntry(state.FDisplayText);
    if (!command)
        return; // a lone operator: the user is still typing
    const MeasureKind kind = MeasureKindOf(options.MeasureType);
    if (kind == MeasureKind::Radius) {
        ApplyRadius(*command);
        return;
    }
    const long double v = Number(command->operand);
    if (command->op == OpDivide && !(v > 0)) {
        state.ChangeMeasurement(0); // nothing to divide by: only typing ends
        return;
    }
    if (kind == MeasureKind::Circumference)
        SetFromCircumference(command->op, static_cast<double>(v));
    else
        SetFromArea(command->op, static_cast<double>(v));
}

void CompassModel::ApplyRadius(const EntryCommand& command) {
    const long double m = state.FMeasurement;
    switch (command.op) {
    case OpSet:
        state.ChangeMeasurement(UnitsToPixels(command.operand) - state.FMeasurement);
        return;
    case OpAdd:
        state.ChangeMeasurement(UnitsToPixels(command.operand));
        return;
    case OpSubtract:
        state.ChangeMeasurement(-UnitsToPixels(command.operand));
        return;
    case OpMultiply:
        state.ChangeMeasurement(static_cast<float>(m * Number(command.operand) - m));
        return;
    case OpDivide: {
        const long double v = Number(command.operand);
        state.ChangeMeasurement(v > 0 ? static_cast<float>(m / v - m) : 0.0f);
        return;
    }
    }
}

QString CompassModel::CopyText() const {
    return state.FDisplayText;
}

bool CompassModel::Paste(const QString& clipboardText) {
    const auto v = parseFloat(clipboardText, decimalSeparator);
    if (!v)
        return false;
    const QString text = formatGeneral(*v, decimalSeparator);
    float pixels = 0;
    try {
        pixels = UnitsToPixels(text);
    } catch (const OrvantaError&) {
        return false; // pasting is silent: a number too large is ignored too
    }
    state.FDisplayText = text;
    state.ChangeMeasurement(pixels - state.FMeasurement);
    return true;
}

void CompassModel::SelectUnit(std::int32_t index) {
    units.Select(index);
    state.ChangeMeasurement(0);
}

void CompassModel::SetStickyAngle(bool on) {
    orvanta::SetStickyAngle(options, on);
}

void CompassModel::SetLockAngle(bool on) {
    orvanta::SetLockAngle(options, on);
}

void CompassModel::SetLockMeasurement(bool on) {
    orvanta::SetLockMeasurement(options, on);
}

} // namespace orvanta
