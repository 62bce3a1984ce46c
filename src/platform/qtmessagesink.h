// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Messages from the core shown the way the desktop shows them: a message box
// with the application's title and an OK button, above the compass (see
// abovecompass.h), its text selectable so that a name or an address in it can
// be copied.

#include "model/messages.h"

#include <QPointer>
#include <QWidget>

namespace orvanta {

class QtMessageSink : public MessageSink {
public:
    // `compass` (may be null until it exists) is the window the boxes stay above.
    explicit QtMessageSink(QWidget* compass = nullptr) : m_compass(compass) {}
    void setCompass(QWidget* compass) { m_compass = compass; }

    // Waits until the user closes the box.
    void showMessage(const QString& text) override;

private:
    QPointer<QWidget> m_compass;
};

} // namespace orvanta
