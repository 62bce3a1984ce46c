// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/screenpixels.h"

#include "platform/logging.h"
#include "platform/xcbsupport.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QPainter>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <tuple>
#include <utility>
#include <xcb/shm.h>

namespace orvanta {

namespace {

// From this many pixels on a read goes through shared memory: below it the
// segment's set-up costs more than the copies it saves.
constexpr qsizetype kSharedFromPixels = 256 * 256;

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kScreenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const char* const kAnsweredSlot = SLOT(answered(uint, QVariantMap));

QString text(const char* english) {
    return QCoreApplication::translate("ScreenPixels", english);
}

// Copies `rows` of 32-bit pixels, `width` each, into `image` at `at`, opaque.
void copyOpaque(const uchar* from, int width, int rows, QImage& image, QPoint at) {
    for (int y = 0; y < rows; ++y) {
        const auto* in = reinterpret_cast<const quint32*>(from) + qsizetype(y) * width;
        auto* out = reinterpret_cast<quint32*>(image.scanLine(at.y() + y)) + at.x();
        for (int x = 0; x < width; ++x)
            out[x] = in[x] | 0xff000000u;
    }
}

} // namespace

X11ScreenPixels::X11ScreenPixels(const QByteArray& display) {
    if (!display.isEmpty()) {
        m_own = xcb_connect(display.constData(), nullptr);
        if (xcb_connection_has_error(m_own)) {
            qCWarning(lcX11, "Cannot connect to X display %s to read the screen",
                      display.constData());
            xcb_disconnect(m_own);
            m_own = nullptr;
        }
    }
    if (xcb_connection_t* c = connection()) {
        const xcb_query_extension_reply_t* shm = xcb_get_extension_data(c, &xcb_shm_id);
        m_shm = shm && shm->present;
    }
}

X11ScreenPixels::~X11ScreenPixels() {
    std::ignore = collect();
    release();
    if (m_own)
        xcb_disconnect(m_own);
}

xcb_connection_t* X11ScreenPixels::connection() const {
    return m_own ? m_own : x11Connection();
}

void X11ScreenPixels::grab(const QRect& rect, Done done) {
    const QImage pixels = read(rect);
    done(pixels, pixels.isNull()
                     ? text(QT_TRANSLATE_NOOP("ScreenPixels",
                                              "The screen cannot be read here (see the log)."))
                     : QString());
}

// Pixels off the screen stay transparent: nothing is there to measure.
QImage X11ScreenPixels::read(const QRect& rect) {
    xcb_connection_t* c = connection();
    if (!c || rect.isEmpty()) {
        qCWarning(lcX11, "No X display to read the screen from");
        return {};
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!keepsPixelsAsWeDo(c, screen->root_depth)) {
        qCWarning(lcX11, "The screen keeps depth-%d pixels in a layout we do not read",
                  int(screen->root_depth));
        return {};
    }
    const QRect inside = rect & QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    QImage pixels(rect.size(), QImage::Format_ARGB32);
    pixels.fill(Qt::transparent);
    if (inside.isEmpty())
        return pixels;
    QImage part;
    if (m_shm && qsizetype(inside.width()) * inside.height() >= kSharedFromPixels)
        part = readShared(inside);
    if (part.isNull())
        part = readThroughSocket(inside);
    if (part.isNull())
        return {};
    QPainter p(&pixels);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(inside.topLeft() - rect.topLeft(), part);
    return pixels;
}

QImage X11ScreenPixels::readThroughSocket(const QRect& r) {
    xcb_connection_t* c = connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_generic_error_t* error = nullptr;
    const auto reply = owned(xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, std::int16_t(r.x()), std::int16_t(r.y()),
                      std::uint16_t(r.width()), std::uint16_t(r.height()), ~0u),
        &error));
    if (refused(error, "to read the screen (GetImage)") || !reply)
        return {};
    if (xcb_get_image_data_length(reply.get()) < r.width() * r.height() * 4)
        return {};
    QImage part(r.size(), QImage::Format_ARGB32);
    copyOpaque(xcb_get_image_data(reply.get()), r.width(), r.height(), part, {});
    return part;
}

QImage X11ScreenPixels::readShared(const QRect& r) {
    xcb_connection_t* c = connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::size_t bytes = std::size_t(r.width()) * std::size_t(r.height()) * 4;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) {
        qCWarning(lcX11, "Cannot make a shared segment of %zu bytes to read the screen: %s", bytes,
                  std::strerror(errno));
        return {};
    }
    void* memory = shmat(id, nullptr, 0);
    // Marked for removal at once: it goes when both we and the server let go.
    shmctl(id, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void*>(-1)) {
        qCWarning(lcX11, "Cannot map the shared segment to read the screen: %s",
                  std::strerror(errno));
        return {};
    }
    const xcb_shm_seg_t segment = xcb_generate_id(c);
    xcb_shm_attach(c, segment, std::uint32_t(id), 0);
    xcb_generic_error_t* error = nullptr;
    const auto reply = owned(xcb_shm_get_image_reply(
        c,
        xcb_shm_get_image(c, root, std::int16_t(r.x()), std::int16_t(r.y()),
                          std::uint16_t(r.width()), std::uint16_t(r.height()), ~0u,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, segment, 0),
        &error));
    QImage part;
    if (!refused(error, "to read the screen into shared memory (ShmGetImage)") && reply) {
        part = QImage(r.size(), QImage::Format_ARGB32);
        copyOpaque(static_cast<const uchar*>(memory), r.width(), r.height(), part, {});
    }
    xcb_shm_detach(c, segment);
    xcb_flush(c);
    shmdt(memory);
    return part;
}

void X11ScreenPixels::request(const QRect& rect) {
    // The segment is free again only once the last reply is in.
    if (m_requested)
        std::ignore = collect();
    m_requested = true;
    m_asked = rect;
    m_sequence = 0;
    xcb_connection_t* c = connection();
    const xcb_screen_t* screen = c ? xcb_setup_roots_iterator(xcb_get_setup(c)).data : nullptr;
    if (!screen || rect.isEmpty() || !keepsPixelsAsWeDo(c, screen->root_depth)) {
        m_early = read(rect); // says why not
        return;
    }
    m_inside = rect & QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    const std::size_t bytes = std::size_t(m_inside.width()) * std::size_t(m_inside.height()) * 4;
    if (m_inside.isEmpty() || !m_shm || !reserve(bytes)) {
        m_early = read(rect);
        return;
    }
    m_sequence =
        xcb_shm_get_image(c, screen->root, std::int16_t(m_inside.x()), std::int16_t(m_inside.y()),
                          std::uint16_t(m_inside.width()), std::uint16_t(m_inside.height()), ~0u,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, m_segment, 0)
            .sequence;
    xcb_flush(c);
}

QImage X11ScreenPixels::collect() {
    if (!std::exchange(m_requested, false))
        return {};
    if (m_sequence == 0)
        return std::exchange(m_early, {});
    xcb_connection_t* c = connection();
    const unsigned int sequence = std::exchange(m_sequence, 0);
    if (!c)
        return {};
    xcb_generic_error_t* error = nullptr;
    const auto reply = owned(xcb_shm_get_image_reply(c, {sequence}, &error));
    if (refused(error, "to read the screen into shared memory (ShmGetImage)") || !reply)
        return {};
    QImage pixels(m_asked.size(), QImage::Format_ARGB32);
    if (m_inside != m_asked)
        pixels.fill(Qt::transparent);
    copyOpaque(m_memory, m_inside.width(), m_inside.height(), pixels,
               m_inside.topLeft() - m_asked.topLeft());
    return pixels;
}

bool X11ScreenPixels::reserve(std::size_t bytes) {
    if (bytes <= m_size)
        return true;
    release();
    const std::optional<SharedSegment> segment =
        attachSharedSegment(connection(), bytes, false, "to read the screen");
    if (!segment) {
        m_shm = false;
        return false;
    }
    m_segment = segment->id;
    m_memory = segment->memory;
    m_size = segment->size;
    return true;
}

// Only with no request under way: the server may be writing into it.
void X11ScreenPixels::release() {
    if (!m_memory)
        return;
    if (xcb_connection_t* c = connection()) {
        xcb_shm_detach(c, m_segment);
        xcb_flush(c);
    }
    shmdt(m_memory);
    m_memory = nullptr;
    m_size = 0;
    m_segment = 0;
}

PortalScreenPixels::PortalScreenPixels(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)) {}

void PortalScreenPixels::grab(const QRect& rect, Done done) {
    m_rect = rect;
    m_done = std::move(done);
    // The portal answers on a request object whose path we can know before
    // asking, so the answer cannot come before we listen.
    const QString token = QStringLiteral("orvanta%1").arg(++m_serial);
    QString sender = m_bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    listen(QStringLiteral("%1/request/%2/%3").arg(kPortalPath, sender, token));

    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, kScreenshotInterface, QStringLiteral("Screenshot"));
    call << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("interactive"), false},
                        {QStringLiteral("modal"), false}};
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this,
        [this, serial = m_serial](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            const QDBusPendingReply<QDBusObjectPath> reply = *w;
            if (serial != m_serial)
                return;
            if (reply.isError()) {
                qCWarning(lcPlatform, "The screenshot portal cannot be asked: %s: %s",
                          qPrintable(reply.error().name()), qPrintable(reply.error().message()));
                finish({},
                       text(QT_TRANSLATE_NOOP("ScreenPixels",
                                              "The desktop offers no screenshot portal: the screen "
                                              "cannot be read.")));
                return;
            }
            // Portals before version 0.9 choose the path themselves.
            if (reply.value().path() != m_request)
                listen(reply.value().path());
        });
}

void PortalScreenPixels::listen(const QString& path) {
    if (!m_request.isEmpty())
        m_bus.disconnect(QString(), m_request, kRequestInterface, QStringLiteral("Response"), this,
                         kAnsweredSlot);
    m_request = path;
    m_bus.connect(QString(), m_request, kRequestInterface, QStringLiteral("Response"), this,
                  kAnsweredSlot);
}

void PortalScreenPixels::answered(uint response, const QVariantMap& results) {
    if (response != 0) {
        qCInfo(lcPlatform, "The screenshot portal answered %u", response);
        finish({}, response == 1
                       ? text(QT_TRANSLATE_NOOP("ScreenPixels", "The screenshot was not allowed."))
                       : text(QT_TRANSLATE_NOOP("ScreenPixels",
                                                "The desktop could not take a screenshot.")));
        return;
    }
    const QString file = QUrl(results.value(QStringLiteral("uri")).toString()).toLocalFile();
    const QImage shot(file);
    if (shot.isNull()) {
        qCWarning(lcPlatform, "The screenshot portal's file %s cannot be read", qPrintable(file));
        finish({},
               text(QT_TRANSLATE_NOOP("ScreenPixels", "The desktop's screenshot cannot be read.")));
        return;
    }
    // The portal saved the whole desktop for us alone (GNOME into the user's
    // pictures): it is not left behind.
    QFile::remove(file);
    QImage pixels(m_rect.size(), QImage::Format_ARGB32);
    pixels.fill(Qt::transparent);
    QPainter p(&pixels);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(0, 0), shot.convertToFormat(QImage::Format_ARGB32), m_rect);
    p.end();
    finish(pixels, {});
}

void PortalScreenPixels::finish(const QImage& pixels, const QString& error) {
    if (!m_request.isEmpty())
        m_bus.disconnect(QString(), m_request, kRequestInterface, QStringLiteral("Response"), this,
                         kAnsweredSlot);
    m_request.clear();
    if (Done done = std::exchange(m_done, nullptr))
        done(pixels, error);
}

std::unique_ptr<ScreenPixels> makeScreenPixels() {
    if (qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return std::make_unique<PortalScreenPixels>(QDBusConnection::sessionBus());
    return std::make_unique<X11ScreenPixels>();
}

} // namespace orvanta
