// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Collects the warnings the program logs while it lives, so that a test can
// check what a failure the user is not shown leaves behind.

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace orvanta::test {

class LogCapture {
public:
    LogCapture() : m_previous(qInstallMessageHandler(&LogCapture::handle)) { active() = this; }
    ~LogCapture() {
        qInstallMessageHandler(m_previous);
        active() = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // "category: message" for each warning or worse, in order.
    QStringList lines;

private:
    static LogCapture*& active() {
        static LogCapture* capture = nullptr;
        return capture;
    }
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type != QtWarningMsg && type != QtCriticalMsg)
            return;
        if (LogCapture* capture = active())
            capture->lines << QString::fromUtf8(context.category) + QStringLiteral(": ") + message;
    }

    QtMessageHandler m_previous;
};

} // namespace orvanta::test
