// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "backdrop.h"
#include "platform/windowmanagerhints.h"
#include "xdesktop.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace orvanta;
using namespace orvanta::test;

namespace {

const QByteArray kAbove = "_NET_WM_STATE_ABOVE";
const QByteArray kStaysOnTop = "_NET_WM_STATE_STAYS_ON_TOP";
const QByteArray kSkipTaskbar = "_NET_WM_STATE_SKIP_TASKBAR";
const QByteArray kSkipPager = "_NET_WM_STATE_SKIP_PAGER";
const QByteArray kSticky = "_NET_WM_STATE_STICKY";

TEST(WindowManagerHints, StateLeavesTheTaskbarAndPagerAndTakesAboveAsAsked) {
    // name, existing, stay on top, expected
    const std::vector<std::tuple<const char*, QByteArrayList, bool, QByteArrayList>> cases = {
        {"NewWindowOnTop", {}, true, {kAbove, kSkipTaskbar, kSkipPager}},
        {"NewWindowNotOnTop", {}, false, {kSkipTaskbar, kSkipPager}},
        // What Qt's stay-on-top hint leaves on a window: the legacy KDE state
        // goes, the above state is ours to decide.
        {"QtsLegacyStateGoes", {kAbove, kStaysOnTop}, false, {kSkipTaskbar, kSkipPager}},
        {"LegacyStateGoesAboveStays", {kStaysOnTop}, true, {kAbove, kSkipTaskbar, kSkipPager}},
        {"OtherStatesStayInOrder",
         {kSticky, kSkipPager},
         true,
         {kSticky, kSkipPager, kAbove, kSkipTaskbar}},
        {"NoDuplicates",
         {kSkipTaskbar, kSkipTaskbar, kAbove},
         true,
         {kSkipTaskbar, kAbove, kSkipPager}},
    };
    for (const auto& [name, existing, onTop, expected] : cases)
        EXPECT_EQ(netWmState(existing, onTop), expected) << name;
}

// The stacking that results, on a desktop without a window manager (where the
// state is the program's to write) and under openbox (where it is the
// manager's, asked for): the real program, its option switched through
// automation, and a window raised over it.
class StayOnTop : public ::testing::TestWithParam<const char*> {};

TEST_P(StayOnTop, OffLetsARaisedWindowOverTheCompassOnKeepsItUnder) {
    const QString manager = QString::fromLatin1(GetParam());
    VirtualDesktop desktop(QSize(1280, 800), manager);
    ProgramCopy program;
    PrivateBus bus;
    if (!desktop.installed() || !program.ok() || !bus.ok() ||
        QStandardPaths::findExecutable("busctl").isEmpty())
        GTEST_SKIP() << "needs Xvfb, the window manager, dbus-daemon, busctl and a built program";
    ASSERT_TRUE(desktop.ok());
    QProcess backdrop;
    // A column short of the screen: openbox would take a full-screen backdrop
    // for a full-screen window, which it stacks above all others.
    const QString below = QString::number(startBackdrop(backdrop, desktop, "1279x800+0+0"));
    ASSERT_NE(below, "0");
    const QPoint pivot = kPlacedPivot;
    program.writeFile("Compass.ini", kPlacedOptions);
    QProcess compass;
    QProcessEnvironment env = program.environment(desktop.environment());
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    compass.setProcessEnvironment(env);
    compass.start(program.binary(), {});
    const auto shown = [&] { return !isBackdrop(desktop.screenshot().pixel(pivot)); };
    ASSERT_TRUE(waitFor(shown, 8000));
    const QString window =
        desktop.run("xdotool", {"search", "--name", "^Compass"}).section(u'\n', 0, 0);
    ASSERT_FALSE(window.isEmpty());

    const auto above = [&] {
        return desktop.run("xprop", {"-id", window, "_NET_WM_STATE"})
            .contains("_NET_WM_STATE_ABOVE");
    };
    const auto stayOnTop = [&](const char* on) {
        QProcess busctl;
        busctl.setProcessEnvironment(env);
        busctl.start("busctl",
                     {"--user", "set-property", "Compass.VelmoraCompass", "/VelmoraCompass",
                      "Compass.IVelmoraCompass", "StayOnTop", "b", on});
        return busctl.waitForFinished(10000) && busctl.exitCode() == 0;
    };
    // A window manager raises the window it activates; without one a raise is
    // the client's own request.
    const auto raiseBackdrop = [&] {
        desktop.run("xdotool", manager.isEmpty() ? QStringList{"windowraise", below}
                                                 : QStringList{"windowactivate", "--sync", below});
    };

    ASSERT_TRUE(stayOnTop("false"));
    EXPECT_TRUE(waitFor([&] { return !above(); })) << "still above";
    raiseBackdrop();
    EXPECT_TRUE(waitFor([&] { return !shown(); })) << "the raised window stayed under the compass";

    ASSERT_TRUE(stayOnTop("true"));
    EXPECT_TRUE(waitFor(above)) << "not above";
    EXPECT_TRUE(waitFor(shown)) << "the compass did not come back on top";
    // Only a window manager keeps it there afterwards.
    if (!manager.isEmpty()) {
        raiseBackdrop();
        EXPECT_TRUE(shown()) << "a raised window came over the compass";
    }
    for (QProcess* p : {&compass, &backdrop}) {
        p->kill();
        p->waitForFinished(3000);
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, StayOnTop, ::testing::Values("", "openbox"),
                         [](const auto& info) {
                             return *info.param ? std::string(info.param)
                                                : std::string("NoWindowManager");
                         });

} // namespace
