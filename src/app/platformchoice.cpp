// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/platformchoice.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace orvanta {

PlatformEnvironment PlatformEnvironment::current(const QStringList& arguments) {
    PlatformEnvironment e;
    e.qpaPlatform = qEnvironmentVariable("QT_QPA_PLATFORM");
    e.waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    e.sessionType = qEnvironmentVariable("XDG_SESSION_TYPE");
    // Qt takes "-platform NAME" and "--platform NAME" alike.
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i)
        if (arguments[i] == u"-platform" || arguments[i] == u"--platform")
            e.platformArgument = true;
    return e;
}

// The descriptions are in the user's language: --help shows them.
PlatformChoice choosePlatform(const PlatformEnvironment& environment) {
    if (environment.platformArgument)
        return {{}, QCoreApplication::translate("PlatformChoice", "the one given with -platform")};
    if (!environment.qpaPlatform.isEmpty())
        return {{},
                QCoreApplication::translate("PlatformChoice", "%1 (from QT_QPA_PLATFORM)")
                    .arg(environment.qpaPlatform)};
    // A compositor started from a console leaves XDG_SESSION_TYPE unset but
    // names its display: Qt would then pick its Wayland plugin where installed.
    if (!environment.waylandDisplay.isEmpty() ||
        environment.sessionType.compare(u"wayland", Qt::CaseInsensitive) == 0)
        return {QStringLiteral("xcb"),
                QCoreApplication::translate("PlatformChoice",
                                            "xcb (X11 through XWayland in a Wayland session; "
                                            "QT_QPA_PLATFORM chooses another)")};
    return {{}, QCoreApplication::translate("PlatformChoice", "xcb (X11)")};
}

} // namespace orvanta
