// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/xdgpaths.h"

#include <QDir>

namespace orvanta {

namespace {

QString baseDirectory(const QString& variable, const QString& home, const QString& fallback) {
    if (!variable.isEmpty() && QDir::isAbsolutePath(variable))
        return QDir::cleanPath(variable);
    return QDir::cleanPath(home + fallback);
}

} // namespace

QString xdgConfigHome(const QString& xdgConfigHomeVariable, const QString& home) {
    return baseDirectory(xdgConfigHomeVariable, home, QStringLiteral("/.config"));
}

QString xdgDataHome(const QString& xdgDataHomeVariable, const QString& home) {
    return baseDirectory(xdgDataHomeVariable, home, QStringLiteral("/.local/share"));
}

QString xdgConfigHome() {
    return xdgConfigHome(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
}

QString xdgDataHome() {
    return xdgDataHome(qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
}

} // namespace orvanta
