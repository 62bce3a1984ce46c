// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The running compass's side of a second start: a start that only names skin
// packages (opening one in the file manager) hands them over on the session
// bus at /Orvanta (Compass.IOrvantaLauncher) instead of showing a second
// compass. Not part of the automation object model: its callers are not
// counted as automation clients.

#include <QDBusContext>
#include <QObject>
#include <QStringList>

namespace orvanta {

class CompassController;
class MessageSink;

inline constexpr QStringView kLauncherPath = u"/Orvanta";
inline constexpr QStringView kLauncherInterface = u"Compass.IOrvantaLauncher";

class LauncherObject : public QObject, protected QDBusContext {
    Q_OBJECT

public:
    LauncherObject(CompassController& controller, MessageSink& messages);

public Q_SLOTS:
    // Installs as the start-up does; a failure is also shown to the user, as
    // it would have been by the start that handed it over.
    QStringList InstallPackages(const QStringList& packages);

private:
    CompassController& m_controller;
    MessageSink& m_messages;
};

} // namespace orvanta
