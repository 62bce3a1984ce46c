// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The installed skins at /VelmoraCompass/Skins (Compass.IVelmoraCompassSkins).

#include "automation/automationobject.h"

namespace orvanta {

class CompassController;

class SkinsObject : public AutomationObject {
    Q_OBJECT
    Q_PROPERTY(int SkinsCount READ skinsCount)
    Q_PROPERTY(int SelectedSkin READ selectedSkin)
    Q_PROPERTY(QString SkinFolder READ skinFolder)

public:
    SkinsObject(CompassController& controller, ClientSeen clientSeen);

    [[nodiscard]] int skinsCount();
    [[nodiscard]] int selectedSkin();
    [[nodiscard]] QString skinFolder();

public Q_SLOTS:
    // Entry 0 is the default skin; outside the list: "List index out of
    // bounds (Index)".
    QString Names(int index);
    QString Paths(int index);
    // As the skins menu, except that its check mark does not move.
    void Select(int index);

private:
    CompassController& m_controller;
};

} // namespace orvanta
