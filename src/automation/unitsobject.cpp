// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/unitsobject.h"

#include "control/compasscontroller.h"
#include "model/values.h"

namespace orvanta {

UnitsObject::UnitsObject(CompassController& controller, ClientSeen clientSeen)
    : AutomationObject(std::move(clientSeen)), m_controller(controller) {}

int UnitsObject::unitsCount() {
    return member([&] { return int(m_controller.units().unitsCount()); });
}

int UnitsObject::unitsLockedCount() {
    return member([&] { return int(m_controller.units().unitsLockedCount()); });
}

int UnitsObject::selectedUnit() {
    return member([&] { return int(m_controller.units().selectedUnit()); });
}

template <class Change> void UnitsObject::put(int index, Change&& change) {
    member([&] {
        if (index < 0)
            return;
        // Growing the list that far would take all memory; the list keeps
        // at most kMaxUnits units and would drop the value silently.
        if (index >= UnitTable::kMaxUnits)
            throw OrvantaError(
                QStringLiteral("Unit index %1 is too large: the units list holds at most %2 units")
                    .arg(index)
                    .arg(UnitTable::kMaxUnits));
        m_controller.changeUnit(change);
    });
}

QString UnitsObject::Names(int index) {
    return member([&] { return m_controller.units().name(index); });
}

void UnitsObject::SetNames(int index, const QString& value) {
    put(index, [&](UnitTable& units) { units.setName(index, value); });
}

double UnitsObject::PixelNums(int index) {
    return member([&] { return double(float(m_controller.units().pixelNum(index))); });
}

void UnitsObject::SetPixelNums(int index, double value) {
    put(index,
        [&](UnitTable& units) { units.setPixelNum(index, finiteFloat(value, u"PixelNums")); });
}

double UnitsObject::UnitNums(int index) {
    return member([&] { return double(float(m_controller.units().unitNum(index))); });
}

void UnitsObject::SetUnitNums(int index, double value) {
    put(index, [&](UnitTable& units) { units.setUnitNum(index, finiteFloat(value, u"UnitNums")); });
}

int UnitsObject::DecimalNums(int index) {
    return member([&] { return int(m_controller.units().decimalNum(index)); });
}

void UnitsObject::SetDecimalNums(int index, int value) {
    put(index, [&](UnitTable& units) { units.setDecimalNum(index, value); });
}

void UnitsObject::Select(int index) {
    member([&] { m_controller.editableUnits().select(index); });
}

} // namespace orvanta
