// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/screenmonitors.h"

#include "platform/logging.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>
#include <xcb/xcb.h>

namespace orvanta {

namespace {

// Qt's interface scale is Xft.dpi over this.
constexpr double kUnscaledDpi = 96.0;

// The X screen's size in millimetres, which Qt 6.4 hands out for a monitor
// that reports none. Empty off X11.
QSizeF xScreenMillimetres() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return {};
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    if (!it.rem) {
        qCWarning(lcX11, "the X server lists no screen: monitor sizes are taken as given");
        return {};
    }
    return QSizeF(it.data->width_in_millimeters, it.data->height_in_millimeters);
}

} // namespace

ScreenMonitors::ScreenMonitors(QObject* parent) : QObject(parent) {
    for (QScreen* s : QGuiApplication::screens())
        watch(s);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
        watch(s);
        Q_EMIT changed();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ScreenMonitors::changed);
}

void ScreenMonitors::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &ScreenMonitors::changed);
    connect(screen, &QScreen::physicalSizeChanged, this, &ScreenMonitors::changed);
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, &ScreenMonitors::changed);
}

MonitorList ScreenMonitors::monitors() const {
    MonitorList list;
    list.desktopMillimetres = xScreenMillimetres();
    for (const QScreen* s : QGuiApplication::screens()) {
        MonitorInfo m;
        m.identity = MonitorIdentity{s->manufacturer(), s->model(), s->serialNumber(), s->name()};
        // Without Qt's own scaling the geometry is in device pixels already;
        // with it, the device-pixel size is the logical one times the ratio.
        const double ratio = s->devicePixelRatio();
        m.geometry =
            QRect(s->geometry().topLeft(), (QSizeF(s->geometry().size()) * ratio).toSize());
        m.millimetres = s->physicalSize();
        m.uiScale = s->logicalDotsPerInch() / kUnscaledDpi * ratio;
        list.monitors.push_back(std::move(m));
    }
    return list;
}

} // namespace orvanta
