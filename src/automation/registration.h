// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// How automation clients find the program: the well-known bus name, the
// command-line switches a client start carries, and the D-Bus activation file
// that lets the bus start the program when a client asks for the name.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace orvanta {

// The class's programmatic identifier, used as the well-known bus name.
inline constexpr QStringView kAutomationService = u"Compass.VelmoraCompass";

enum class RegistrationSwitch { None, Register, Unregister };

struct AutomationSwitches {
    // "AUTOMATION" or "EMBEDDING": a client started us, so the program ends
    // when the last client that used the object model has left the bus.
    bool startedByClient = false;
    // "REGSERVER" or "UNREGSERVER", whichever comes first: do it and end.
    RegistrationSwitch registration = RegistrationSwitch::None;
};

// A switch is the whole argument: "/" or "-" and the name in any case.
[[nodiscard]] bool isAutomationSwitch(QStringView argument, QStringView name);
// Every argument is looked at, argument 0 (the program's path) included.
[[nodiscard]] AutomationSwitches scanAutomationSwitches(const QStringList& arguments);

// $XDG_DATA_HOME (default ~/.local/share) + "/dbus-1/services", where the
// session bus looks for the activation files of the user's own services.
[[nodiscard]] QString userServicesFolder();
[[nodiscard]] QString serviceFilePath();
// The activation file: the bus name and the command that serves it.
[[nodiscard]] QString serviceFileText(const QString& programFile);
// One argument of an Exec line, quoted the way the bus splits it again.
[[nodiscard]] QString quoteExecArgument(const QString& argument);

// Writes the activation file for `programFile`, creating the folders. Throws
// OrvantaError naming the file when it cannot be written.
void registerServer(const QString& programFile);
// Removes the activation file if there is one. Throws OrvantaError naming the
// file when it exists and cannot be removed.
void unregisterServer();

} // namespace orvanta
