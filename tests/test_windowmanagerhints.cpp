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

} // namespace
