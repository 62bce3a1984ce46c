// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The units of measure at /VelmoraCompass/Units (Compass.IVelmoraCompassUnits).
// An indexed member is a method taking Index; where it can be set, "Set" + its
// name takes the value.

#include "automation/automationobject.h"

namespace orvanta {

class CompassController;

class UnitsObject : public AutomationObject {
    Q_OBJECT
    Q_PROPERTY(int UnitsCount READ unitsCount)
    Q_PROPERTY(int UnitsLockedCount READ unitsLockedCount)
    Q_PROPERTY(int SelectedUnit READ selectedUnit)

public:
    UnitsObject(CompassController& controller, ClientSeen clientSeen);

    [[nodiscard]] int unitsCount();
    [[nodiscard]] int unitsLockedCount();
    [[nodiscard]] int selectedUnit();

public Q_SLOTS:
    // Beyond the list (or below 0) the gets read "" or 0. The sets change the
    // list directly, growing it to reach Index, and save the units; they
    // neither rebuild the units menu nor redraw. Below 0 they are ignored.
    QString Names(int index);
    void SetNames(int index, const QString& value);
    double PixelNums(int index);
    void SetPixelNums(int index, double value);
    double UnitNums(int index);
    void SetUnitNums(int index, double value);
    int DecimalNums(int index);
    void SetDecimalNums(int index, int value);
    // Chooses the unit the readout uses from the next redraw on.
    void Select(int index);

private:
    // Runs a set at Index: nothing below 0, an error (and no change) for an
    // index the list could never grow to, else the change and a save.
    template <class Change> void put(int index, Change&& change);

    CompassController& m_controller;
};

} // namespace orvanta
