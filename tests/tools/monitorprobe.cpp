// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Prints the monitors as the program reads them on the X display it runs on:
//   desktop WxH            the X screen in millimetres
//   monitor X,Y WxH WxH    each monitor's geometry and millimetres
#include "platform/screenmonitors.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const orvanta::MonitorList list = orvanta::ScreenMonitors().monitors();
    std::printf("desktop %gx%g\n", list.desktopMillimetres.width(),
                list.desktopMillimetres.height());
    for (const orvanta::MonitorInfo& m : list.monitors)
        std::printf("monitor %d,%d %dx%d %gx%g\n", m.geometry.x(), m.geometry.y(),
                    m.geometry.width(), m.geometry.height(), m.millimetres.width(),
                    m.millimetres.height());
    return 0;
}
