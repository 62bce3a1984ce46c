// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Puts the automation model on the session bus: registers the three objects,
// then asks for the well-known name, queueing behind a running instance so
// that this one takes over when that one ends. Keeps the clients that called a
// member, frees the events sink when its client leaves, and, in a program
// started by a client, closes the window when the last client has left.
// Announces changed properties to every listener, at most once per frame.

#include "automation/propertywatch.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QSet>
#include <memory>
#include <vector>

namespace orvanta {

class CompassController;
class CompassObject;
class LauncherObject;
class MessageSink;
class SkinsObject;
class UnitsObject;

class AutomationServer : public QObject {
    Q_OBJECT

public:
    AutomationServer(CompassController& controller, MessageSink& messages, QDBusConnection bus,
                     bool startedByClient);
    ~AutomationServer() override;

    // False when there is no bus or the objects could not be registered; the
    // compass then runs without automation.
    [[nodiscard]] bool start();

private:
    void clientSeen(const QString& uniqueName);
    void clientLeft(const QString& uniqueName);
    // Property changes go out once the current burst of work is done.
    void scheduleAnnouncement();
    void announceChanges();

    CompassController& m_controller;
    QDBusConnection m_bus;
    bool m_startedByClient;
    bool m_registered = false;
    std::unique_ptr<CompassObject> m_compass;
    std::unique_ptr<UnitsObject> m_units;
    std::unique_ptr<SkinsObject> m_skins;
    std::unique_ptr<LauncherObject> m_launcher;
    std::vector<PropertyWatch> m_watches;
    bool m_announcementDue = false;
    QDBusServiceWatcher m_watcher;
    QSet<QString> m_clients;
};

} // namespace orvanta
