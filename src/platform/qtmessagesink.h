// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Messages from the core shown the way the desktop shows them: a message box
// with the application's title and an OK button.

#include "model/messages.h"

#include <QPointer>
#include <QWidget>

namespace orvanta {

class QtMessageSink : public MessageSink {
public:
    // `parent` (may be null) centres the box over that window.
    explicit QtMessageSink(QWidget* parent = nullptr) : m_parent(parent) {}

    // Waits until the user closes the box.
    void showMessage(const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace orvanta
