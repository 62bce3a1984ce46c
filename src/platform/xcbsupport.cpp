// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/xcbsupport.h"

#include "platform/logging.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cerrno>
#include <cstring>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

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

std::optional<SharedSegment> attachSharedSegment(xcb_connection_t* c, std::size_t bytes,
                                                 bool readOnly, const char* purpose) {
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) {
        qCWarning(lcX11, "Cannot make a shared segment of %zu bytes %s: %s", bytes, purpose,
                  std::strerror(errno));
        return std::nullopt;
    }
    void* memory = shmat(id, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        qCWarning(lcX11, "Cannot map the shared segment %s: %s", purpose, std::strerror(errno));
        shmctl(id, IPC_RMID, nullptr);
        return std::nullopt;
    }
    const std::uint32_t segment = xcb_generate_id(c);
    const QByteArray what = QByteArray("the shared segment ") + purpose + " (MIT-SHM attach)";
    const bool refusedAttach = refused(
        xcb_request_check(c, xcb_shm_attach_checked(c, segment, std::uint32_t(id), readOnly)),
        what.constData());
    // Both sides hold it now (or we alone): the system frees it once all have
    // let go, even if this process ends without doing so.
    shmctl(id, IPC_RMID, nullptr);
    if (refusedAttach) {
        shmdt(memory);
        return std::nullopt;
    }
    return SharedSegment{segment, static_cast<uchar*>(memory), bytes};
}

} // namespace orvanta
