// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/automationobject.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <cmath>
#include <limits>

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

float AutomationObject::finiteFloat(double value, QStringView member) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        throw OrvantaError(QStringLiteral("%1 must be a finite number within the range of a "
                                          "32-bit float, not %2")
                               .arg(member, QString::number(value)));
    return static_cast<float>(value);
}

} // namespace orvanta
