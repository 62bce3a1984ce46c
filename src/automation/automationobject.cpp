// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/automationobject.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace orvanta {

AutomationObject::AutomationObject(ClientSeen clientSeen, QObject* parent)
    : QObject(parent), m_clientSeen(std::move(clientSeen)) {}

void AutomationObject::noteCaller() {
    if (calledFromDBus() && m_clientSeen)
        m_clientSeen(message().service());
}

void AutomationObject::sendError(QStringView name, const QString& text) {
    if (calledFromDBus())
        sendErrorReply(name.toString(), text);
}

} // namespace orvanta
