// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/x11display.h"

#include <xcb/xcb.h>

namespace orvanta {

bool x11DisplayOpens(const QString& display) {
    const QByteArray name = display.toLocal8Bit();
    xcb_connection_t* connection =
        xcb_connect(name.isEmpty() ? nullptr : name.constData(), nullptr);
    const bool opens = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opens;
}

} // namespace orvanta
