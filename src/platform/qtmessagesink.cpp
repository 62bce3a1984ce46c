// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/qtmessagesink.h"

#include <QMessageBox>

namespace orvanta {

void QtMessageSink::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Orvanta"), text, QMessageBox::Ok,
                    m_parent);
    box.exec();
}

} // namespace orvanta
