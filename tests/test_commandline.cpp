// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "package/commandline.h"

#include <gtest/gtest.h>

using namespace orvanta;

TEST(CommandLine, RecognisesTheSwitchAndPackagesExactly) {
    const struct {
        const char* argument;
        bool minimised;
        bool package;
    } cases[] = {
        {"/m", true, false},
        {"/M", true, false},
        {"-m", false, false},
        {"/min", false, false},
        {" /m", false, false},
        {"/tmp/WOOD.COMPASSSKIN", false, true},
        {"C:Wood.compassskin", false, true},
        {".compassskin", false, true},
        {"Wood.compassskin.zip", false, false},
        {"Wood.compassskin/", false, false},
        {"/p/x.compassskin\\Wood", false, false},   // the dot is in a folder name
        {"D:\\x.compassskin:stream", false, false}, // a colon ends the name part too
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isStartMinimisedSwitch(QString::fromUtf8(c.argument)), c.minimised) << c.argument;
        EXPECT_EQ(isSkinPackagePath(QString::fromUtf8(c.argument)), c.package) << c.argument;
    }
}

TEST(CommandLine, ScanKeepsOrderAndLooksAtEveryArgument) {
    const struct {
        const char* label;
        QStringList arguments;
        bool minimised;
        QStringList packages;
    } cases[] = {
        {"autostart", {"/opt/orvanta/orvanta", "/m", "m"}, true, {}},
        {"switch after packages",
         {"orvanta", "b.compassskin", "a.COMPASSSKIN", "/M"},
         true,
         {"b.compassskin", "a.COMPASSSKIN"}},
        {"argument 0 is scanned too", {"/m", "x.compassskin"}, true, {"x.compassskin"}},
        {"automation switches are not ours", {"orvanta", "-Embedding", "/REGSERVER"}, false, {}},
    };
    for (const auto& c : cases) {
        const CommandLineScan scan = scanCommandLine(c.arguments);
        EXPECT_EQ(scan.startMinimised, c.minimised) << c.label;
        EXPECT_EQ(scan.packages, c.packages) << c.label;
    }
}
