// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/automationserver.h"

#include "app/compasswindow.h"
#include "automation/compassobject.h"
#include "automation/propertiesadaptor.h"
#include "automation/registration.h"
#include "automation/skinsobject.h"
#include "automation/unitsobject.h"
#include "compassadaptor.h"
#include "compasseventsadaptor.h"
#include "connectionpointadaptor.h"
#include "skinsadaptor.h"
#include "unitsadaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace orvanta {

AutomationServer::AutomationServer(CompassWindow& window, QDBusConnection bus, bool startedByClient)
    : m_window(window), m_bus(std::move(bus)), m_startedByClient(startedByClient),
      m_watcher(QString(), m_bus, QDBusServiceWatcher::WatchForUnregistration) {
    const ClientSeen seen = [this](const QString& name) { clientSeen(name); };
    m_compass = std::make_unique<CompassObject>(window, m_bus, seen);
    new CompassAdaptor(m_compass.get());
    new CompassEventsAdaptor(m_compass.get());
    new ConnectionPointAdaptor(m_compass.get());
    new PropertiesAdaptor(m_compass.get());
    m_units = std::make_unique<UnitsObject>(window, seen);
    new UnitsAdaptor(m_units.get());
    new PropertiesAdaptor(m_units.get());
    m_skins = std::make_unique<SkinsObject>(window, seen);
    new SkinsAdaptor(m_skins.get());
    new PropertiesAdaptor(m_skins.get());
    connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, this,
            &AutomationServer::clientLeft);
}

AutomationServer::~AutomationServer() {
    if (!m_registered)
        return;
    m_bus.unregisterService(kAutomationService.toString());
    for (QStringView path : {kSkinsPath, kUnitsPath, kCompassPath})
        m_bus.unregisterObject(path.toString());
    // A round trip to the bus: the last replies and OnQuit, sent just before
    // the program ends, are out of the socket when the answer comes back.
    m_bus.call(QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
}

bool AutomationServer::start() {
    if (!m_bus.isConnected())
        return false;
    // Objects first, so that a client that sees the name finds them.
    m_registered =
        m_bus.registerObject(kCompassPath.toString(), m_compass.get(),
                             QDBusConnection::ExportAdaptors) &&
        m_bus.registerObject(kUnitsPath.toString(), m_units.get(),
                             QDBusConnection::ExportAdaptors) &&
        m_bus.registerObject(kSkinsPath.toString(), m_skins.get(), QDBusConnection::ExportAdaptors);
    if (!m_registered)
        return false;
    m_bus.interface()->registerService(kAutomationService.toString(),
                                       QDBusConnectionInterface::QueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
    return true;
}

void AutomationServer::clientSeen(const QString& uniqueName) {
    if (uniqueName.isEmpty() || m_clients.contains(uniqueName))
        return;
    m_clients.insert(uniqueName);
    m_watcher.addWatchedService(uniqueName);
    // A client that left before the watch began is never reported.
    if (!m_bus.interface()->isServiceRegistered(uniqueName))
        clientLeft(uniqueName);
}

void AutomationServer::clientLeft(const QString& uniqueName) {
    if (!m_clients.remove(uniqueName))
        return;
    m_watcher.removeWatchedService(uniqueName);
    m_compass->clientLeft(uniqueName);
    if (m_startedByClient && m_clients.isEmpty())
        m_window.closeCompass();
}

} // namespace orvanta
