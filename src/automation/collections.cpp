#include "automation/collections.h"

#include "app/mainwindow.h"

namespace orvanta {

namespace {

QString listIndexError(int index) {
    return QStringLiteral("List index out of bounds (%1)").arg(index);
}

// A skin list entry, or the error a bad index raises.
const QString& entryAt(const QStringList& list, int index) {
    if (index < 0 || index >= list.size())
        throw OrvantaError(listIndexError(index));
    return list[index];
}

} // namespace

// ---------------------------------------------------------------- units

TVelmoraCompassUnits::TVelmoraCompassUnits(TfrmMain& window, TClientSeen clientSeen)
    : TAutomationObject(std::move(clientSeen)), m_window(window) {}

int TVelmoraCompassUnits::UnitsCount() {
    return Member([&] { return int(m_window.Units().UnitsCount()); });
}

int TVelmoraCompassUnits::UnitsLockedCount() {
    return Member([&] { return int(m_window.Units().UnitsLockedCount()); });
}

int TVelmoraCompassUnits::SelectedUnit() {
    return Member([&] { return int(m_window.Units().SelectedUnit()); });
}

template <class Change> void TVelmoraCompassUnits::Put(int index, Change&& change) {
    Member([&] {
        if (index < 0)
            return;
        // Growing the list that far would take all memory; the list keeps
        // at most kMaxUnits units and would drop the value silently.
        if (index >= TMeasurements::kMaxUnits)
            throw OrvantaError(
                QStringLiteral("Unit index %1 is too large: the units list holds at most %2 units")
                    .arg(index)
                    .arg(TMeasurements::kMaxUnits));
        change(m_window.Units());
        m_window.Units().Save();
    });
}

QString TVelmoraCompassUnits::Names(int Index) {
    return Member([&] { return m_window.Units().Name(Index); });
}

void TVelmoraCompassUnits::SetNames(int Index, const QString& value) {
    Put(Index, [&](TMeasurements& units) { units.SetName(Index, value); });
}

double TVelmoraCompassUnits::PixelNums(int Index) {
    return Member([&] { return double(float(m_window.Units().PixelNum(Index))); });
}

void TVelmoraCompassUnits::SetPixelNums(int Index, double value) {
    Put(Index,
        [&](TMeasurements& units) { units.SetPixelNum(Index, finiteFloat(value, u"PixelNums")); });
}

double TVelmoraCompassUnits::UnitNums(int Index) {
    return Member([&] { return double(float(m_window.Units().UnitNum(Index))); });
}

void TVelmoraCompassUnits::SetUnitNums(int Index, double value) {
    Put(Index,
        [&](TMeasurements& units) { units.SetUnitNum(Index, finiteFloat(value, u"UnitNums")); });
}

int TVelmoraCompassUnits::DecimalNums(int Index) {
    return Member([&] { return int(m_window.Units().DecimalNum(Index)); });
}

void TVelmoraCompassUnits::SetDecimalNums(int Index, int value) {
    Put(Index, [&](TMeasurements& units) { units.SetDecimalNum(Index, value); });
}

void TVelmoraCompassUnits::Select(int Index) {
    Member([&] { m_window.Units().Select(Index); });
}

// ---------------------------------------------------------------- skins

TVelmoraCompassSkins::TVelmoraCompassSkins(TfrmMain& window, TClientSeen clientSeen)
    : TAutomationObject(std::move(clientSeen)), m_window(window) {}

int TVelmoraCompassSkins::SkinsCount() {
    return Member([&] { return int(m_window.Skins().Names.size()); });
}

int TVelmoraCompassSkins::SelectedSkin() {
    return Member([&] { return int(m_window.Skins().SelectedIndex); });
}

QString TVelmoraCompassSkins::SkinFolder() {
    return Member([&] { return m_window.Skins().Folder; });
}

QString TVelmoraCompassSkins::Names(int Index) {
    return Member([&] { return entryAt(m_window.Skins().Names, Index); });
}

QString TVelmoraCompassSkins::Paths(int Index) {
    return Member([&] { return entryAt(m_window.Skins().Paths, Index); });
}

void TVelmoraCompassSkins::Select(int Index) {
    Member([&] {
        // An index past the end selects nothing, as in the menu; a negative
        // one would leave the list pointing at no entry.
        if (Index < 0)
            throw OrvantaError(listIndexError(Index));
        m_window.SelectSkin(Index);
    });
}

} // namespace orvanta
