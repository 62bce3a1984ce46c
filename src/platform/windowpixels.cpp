// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/windowpixels.h"

#include "platform/logging.h"
#include "platform/xcbsupport.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcbext.h>

namespace orvanta {

namespace {

constexpr int kIdleReleaseMs = 3000;

} // namespace

void copyRows(const QImage& image, const QRegion& region, uchar* to, qsizetype stride,
              QPoint offset) {
    for (const QRect& r : region)
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(to + (y + offset.y()) * stride + (r.left() + offset.x()) * 4,
                        image.constScanLine(y) + r.left() * 4, std::size_t(r.width()) * 4);
}

X11WindowPixels::X11WindowPixels() {
    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleReleaseMs);
    QObject::connect(&m_idle, &QTimer::timeout, [this] { release(); });
    xcb_connection_t* c = x11Connection();
    if (!c)
        return;
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(c, &xcb_shm_id);
    m_usable = shm && shm->present;
    if (!m_usable)
        qCInfo(lcX11, "No MIT-SHM on this display: frames are put through Qt");
}

X11WindowPixels::~X11WindowPixels() {
    if (xcb_connection_t* c = x11Connection(); c && m_gc)
        xcb_free_gc(c, m_gc);
    release();
}

bool X11WindowPixels::put(WId window, const QImage& image, const QRegion& region) {
    xcb_connection_t* c = x11Connection();
    if (!m_usable || !c || !window || image.format() != QImage::Format_ARGB32_Premultiplied ||
        image.width() > std::numeric_limits<std::int16_t>::max() ||
        image.height() > std::numeric_limits<std::int16_t>::max())
        return false;
    if (!prepareWindow(window) || !reserve(std::size_t(image.sizeInBytes())))
        return false;
    waitForServer();
    const QRegion inside = region & image.rect();
    copyRows(image, inside, m_memory, image.bytesPerLine());
    for (const QRect& r : inside)
        xcb_shm_put_image(c, xcb_drawable_t(window), m_gc, std::uint16_t(image.width()),
                          std::uint16_t(image.height()), std::uint16_t(r.x()), std::uint16_t(r.y()),
                          std::uint16_t(r.width()), std::uint16_t(r.height()), std::int16_t(r.x()),
                          std::int16_t(r.y()), m_depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, m_segment, 0);
    m_fence = xcb_get_input_focus(c).sequence;
    xcb_flush(c);
    m_idle.start();
    return true;
}

// The segment is free to write into once the server has handled the last
// frame's puts: the fence's reply has come (Qt's reader has taken it off the
// socket by now, or this reads it), or else it is waited for.
void X11WindowPixels::waitForServer() {
    xcb_connection_t* c = x11Connection();
    if (!m_fence || !c)
        return;
    void* reply = nullptr;
    xcb_generic_error_t* error = nullptr;
    if (!xcb_poll_for_reply(c, m_fence, &reply, &error))
        reply = xcb_wait_for_reply(c, m_fence, &error);
    std::free(reply);
    std::free(error);
    m_fence = 0;
}

// A graphics context for the window, made once per native window.
bool X11WindowPixels::prepareWindow(WId window) {
    if (window == m_window)
        return m_depth != 0;
    xcb_connection_t* c = x11Connection();
    const auto geometry =
        owned(xcb_get_geometry_reply(c, xcb_get_geometry(c, xcb_drawable_t(window)), nullptr));
    if (!geometry) {
        qCWarning(lcX11, "Cannot ask the X server for the depth of window 0x%llx",
                  static_cast<unsigned long long>(window));
        return false;
    }
    if (m_gc)
        xcb_free_gc(c, m_gc);
    m_window = window;
    m_depth = 0;
    m_gc = xcb_generate_id(c);
    xcb_create_gc(c, m_gc, xcb_drawable_t(window), 0, nullptr);
    if (!keepsPixelsAsWeDo(c, geometry->depth)) {
        qCInfo(lcX11, "The display keeps depth-%d pixels in another layout: frames go through Qt",
               int(geometry->depth));
        return false;
    }
    m_depth = geometry->depth;
    return true;
}

bool X11WindowPixels::reserve(std::size_t bytes) {
    if (bytes <= m_size)
        return true;
    release();
    const std::optional<SharedSegment> segment =
        attachSharedSegment(x11Connection(), bytes, true, "for the window");
    if (!segment) {
        m_usable = false;
        return false;
    }
    m_segment = segment->id;
    m_memory = segment->memory;
    m_size = segment->size;
    return true;
}

void X11WindowPixels::release() {
    if (!m_memory)
        return;
    if (xcb_connection_t* c = x11Connection()) {
        xcb_shm_detach(c, m_segment);
        // The server may still be reading the last frame from it.
        m_fence = xcb_get_input_focus(c).sequence;
        waitForServer();
    }
    shmdt(m_memory);
    m_memory = nullptr;
    m_size = 0;
    m_segment = 0;
}

} // namespace orvanta
