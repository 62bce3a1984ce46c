// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/windowmanagerhints.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace orvanta;

namespace {

const QByteArray kAbove = "_NET_WM_STATE_ABOVE";
const QByteArray kStaysOnTop = "_NET_WM_STATE_STAYS_ON_TOP";
const QByteArray kSkipTaskbar = "_NET_WM_STATE_SKIP_TASKBAR";
const QByteArray kSkipPager = "_NET_WM_STATE_SKIP_PAGER";
const QByteArray kSticky = "_NET_WM_STATE_STICKY";

TEST(WindowManagerHints, StateLeavesTheTaskbarAndPagerAndTakesAboveOnlyWhereItWorks) {
    // name, existing, stay on top, method, expected
    const std::vector<std::tuple<const char*, QByteArrayList, bool, KeepAbove, QByteArrayList>>
        cases = {
            {"NewWindowOnTop", {}, true, KeepAbove::AboveState, {kAbove, kSkipTaskbar, kSkipPager}},
            {"NewWindowNotOnTop", {}, false, KeepAbove::AboveState, {kSkipTaskbar, kSkipPager}},
            // What Qt's stay-on-top hint leaves on a window: the legacy KDE
            // state goes, the above state is ours to decide.
            {"QtsLegacyStateGoes",
             {kAbove, kStaysOnTop},
             false,
             KeepAbove::AboveState,
             {kSkipTaskbar, kSkipPager}},
            {"OtherStatesStayInOrder",
             {kSticky, kSkipPager},
             true,
             KeepAbove::AboveState,
             {kSticky, kSkipPager, kAbove, kSkipTaskbar}},
            {"NoDuplicates",
             {kSkipTaskbar, kSkipTaskbar, kAbove},
             true,
             KeepAbove::AboveState,
             {kSkipTaskbar, kAbove, kSkipPager}},
            // The type keeps the window on top there; the state would break
            // click-through.
            {"NotificationTypeDropsAbove",
             {kAbove},
             true,
             KeepAbove::NotificationType,
             {kSkipTaskbar, kSkipPager}},
        };
    for (const auto& [name, existing, onTop, method, expected] : cases)
        EXPECT_EQ(netWmState(existing, onTop, method), expected) << name;
}

TEST(WindowManagerHints, TypeIsAUtilityWindowAndANotificationOnlyToStayOnTopOnMutterUnderWayland) {
    const QByteArrayList utility{"_NET_WM_WINDOW_TYPE_UTILITY"};
    EXPECT_EQ(netWmWindowType(true, KeepAbove::AboveState), utility);
    EXPECT_EQ(netWmWindowType(false, KeepAbove::AboveState), utility);
    EXPECT_EQ(netWmWindowType(false, KeepAbove::NotificationType), utility);
    // Managers that do not know the notification type fall back to the next.
    EXPECT_EQ(netWmWindowType(true, KeepAbove::NotificationType),
              (QByteArrayList{"_NET_WM_WINDOW_TYPE_NOTIFICATION", "_NET_WM_WINDOW_TYPE_UTILITY"}));
}

TEST(WindowManagerHints, OnlyMutterUnderXWaylandLosesTheAboveState) {
    // window manager, XWayland, expected
    const std::vector<std::tuple<QString, bool, KeepAbove>> cases = {
        {"Mutter", true, KeepAbove::NotificationType},
        {"GNOME Shell", true, KeepAbove::NotificationType},
        {"mutter", true, KeepAbove::NotificationType},
        {"Mutter", false, KeepAbove::AboveState},
        {"wlroots wm", true, KeepAbove::AboveState},
        {"Weston WM", true, KeepAbove::AboveState},
        {"Openbox", false, KeepAbove::AboveState},
        {"KWin", false, KeepAbove::AboveState},
        {"", true, KeepAbove::AboveState},
        {"", false, KeepAbove::AboveState},
    };
    for (const auto& [manager, xwayland, expected] : cases)
        EXPECT_EQ(keepAboveMethod(manager, xwayland), expected)
            << manager.toStdString() << " xwayland=" << xwayland;
}

} // namespace
