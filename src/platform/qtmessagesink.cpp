// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/qtmessagesink.h"

#include "platform/abovecompass.h"

#include <QMessageBox>

namespace orvanta {

void QtMessageSink::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Orvanta"), text, QMessageBox::Ok,
                    boxParent(m_compass));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    showAbove(&box);
    box.exec();
}

} // namespace orvanta
