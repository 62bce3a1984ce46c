// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/autostart.h"
#include "testfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

TEST(Autostart, ExecArgumentsAreQuotedOnlyWhenNeeded) {
    // argument, as it stands in the file
    const std::vector<std::pair<QString, QString>> cases = {
        {"/usr/bin/orvanta", "/usr/bin/orvanta"},
        {"/opt/My Apps/orvanta", "\"/opt/My Apps/orvanta\""},
        {"/opt/a\"b", "\"/opt/a\\\\\"b\""},       // \" inside quotes, then \\ in the file
        {"/opt/$HOME/x", "\"/opt/\\\\$HOME/x\""}, // no expansion by the launcher
        {"/opt/back\\slash", "\"/opt/back\\\\\\\\slash\""},
        {"/opt/100%/orvanta", "/opt/100%%/orvanta"}, // not a field code
        {"", "\"\""},
    };
    for (const auto& [argument, written] : cases)
        EXPECT_EQ(execArgument(argument), written) << argument.toStdString();
}

TEST(Autostart, OnWritesAnEntryThatStartsTheProgramHiddenAndOffRemovesIt) {
    QTemporaryDir dir;
    XdgAutostart autostart(dir.filePath("config/autostart"));
    EXPECT_EQ(autostart.entryPath(), dir.filePath("config/autostart/orvanta.desktop"));

    ASSERT_TRUE(autostart.setRunAtStart(true, "/opt/old/orvanta"));
    ASSERT_TRUE(autostart.setRunAtStart(true, "/opt/My Apps/orvanta")); // moved program
    EXPECT_EQ(test::readAll(autostart.entryPath()), "[Desktop Entry]\n"
                                                    "Type=Application\n"
                                                    "Name=Orvanta\n"
                                                    "Exec=\"/opt/My Apps/orvanta\" /m\n"
                                                    "Terminal=false\n"
                                                    "X-GNOME-Autostart-enabled=true\n");

    EXPECT_TRUE(autostart.setRunAtStart(false, "/opt/new/orvanta"));
    EXPECT_FALSE(QFileInfo::exists(autostart.entryPath()));
    EXPECT_TRUE(autostart.setRunAtStart(false, "/opt/new/orvanta")); // harmless

    // A dangling link still counts as an entry.
    ASSERT_TRUE(QFile::link(dir.filePath("gone.desktop"), autostart.entryPath()));
    EXPECT_TRUE(autostart.setRunAtStart(false, "/opt/orvanta"));
    EXPECT_FALSE(QFileInfo(autostart.entryPath()).isSymLink());

    // A file where the folder should be: the failure is reported, not thrown.
    XdgAutostart blocked(dir.filePath("gone.desktop"));
    ASSERT_TRUE(QFile(dir.filePath("gone.desktop")).open(QIODevice::WriteOnly));
    EXPECT_FALSE(blocked.setRunAtStart(true, "/opt/orvanta"));
    EXPECT_TRUE(blocked.setRunAtStart(false, "/opt/orvanta"));
}

} // namespace
