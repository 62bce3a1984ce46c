// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The pixels of a rectangle of the desktop as the user sees them, for the
// fit to what lies beneath the compass. On X11 they are read from the root
// window (the compositor's picture, the compass included); on a Wayland
// session the X server sees only X windows, so the desktop's screenshot
// portal is asked instead.

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

struct xcb_connection_t;

namespace orvanta {

class ScreenPixels {
public:
    // The pixels (RGB32, the rectangle's size), or a null image and what
    // went wrong, in words for the user.
    using Done = std::function<void(const QImage& pixels, const QString& error)>;

    virtual ~ScreenPixels() = default;
    // Reads `rect` (X screen coordinates) and calls `done` once, at once or
    // from the event loop. A grab asked for while another is under way
    // replaces it.
    virtual void grab(const QRect& rect, Done done) = 0;
};

// Through GetImage of the root window, from shared memory (MIT-SHM) when the
// rectangle is large: a reply through the socket is copied twice more.
class X11ScreenPixels : public ScreenPixels {
public:
    // On Qt's connection, or, given a display name, on one of its own.
    explicit X11ScreenPixels(const QByteArray& display = {});
    ~X11ScreenPixels() override;
    X11ScreenPixels(const X11ScreenPixels&) = delete;
    X11ScreenPixels& operator=(const X11ScreenPixels&) = delete;

    void grab(const QRect& rect, Done done) override;
    // The image, or a null one (the reason is logged): the work of grab().
    [[nodiscard]] QImage read(const QRect& rect);

    // The same read in two halves, for a caller that reads every frame: the
    // request goes to the server now and its pixels are taken at the next
    // collect(), so that neither waits for the other in between. The pixels
    // come through shared memory kept from one read to the next. A request
    // replaces one not yet collected.
    void request(const QRect& rect);
    // The pixels last asked for (as read() gives them), or a null image when
    // none was asked for since or the read failed (logged).
    [[nodiscard]] QImage collect();
    [[nodiscard]] bool requested() const { return m_requested; }

private:
    xcb_connection_t* connection() const;
    QImage readThroughSocket(const QRect& rect);
    QImage readShared(const QRect& rect);
    bool reserve(std::size_t bytes);
    void release();

    xcb_connection_t* m_own = nullptr;
    bool m_shm = false;
    // The kept segment of request(): its id on the server, where it is
    // mapped here and its size.
    std::uint32_t m_segment = 0;
    uchar* m_memory = nullptr;
    std::size_t m_size = 0;
    // The request under way: what it asked for, the part of it on the
    // screen and the cookie of its reply (0: read at once into m_early).
    bool m_requested = false;
    QRect m_asked, m_inside;
    unsigned int m_sequence = 0;
    QImage m_early;
};

// org.freedesktop.portal.Screenshot, asked without a dialog (interactive
// false): GNOME asks the user once and remembers, KDE and wlroots' portal
// answer at once. The portal writes a file of the whole desktop; the
// rectangle is cut from it and the file removed.
class PortalScreenPixels : public QObject, public ScreenPixels {
    Q_OBJECT

public:
    explicit PortalScreenPixels(QDBusConnection bus, QObject* parent = nullptr);
    void grab(const QRect& rect, Done done) override;

private Q_SLOTS:
    void answered(uint response, const QVariantMap& results);

private:
    void finish(const QImage& pixels, const QString& error);
    void listen(const QString& path);

    QDBusConnection m_bus;
    QRect m_rect;
    Done m_done;
    QString m_request;
    std::uint32_t m_serial = 0;
};

// The reader for this session: the portal under Wayland, X11 otherwise.
[[nodiscard]] std::unique_ptr<ScreenPixels> makeScreenPixels();

} // namespace orvanta
