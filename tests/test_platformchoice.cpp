// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/platformchoice.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace orvanta;

namespace {

TEST(PlatformChoice, XcbWheneverAWaylandDisplayIsThereAndTheUserChoseNothing) {
    // name, QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, -platform, forced
    const std::vector<std::tuple<const char*, QString, QString, QString, bool, QString>> cases = {
        {"WaylandSession", "", "wayland-0", "wayland", false, "xcb"},
        // A compositor started from a console: no session type, only its display.
        {"DisplayWithoutSessionType", "", "wayland-1", "", false, "xcb"},
        {"SessionTypeWithoutDisplay", "", "", "wayland", false, "xcb"},
        {"SessionTypeInCapitals", "", "", "Wayland", false, "xcb"},
        {"X11Session", "", "", "x11", false, ""},
        {"NothingSet", "", "", "", false, ""},
        {"TtySessionWithADisplay", "", "wayland-0", "tty", false, "xcb"},
        {"UserChoseWaylandByVariable", "wayland", "wayland-0", "wayland", false, ""},
        {"UserChoseXcbByVariable", "xcb", "wayland-0", "wayland", false, ""},
        {"UserChoseByArgument", "", "wayland-0", "wayland", true, ""},
    };
    for (const auto& [name, qpa, display, session, argument, forced] : cases) {
        const PlatformChoice choice =
            choosePlatform(PlatformEnvironment{qpa, display, session, argument});
        EXPECT_EQ(choice.forced, forced) << name;
        EXPECT_FALSE(choice.description.isEmpty()) << name;
    }
}

TEST(PlatformChoice, TheArgumentCountsOnlyWithAName) {
    // arguments, -platform seen
    const std::vector<std::tuple<QStringList, bool>> cases = {
        {{"orvanta", "-platform", "wayland"}, true},
        {{"orvanta", "--platform", "xcb"}, true},
        {{"orvanta", "/m", "-platform", "offscreen"}, true},
        {{"orvanta", "-platform"}, false}, // Qt takes no platform from it
        {{"orvanta", "/m"}, false},
        {{"-platform", "x"}, false}, // the program's own name is not an argument
    };
    for (const auto& [arguments, seen] : cases)
        EXPECT_EQ(PlatformEnvironment::current(arguments).platformArgument, seen)
            << arguments.join(' ').toStdString();
}

} // namespace
