// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// How the core tells the user about a problem without knowing about widgets:
// the program shows a message box, tests record the texts, the headless render
// command prints them on standard error.

#include <QString>

namespace orvanta {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A message box with an OK button and the application's title.
    virtual void showMessage(const QString& text) = 0;
};

} // namespace orvanta
