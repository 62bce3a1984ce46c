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

bool keepsPixelsAsWeDo(xcb_connection_t* c, std::uint8_t depth) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == depth)
            return it.data->bits_per_pixel == 32 && it.data->scanline_pad == 32;
    return false;
}

} // namespace orvanta
