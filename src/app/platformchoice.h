// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Which Qt platform the program runs on. Native Wayland has no stay-on-top, no
// global window positions and no input shapes of X11, so in a Wayland session
// the program goes through XWayland: xcb, unless the user chose a platform.

#include <QString>
#include <QStringList>

namespace orvanta {

// What the choice depends on.
struct PlatformEnvironment {
    QString qpaPlatform;           // QT_QPA_PLATFORM
    QString waylandDisplay;        // WAYLAND_DISPLAY
    QString sessionType;           // XDG_SESSION_TYPE
    bool platformArgument = false; // -platform NAME on the command line

    // This process's environment and `arguments` (argv, the program first).
    [[nodiscard]] static PlatformEnvironment current(const QStringList& arguments);
};

struct PlatformChoice {
    // The platform to set before the application object exists; empty when
    // Qt is to choose (or the user has).
    QString forced;
    // For --help and the log: what runs and why.
    QString description;
};

[[nodiscard]] PlatformChoice choosePlatform(const PlatformEnvironment& environment);

} // namespace orvanta
