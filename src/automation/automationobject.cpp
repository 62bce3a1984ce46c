#include "automation/automationobject.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <cmath>
#include <limits>

namespace orvanta {

TAutomationObject::TAutomationObject(TClientSeen clientSeen, QObject* parent)
    : QObject(parent), m_clientSeen(std::move(clientSeen)) {}

void TAutomationObject::NoteCaller() {
    if (calledFromDBus() && m_clientSeen)
        m_clientSeen(message().service());
}

void TAutomationObject::SendError(QStringView name, const QString& text) {
    if (calledFromDBus())
        sendErrorReply(name.toString(), text);
}

float TAutomationObject::finiteFloat(double value, QStringView member) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        throw OrvantaError(QStringLiteral("%1 must be a finite number within the range of a "
                                          "32-bit float, not %2")
                               .arg(member, QString::number(value)));
    return static_cast<float>(value);
}

} // namespace orvanta
