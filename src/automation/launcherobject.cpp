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
    // The starter reads English; the user reads the box in the language chosen.
    const auto fail = [this](const QString& text, const QString& userText) {
        if (calledFromDBus())
            sendErrorReply(kFailedError.toString(), text);
        // The box waits for the user; the starter is answered first.
        QTimer::singleShot(0, this, [this, userText] { m_messages.showMessage(userText); });
        return QStringList();
    };
    try {
        return m_controller.installPackages(packages);
    } catch (const OrvantaError& e) {
        return fail(e.message(), e.userMessage());
    } catch (const std::exception& e) {
        const QString text = QString::fromLocal8Bit(e.what());
        return fail(text, text);
    }
}

} // namespace orvanta
