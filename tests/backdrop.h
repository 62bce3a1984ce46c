// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What tests on a virtual X server put on it: the plain window of one colour
// under the compass (tools/backdrop.cpp), where a pixel that shows it shows no
// compass, and the options that place the compass at a known spot.

#include "xdesktop.h"

#include <QColor>
#include <QPoint>
#include <QProcess>
#include <QtGlobal>

namespace orvanta::test {

inline constexpr QRgb kBackdrop = 0xff204080;

// The compass level at spread 150, its pivot at kPlacedPivot (the default
// skin's pivot lies 26 right of and 28 below the compass's position), the
// splash skipped.
inline constexpr char kPlacedOptions[] = "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=300\r\n"
                                         "Y=250\r\nAngle=0\r\nMeasurement=150\r\n";
inline constexpr QPoint kPlacedPivot(326, 278);

// Within the rounding of a compositor's blend.
[[nodiscard]] inline bool isBackdrop(QRgb c) {
    return qAbs(qRed(c) - qRed(kBackdrop)) < 3 && qAbs(qGreen(c) - qGreen(kBackdrop)) < 3 &&
           qAbs(qBlue(c) - qBlue(kBackdrop)) < 3;
}

// Shows the backdrop on `desktop`, over `geometry` ("WxH+X+Y"; the whole
// screen when empty), and returns its X window once it is up; 0 when it did
// not come up.
inline qulonglong startBackdrop(QProcess& process, const VirtualDesktop& desktop,
                                const QString& geometry = {}) {
    process.setProcessEnvironment(desktop.environment());
    QStringList args{QStringLiteral("#204080")};
    if (!geometry.isEmpty())
        args << geometry;
    process.start(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_backdrop"), args);
    if (!waitFor([&] { return process.canReadLine(); }))
        return 0;
    return QString::fromUtf8(process.readLine()).trimmed().section(u' ', 1).toULongLong();
}

} // namespace orvanta::test
