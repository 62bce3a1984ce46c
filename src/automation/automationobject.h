// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What every object of the automation model shares: members run on the
// user-interface thread (QtDBus delivers calls there, between window events),
// an OrvantaError inside a member goes back to the client as
// Compass.Error.Failed with its message, and the caller is reported so that a
// program started by a client can end after the last one.

#include "model/numbers.h"

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <new>
#include <type_traits>

namespace orvanta {

// Error names clients see.
inline constexpr QStringView kFailedError = u"Compass.Error.Failed";
inline constexpr QStringView kCannotConnectError = u"Compass.Error.CannotConnect";
inline constexpr QStringView kNoConnectionError = u"Compass.Error.NoConnection";

// Told about every client that calls a member.
using ClientSeen = std::function<void(const QString& uniqueName)>;

// The registered object inherits QDBusContext, not its adaptors: Qt 6.4.2
// crashes in QDBusContext::message() when the adaptor carries it.
class AutomationObject : public QObject, protected QDBusContext {
    Q_OBJECT

public:
    explicit AutomationObject(ClientSeen clientSeen, QObject* parent = nullptr);

    // For the properties adaptor: reports the caller and answers with an
    // error instead of the normal reply.
    void noteCaller();
    void sendError(QStringView name, const QString& text);

protected:
    // Runs one member's body. On an OrvantaError the client gets the error and
    // the value returned here is never sent.
    template <class Body> auto member(Body&& body) -> std::invoke_result_t<Body> {
        using Result = std::invoke_result_t<Body>;
        noteCaller();
        try {
            return body();
        } catch (const OrvantaError& e) {
            sendError(kFailedError, e.message());
        } catch (const std::bad_alloc&) {
            sendError(kFailedError, QStringLiteral("Out of memory"));
        } catch (const std::exception& e) {
            sendError(kFailedError, QString::fromLocal8Bit(e.what()));
        }
        if constexpr (!std::is_void_v<Result>)
            return Result{};
    }

private:
    ClientSeen m_clientSeen;
};

} // namespace orvanta
