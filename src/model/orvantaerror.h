// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The one error type of the program. It carries its message twice: in English
// for automation clients and logs, which must read the same in every language,
// and in the user's language for message boxes. A message nobody translates
// is the same text both ways.

#include <QString>
#include <stdexcept>

namespace orvanta {

class OrvantaError : public std::runtime_error {
public:
    explicit OrvantaError(const QString& message) : OrvantaError(message, message) {}
    OrvantaError(const QString& message, const QString& userMessage)
        : std::runtime_error(message.toStdString()), m_message(message),
          m_userMessage(userMessage) {}
    [[nodiscard]] const QString& message() const { return m_message; }
    [[nodiscard]] const QString& userMessage() const { return m_userMessage; }

private:
    QString m_message;
    QString m_userMessage;
};

} // namespace orvanta
