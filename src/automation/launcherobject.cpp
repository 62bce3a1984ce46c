// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/launcherobject.h"

#include "automation/automationobject.h"
#include "control/compasscontroller.h"

#include <QTimer>

namespace orvanta {

LauncherObject::LauncherObject(CompassController& controller, MessageSink& messages)
    : m_controller(controller), m_messages(messages) {}

QStringList LauncherObject::InstallPackages(const QStringList& packages) {
    const auto fail = [this](const QString& text) {
        if (calledFromDBus())
            sendErrorReply(kFailedError.toString(), text);
        // The box waits for the user; the starter is answered first.
        QTimer::singleShot(0, this, [this, text] { m_messages.showMessage(text); });
        return QStringList();
    };
    try {
        return m_controller.installPackages(packages);
    } catch (const OrvantaError& e) {
        return fail(e.message());
    } catch (const std::exception& e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace orvanta
