// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The part of the main window that is not widgets: the compass state with the
// options and units it reads, the readout, shape and measure-type choices,
// typed entry and the clipboard texts. The window, the keyboard handler and
// automation call in here and then redraw when state.needsRepaint is set.

#include "model/compassstate.h"
#include "model/measurement.h"
#include "model/monitorscale.h"
#include "model/settings.h"
#include "model/typedentry.h"
#include "model/unittable.h"

#include <QChar>
#include <QString>
#include <cstdint>

namespace orvanta {

class CompassModel {
public:
    CompassModel(Settings& options, UnitTable& units,
                 QChar decimalSeparator = systemDecimalSeparator());

    // Start-up placement and limits (see CompassState::Initialise).
    void initialise(const DesktopGeometry& desktop);

    // The readout of the current figure in the selected unit.
    [[nodiscard]] QString formatMeasurement() const;
    // The per-render readout steps: displayValue always, displayText unless the
    // user is typing. Returns whether the text was refreshed: only then do the
    // window title and the tray's tool tip follow it.
    bool updateReadout();
    // "Compass", the readout and the unit's name, in the user's language.
    [[nodiscard]] QString titleText() const;

    // The selected unit's ratio on the monitor under the pivot: a physical
    // unit converts with that monitor's density along the beam.
    [[nodiscard]] UnitScale selectedScale() const;

    // Conversions in the selected unit (see units.h); they throw OrvantaError.
    [[nodiscard]] float unitsToPixels(const QString& text) const;
    [[nodiscard]] std::int32_t unitsToWholePixels(double v) const;

    // Shape and polygon mode: saved at once; a shown perimeter or area is kept
    // (to the shown decimals) by moving the spread.
    void setShape(std::int32_t n);
    void setScribe(bool inscribed);
    // A MeasureKind by its stored number; other values are ignored. Not saved here.
    void setMeasureType(std::int32_t type);

    // Typed perimeter or area (op: OpSet .. OpDivide). Errors leave the spread
    // as it was; either way typing ends.
    void setFromCircumference(std::int32_t op, double v);
    void setFromArea(std::int32_t op, double v);

    // One character of typed entry. Enter applies the entry; an entry that is
    // not a number throws OrvantaError("'%s' is not a valid floating point
    // value") and typing goes on.
    void keyPress(QChar c);
    // What Ctrl+C puts on the clipboard.
    [[nodiscard]] QString copyText() const;
    // Copy measurement (Ctrl+Shift+C): every quantity of the figure on one
    // line in the user's language and the selected unit,
    // "r 3.97 cm · d 7.94 cm · C 24.94 cm · A 49.52 cm² · 30.0°".
    [[nodiscard]] QString measurementLine() const;
    // The same as a JSON object for scripts: the numbers as the line rounds
    // them, the unit's symbol and name, the shape and polygon mode.
    [[nodiscard]] QString measurementJson() const;
    // Ctrl+V: a number becomes the radius in the selected unit, whatever the
    // measure type; anything else is ignored. Returns whether it was taken.
    bool paste(const QString& clipboardText);

    // Chooses a unit (out-of-range indexes are ignored) and shows the
    // measurement in it, ending any typing.
    void selectUnit(std::int32_t index);

    // The menu toggles (each saves the options).
    void setStickyAngle(bool on);
    void setLockAngle(bool on);
    void setLockMeasurement(bool on);

    Settings& options;
    UnitTable& units;
    CompassState state;
    QChar decimalSeparator;
    // The monitor under the pivot; the controller keeps it current.
    MonitorScale monitor;

private:
    [[nodiscard]] Figure currentFigure() const;
    // One quantity of the current figure in the selected unit, whatever is shown.
    [[nodiscard]] long double quantity(MeasureKind kind) const;
    [[nodiscard]] long double number(const QString& text) const;
    void keepShownQuantity(const QString& shownBefore);
    void applyEntry();
    // A length entry: the radius, or with spreadsPerValue 2 the diameter.
    void applyRadius(const EntryCommand& command, int spreadsPerValue);
    void applyAngle(const EntryCommand& command);
    void setSpreadFrom(const std::optional<float>& spread);
};

} // namespace orvanta
