// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/platformchoice.h"

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

PlatformChoice choosePlatform(const PlatformEnvironment& environment) {
    if (environment.platformArgument)
        return {{}, QStringLiteral("the one given with -platform")};
    if (!environment.qpaPlatform.isEmpty())
        return {{}, environment.qpaPlatform + QStringLiteral(" (from QT_QPA_PLATFORM)")};
    // A compositor started from a console leaves XDG_SESSION_TYPE unset but
    // names its display: Qt would then pick its Wayland plugin where installed.
    if (!environment.waylandDisplay.isEmpty() ||
        environment.sessionType.compare(u"wayland", Qt::CaseInsensitive) == 0)
        return {QStringLiteral("xcb"), QStringLiteral("xcb (X11 through XWayland in a Wayland "
                                                      "session; QT_QPA_PLATFORM chooses another)")};
    return {{}, QStringLiteral("xcb (X11)")};
}

} // namespace orvanta
