// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/skinsobject.h"

#include "control/compasscontroller.h"

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

SkinsObject::SkinsObject(CompassController& controller, ClientSeen clientSeen)
    : AutomationObject(std::move(clientSeen)), m_controller(controller) {}

int SkinsObject::skinsCount() {
    return member([&] { return int(m_controller.skins().names.size()); });
}

int SkinsObject::selectedSkin() {
    return member([&] { return int(m_controller.skins().selectedIndex); });
}

QString SkinsObject::skinFolder() {
    return member([&] { return m_controller.skins().folder; });
}

QString SkinsObject::Names(int index) {
    return member([&] { return entryAt(m_controller.skins().names, index); });
}

QString SkinsObject::Paths(int index) {
    return member([&] { return entryAt(m_controller.skins().paths, index); });
}

void SkinsObject::Select(int index) {
    member([&] {
        // An index past the end selects nothing, as in the menu; a negative
        // one would leave the list pointing at no entry.
        if (index < 0)
            throw OrvantaError(listIndexError(index));
        m_controller.selectSkin(index);
    });
}

} // namespace orvanta
