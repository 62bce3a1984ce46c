// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/xcbsupport.h"

#include "platform/logging.h"

#include <QGuiApplication>

namespace orvanta {

xcb_connection_t* x11Connection() {
    if (!qGuiApp)
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

bool refused(xcb_generic_error_t* error, const char* what) {
    if (!error)
        return false;
    qCWarning(lcX11, "The X server refused %s: error %d (request %d.%d)", what,
              int(error->error_code), int(error->major_code), int(error->minor_code));
    std::free(error);
    return true;
}

} // namespace orvanta
