// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Where the compass window takes the mouse: the real program on a virtual X
// server with a compositing manager, probed with xdotool as a user's clicks.
#include "backdrop.h"
#include "xdesktop.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace orvanta::test;

namespace {

constexpr QPoint kPivot = kPlacedPivot;
// The slide, at the placed spread, is dragged in and out again, to a spread
// whose compass still fits the window snugly: the window stays as it is, and
// the release redraws no more than it changes.
constexpr int kFrom = 150;
constexpr int kIn = 60;
constexpr int kTo = 140;

// A slide dragged through many frames gives the mouse back wherever the
// compass lay in any of them: what the frames drawn while the button is held
// change reaches the input shape at the release, every frame's, not the last's.
TEST(InputShape, AfterADragClicksPassWhereTheFigureLayAndHitWhereItLies) {
    VirtualDesktop desktop;
    ProgramCopy program;
    if (!desktop.installed() || !program.ok())
        GTEST_SKIP() << "needs Xvfb and a built program";
    ASSERT_TRUE(desktop.ok());
    QProcess backdrop;
    const qulonglong below = startBackdrop(backdrop, desktop);
    ASSERT_NE(below, 0u);
    program.writeFile("Compass.ini", kPlacedOptions);
    QProcess compass;
    compass.setProcessEnvironment(program.environment(desktop.environment()));
    compass.setProcessChannelMode(QProcess::ForwardedChannels);
    compass.start(program.binary(), {});
    ASSERT_TRUE(waitFor([&] { return !isBackdrop(desktop.screenshot().pixel(kPivot)); }, 8000));

    // The circle at the start, where no later frame reaches.
    const QPoint first[] = {kPivot + QPoint(0, -kFrom), kPivot + QPoint(0, kFrom),
                            kPivot + QPoint(-kFrom, 0)};
    const QPoint last[] = {kPivot + QPoint(0, -kTo), kPivot + QPoint(0, kTo)};
    const qulonglong window = desktop.windowUnder(kPivot).value_or(0);
    ASSERT_NE(window, below);
    for (const QPoint p : first)
        ASSERT_EQ(desktop.windowUnder(p), window) << p.x() << "," << p.y();

    // The slide dragged along the beam in the steps of a hand, in and out.
    QStringList moves{"mousemove", QString::number(kPivot.x() + kFrom), QString::number(kPivot.y()),
                      "mousedown", "1"};
    const auto to = [&](int spread) {
        moves << "mousemove" << QString::number(kPivot.x() + spread) << QString::number(kPivot.y())
              << "sleep"
              << "0.03";
    };
    for (int x = kFrom - 5; x > kIn; x -= 5)
        to(x);
    for (int x = kIn; x <= kTo; x += 5)
        to(x);
    desktop.run("xdotool", moves << "mouseup"
                                 << "1");
    ASSERT_TRUE(waitFor([&] { return isBackdrop(desktop.screenshot().pixel(first[0])); }, 5000));

    for (const QPoint p : last)
        EXPECT_TRUE(waitFor([&] { return desktop.windowUnder(p) == window; }, 2000))
            << p.x() << "," << p.y();
    for (const QPoint p : first)
        EXPECT_TRUE(waitFor([&] { return desktop.windowUnder(p) == below; }, 2000))
            << p.x() << "," << p.y();
    compass.kill();
    compass.waitForFinished(3000);
    backdrop.kill();
    backdrop.waitForFinished(3000);
}

} // namespace
