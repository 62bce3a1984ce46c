// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/shell.h"

#include "model/messages.h"
#include "platform/logging.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace orvanta {

bool DesktopShell::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

bool DesktopShell::startProgram(const QString& path) {
    return QProcess::startDetached(path, {});
}

bool LinkReportingShell::openUrl(const QString& url) {
    if (m_shell.openUrl(url))
        return true;
    qCWarning(lcPlatform, "no program opened %s", qPrintable(url));
    m_messages.showMessage(notOpenedText(url));
    return false;
}

QString LinkReportingShell::notOpenedText(const QString& url) {
    return QCoreApplication::translate("Shell",
                                       "No program on this computer opens this address. You can "
                                       "copy it from here:\n\n%1")
        .arg(url);
}

} // namespace orvanta
