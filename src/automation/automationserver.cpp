// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/automationserver.h"

#include "automation/compassobject.h"
#include "automation/launcherobject.h"
#include "automation/propertiesadaptor.h"
#include "automation/registration.h"
#include "automation/skinsobject.h"
#include "automation/unitsobject.h"
#include "compassadaptor.h"
#include "compasseventsadaptor.h"
#include "connectionpointadaptor.h"
#include "control/compasscontroller.h"
#include "launcheradaptor.h"
#include "skinsadaptor.h"
#include "unitsadaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

namespace orvanta {

AutomationServer::AutomationServer(CompassController& controller, MessageSink& messages,
                                   QDBusConnection bus, bool startedByClient)
    : m_controller(controller), m_bus(std::move(bus)), m_startedByClient(startedByClient),
      m_watcher(QString(), m_bus, QDBusServiceWatcher::WatchForUnregistration) {
    const ClientSeen seen = [this](const QString& name) { clientSeen(name); };
    m_compass = std::make_unique<CompassObject>(controller, m_bus, seen);
    new CompassAdaptor(m_compass.get());
    new CompassEventsAdaptor(m_compass.get());
    new ConnectionPointAdaptor(m_compass.get());
    new PropertiesAdaptor(m_compass.get());
    m_units = std::make_unique<UnitsObject>(controller, seen);
    new UnitsAdaptor(m_units.get());
    new PropertiesAdaptor(m_units.get());
    m_skins = std::make_unique<SkinsObject>(controller, seen);
    new SkinsAdaptor(m_skins.get());
    new PropertiesAdaptor(m_skins.get());
    m_launcher = std::make_unique<LauncherObject>(controller, messages);
    new LauncherAdaptor(m_launcher.get());
    connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, this,
            &AutomationServer::clientLeft);
}

AutomationServer::~AutomationServer() {
    if (!m_registered)
        return;
    m_bus.unregisterService(kAutomationService.toString());
    for (QStringView path : {kLauncherPath, kSkinsPath, kUnitsPath, kCompassPath})
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
    m_registered = m_bus.registerObject(kCompassPath.toString(), m_compass.get(),
                                        QDBusConnection::ExportAdaptors) &&
                   m_bus.registerObject(kUnitsPath.toString(), m_units.get(),
                                        QDBusConnection::ExportAdaptors) &&
                   m_bus.registerObject(kSkinsPath.toString(), m_skins.get(),
                                        QDBusConnection::ExportAdaptors) &&
                   m_bus.registerObject(kLauncherPath.toString(), m_launcher.get(),
                                        QDBusConnection::ExportAdaptors);
    if (!m_registered)
        return false;
    m_watches.emplace_back(*m_compass, kCompassPath.toString(), kCompassInterface.toString());
    m_watches.emplace_back(*m_units, kUnitsPath.toString(), kUnitsInterface.toString());
    m_watches.emplace_back(*m_skins, kSkinsPath.toString(), kSkinsInterface.toString());
    for (auto signal : {&CompassController::updated, &CompassController::settingsChanged,
                        &CompassController::unitsChanged, &CompassController::skinsChanged})
        connect(&m_controller, signal, this, &AutomationServer::scheduleAnnouncement);
    m_bus.interface()->registerService(kAutomationService.toString(),
                                       QDBusConnectionInterface::QueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
    return true;
}

void AutomationServer::scheduleAnnouncement() {
    // A drag renders many frames and each frame changes many properties: one
    // look at all of them once the event loop is free again.
    if (m_announcementDue)
        return;
    m_announcementDue = true;
    QTimer::singleShot(0, this, &AutomationServer::announceChanges);
}

void AutomationServer::announceChanges() {
    m_announcementDue = false;
    for (PropertyWatch& watch : m_watches)
        watch.announce(m_bus);
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
        m_controller.closeCompass();
}

} // namespace orvanta
