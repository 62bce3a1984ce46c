#include "app/package/commandline.h"

#include <gtest/gtest.h>

using namespace orvanta;

TEST(CommandLine, FileExtensionStartsAtTheLastDotOfTheLastComponent) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"Wood.compassskin", ".compassskin"},
        {"C:\\skins\\light.wood.CompassSkin", ".CompassSkin"},
        {"/home/me/my.skins/Wood", ""}, // the dot is in a folder name
        {"C:\\my.skins\\Wood", ""},     // likewise with backslashes
        {"C:Wood.compassskin", ".compassskin"},
        {"D.compassskin:stream", ""}, // a colon ends the name part too
        {"Wood.", "."},
        {".compassskin", ".compassskin"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileExtension(QString::fromUtf8(c.path)), QString::fromUtf8(c.expected))
            << c.path;
}

TEST(CommandLine, RecognisesSwitchAndPackagesExactly) {
    const struct {
        const char* argument;
        bool minimised;
        bool package;
    } cases[] = {
        {"/m", true, false},
        {"/M", true, false},
        {"-m", false, false},
        {"/min", false, false},
        {"m", false, false},
        {" /m", false, false},
        {"Wood.compassskin", false, true},
        {"/tmp/WOOD.COMPASSSKIN", false, true},
        {"Wood.compassskin.zip", false, false},
        {"Wood.compassskins", false, false},
        {"Wood.compassskin/", false, false},
        {"/usr/bin/orvanta", false, false},
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
        {"no arguments", {"/opt/orvanta/orvanta"}, false, {}},
        {"autostart", {"/opt/orvanta/orvanta", "/m", "m"}, true, {}},
        {"switch after packages",
         {"orvanta", "b.compassskin", "a.COMPASSSKIN", "/M"},
         true,
         {"b.compassskin", "a.COMPASSSKIN"}},
        {"argument 0 is scanned too", {"/m", "x.compassskin"}, true, {"x.compassskin"}},
        {"same package twice",
         {"orvanta", "w.compassskin", "w.compassskin"},
         false,
         {"w.compassskin", "w.compassskin"}},
        {"automation switches are not ours", {"orvanta", "-Embedding", "/REGSERVER"}, false, {}},
    };
    for (const auto& c : cases) {
        const TCommandLineScan scan = ScanCommandLine(c.arguments);
        EXPECT_EQ(scan.startMinimised, c.minimised) << c.label;
        EXPECT_EQ(scan.packages, c.packages) << c.label;
    }
}
