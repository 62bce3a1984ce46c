#pragma once
// The two collection objects of the automation model: the units of measure at
// /VelmoraCompass/Units (Compass.IVelmoraCompassUnits) and the installed skins
// at /VelmoraCompass/Skins (Compass.IVelmoraCompassSkins). An indexed member is
// a method taking Index; where it can be set, "Set" + its name takes the value.

#include "automation/automationobject.h"

namespace orvanta {

class TfrmMain;

class TVelmoraCompassUnits : public TAutomationObject {
    Q_OBJECT
    Q_PROPERTY(int UnitsCount READ UnitsCount)
    Q_PROPERTY(int UnitsLockedCount READ UnitsLockedCount)
    Q_PROPERTY(int SelectedUnit READ SelectedUnit)

public:
    TVelmoraCompassUnits(TfrmMain& window, TClientSeen clientSeen);

    [[nodiscard]] int UnitsCount();
    [[nodiscard]] int UnitsLockedCount();
    [[nodiscard]] int SelectedUnit();

public Q_SLOTS:
    // Beyond the list (or below 0) the gets read "" or 0. The sets change the
    // list directly, growing it to reach Index, and save the units; they
    // neither rebuild the units menu nor redraw. Below 0 they are ignored.
    QString Names(int Index);
    void SetNames(int Index, const QString& value);
    double PixelNums(int Index);
    void SetPixelNums(int Index, double value);
    double UnitNums(int Index);
    void SetUnitNums(int Index, double value);
    int DecimalNums(int Index);
    void SetDecimalNums(int Index, int value);
    // Chooses the unit the readout uses from the next redraw on.
    void Select(int Index);

private:
    // Runs a set at Index: nothing below 0, an error (and no change) for an
    // index the list could never grow to, else the change and a save.
    template <class Change> void Put(int index, Change&& change);

    TfrmMain& m_window;
};

class TVelmoraCompassSkins : public TAutomationObject {
    Q_OBJECT
    Q_PROPERTY(int SkinsCount READ SkinsCount)
    Q_PROPERTY(int SelectedSkin READ SelectedSkin)
    Q_PROPERTY(QString SkinFolder READ SkinFolder)

public:
    TVelmoraCompassSkins(TfrmMain& window, TClientSeen clientSeen);

    [[nodiscard]] int SkinsCount();
    [[nodiscard]] int SelectedSkin();
    [[nodiscard]] QString SkinFolder();

public Q_SLOTS:
    // Entry 0 is the default skin; outside the list: "List index out of
    // bounds (Index)".
    QString Names(int Index);
    QString Paths(int Index);
    // As the skins menu, except that its check mark does not move.
    void Select(int Index);

private:
    TfrmMain& m_window;
};

} // namespace orvanta
