// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The monitors the program reads from a real X server (tools/monitorprobe.cpp
// on Xvfb), against what the server itself says.
#include "xdesktop.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace orvanta::test;

TEST(ScreenMonitors, TheXScreenAndItsMonitorAsTheServerReportsThem) {
    // Wider than high, so that a width read for a height shows.
    VirtualDesktop desktop(QSize(1600, 900));
    if (!desktop.installed())
        GTEST_SKIP() << "needs Xvfb";
    ASSERT_TRUE(desktop.ok());
    const QRegularExpressionMatch server =
        QRegularExpression(R"(dimensions:\s+1600x900 pixels \((\d+)x(\d+) millimeters\))")
            .match(desktop.run("xdpyinfo", {}));
    ASSERT_TRUE(server.hasMatch()) << "xdpyinfo does not give the screen's size";
    const QString millimetres = server.captured(1) + u'x' + server.captured(2);
    ASSERT_NE(server.captured(1), server.captured(2));

    const QStringList lines =
        desktop.run(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_monitorprobe"), {}).split(u'\n');
    ASSERT_GE(lines.size(), 2) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines[0], "desktop " + millimetres);
    EXPECT_TRUE(lines[1].startsWith("monitor 0,0 1600x900 ")) << lines[1].toStdString();
}
