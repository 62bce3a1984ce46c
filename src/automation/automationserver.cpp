#include "automation/automationserver.h"

#include "app/mainwindow.h"
#include "automation/collections.h"
#include "automation/propertiesadaptor.h"
#include "automation/registration.h"
#include "automation/velmoracompass.h"
#include "connectionpointadaptor.h"
#include "velmoracompassadaptor.h"
#include "velmoracompasseventsadaptor.h"
#include "velmoracompassskinsadaptor.h"
#include "velmoracompassunitsadaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace orvanta {

TAutomationServer::TAutomationServer(TfrmMain& window, QDBusConnection bus, bool startedByClient)
    : m_window(window), m_bus(std::move(bus)), m_startedByClient(startedByClient),
      m_watcher(QString(), m_bus, QDBusServiceWatcher::WatchForUnregistration) {
    const TClientSeen seen = [this](const QString& name) { ClientSeen(name); };
    m_compass = std::make_unique<TVelmoraCompass>(window, m_bus, seen);
    new TVelmoraCompassAdaptor(m_compass.get());
    new TVelmoraCompassEventsAdaptor(m_compass.get());
    new TConnectionPointAdaptor(m_compass.get());
    new TPropertiesAdaptor(m_compass.get());
    m_units = std::make_unique<TVelmoraCompassUnits>(window, seen);
    new TVelmoraCompassUnitsAdaptor(m_units.get());
    new TPropertiesAdaptor(m_units.get());
    m_skins = std::make_unique<TVelmoraCompassSkins>(window, seen);
    new TVelmoraCompassSkinsAdaptor(m_skins.get());
    new TPropertiesAdaptor(m_skins.get());
    connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, this,
            &TAutomationServer::ClientLeft);
}

TAutomationServer::~TAutomationServer() {
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

bool TAutomationServer::Start() {
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

void TAutomationServer::ClientSeen(const QString& uniqueName) {
    if (uniqueName.isEmpty() || m_clients.contains(uniqueName))
        return;
    m_clients.insert(uniqueName);
    m_watcher.addWatchedService(uniqueName);
    // A client that left before the watch began is never reported.
    if (!m_bus.interface()->isServiceRegistered(uniqueName))
        ClientLeft(uniqueName);
}

void TAutomationServer::ClientLeft(const QString& uniqueName) {
    if (!m_clients.remove(uniqueName))
        return;
    m_watcher.removeWatchedService(uniqueName);
    m_compass->ClientLeft(uniqueName);
    if (m_startedByClient && m_clients.isEmpty())
        m_window.Close();
}

} // namespace orvanta
