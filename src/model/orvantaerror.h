#pragma once
// The one error type of the program. Its message is already the text the user
// or an automation client sees, so catchers pass it on unchanged.

#include <QString>
#include <stdexcept>

namespace orvanta {

class OrvantaError : public std::runtime_error {
public:
    explicit OrvantaError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    [[nodiscard]] const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace orvanta
