#pragma once
// The part of the main window that is not widgets: the compass state with the
// options and units it reads, the readout, shape and measure-type choices,
// typed entry and the clipboard texts. The window, the keyboard handler and
// automation call in here and then redraw when state.FNeedsRepaint is set.

#include "model/compass.h"
#include "model/measurement.h"
#include "model/options.h"
#include "model/typedentry.h"
#include "model/units.h"

#include <QChar>
#include <QString>
#include <cstdint>

namespace orvanta {

class CompassModel {
public:
    CompassModel(TDervikOptions& options, TMeasurements& units,
                 QChar decimalSeparator = systemDecimalSeparator());

    // Start-up placement and limits (see TCompass::Initialise).
    void Initialise(const DesktopGeometry& desktop);

    // The readout of the current figure in the selected unit.
    [[nodiscard]] QString FormatMeasurement() const;
    // The per-render readout steps: FDisplayValue always, FDisplayText unless the
    // user is typing. Returns whether the text was refreshed: only then do the
    // window title and the tray hint follow it.
    bool UpdateReadout();
    // "圆规" + readout + " " + unit name.
    [[nodiscard]] QString TitleText() const;

    // Conversions in the selected unit (see units.h); they throw OrvantaError.
    [[nodiscard]] float UnitsToPixels(const QString& text) const;
    [[nodiscard]] std::int32_t UnitsToWholePixels(double v) const;

    // Shape and polygon mode: saved at once; a shown perimeter or area is kept
    // (to the shown decimals) by moving the spread.
    void SetShape(std::int32_t n);
    void SetScribe(bool inscribed);
    // Radius, circumference or area; other values are ignored. Not saved here.
    void SetMeasureType(std::int32_t type);

    // Typed perimeter or area (op: OpSet .. OpDivide). Errors leave the spread
    // as it was; either way typing ends.
    void SetFromCircumference(std::int32_t op, double v);
    void SetFromArea(std::int32_t op, double v);

    // One character of typed entry. Enter applies the entry; an entry that is
    // not a number throws OrvantaError("'%s' is not a valid floating point
    // value") and typing goes on.
    void KeyPress(QChar c);
    // What Ctrl+C puts on the clipboard.
    [[nodiscard]] QString CopyText() const;
    // Ctrl+V: a number becomes the radius in the selected unit, whatever the
    // measure type; anything else is ignored. Returns whether it was taken.
    bool Paste(const QString& clipboardText);

    // Chooses a unit (out-of-range indexes are ignored) and shows the
    // measurement in it, ending any typing.
    void SelectUnit(std::int32_t index);

    // The menu toggles (each saves the options).
    void SetStickyAngle(bool on);
    void SetLockAngle(bool on);
    void SetLockMeasurement(bool on);

    TDervikOptions& options;
    TMeasurements& units;
    TCompass state;
    QChar decimalSeparator;

private:
    [[nodiscard]] Figure CurrentFigure() const;
    [[nodiscard]] long double Number(const QString& text) const;
    void KeepShownQuantity(const QString& shownBefore);
    void ApplyEntry();
    void ApplyRadius(const EntryCommand& command);
    void SetSpreadFrom(const std::optional<float>& spread);
};

} // namespace orvanta
