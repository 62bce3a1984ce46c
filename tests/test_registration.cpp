// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/registration.h"
#include "model/numbers.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;

TEST(AutomationSwitches, TakeEitherPrefixAnyCaseAndTheFirstRegistration) {
    using R = RegistrationSwitch;
    const struct {
        QStringList arguments;
        bool byClient;
        R registration;
    } cases[] = {
        {{"orvanta"}, false, R::None},
        {{"orvanta", "-Automation"}, true, R::None},
        {{"orvanta", "/embedding"}, true, R::None},
        {{"orvanta", "--automation"}, false, R::None},
        {{"orvanta", "Automation"}, false, R::None},
        {{"orvanta", "/Automation2"}, false, R::None},
        {{"orvanta", "/REGSERVER"}, false, R::Register},
        {{"orvanta", "-unregserver", "-regserver"}, false, R::Unregister},
        {{"orvanta", "-RegServer", "/UnRegServer", "/Embedding"}, true, R::Register},
    };
    for (const auto& c : cases) {
        const AutomationSwitches s = scanAutomationSwitches(c.arguments);
        EXPECT_EQ(s.startedByClient, c.byClient) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(s.registration, c.registration) << c.arguments.join(' ').toStdString();
    }
}

TEST(AutomationRegistration, ExecLineSurvivesTheBusSplittingIt) {
    const struct {
        const char* path;
        const char* exec;
    } cases[] = {
        {"/usr/bin/orvanta", "/usr/bin/orvanta"},
        {"/opt/My Tools/orvanta", "'/opt/My Tools/orvanta'"},
        {"/opt/it's/orvanta", "'/opt/it'\\''s/orvanta'"},
        {"/opt/a\\b/orvanta", "'/opt/a\\b/orvanta'"},
        {"/opt/#1/orvanta", "'/opt/#1/orvanta'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(quoteExecArgument(QString::fromUtf8(c.path)), QString::fromUtf8(c.exec))
            << c.path;
    EXPECT_EQ(serviceFileText("/opt/it's/orvanta"),
              "[D-BUS Service]\nName=Compass.VelmoraCompass\nExec='/opt/it'\\''s/orvanta' "
              "-Automation\n");
}

TEST(AutomationRegistration, WritesAndRemovesTheFileInTheUsersDataFolder) {
    QTemporaryDir data;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const QString file =
        data.path() + QStringLiteral("/dbus-1/services/Compass.VelmoraCompass.service");
    EXPECT_EQ(serviceFilePath(), file);
    registerServer(QStringLiteral("/opt/orvanta/orvanta"));
    EXPECT_TRUE(test::readAll(file).endsWith("Exec=/opt/orvanta/orvanta -Automation\n"));
    unregisterServer();
    EXPECT_FALSE(QFile::exists(file));
    unregisterServer(); // nothing to remove is not an error

    // A services folder that cannot be created names the file.
    ASSERT_TRUE(QDir(data.path() + QStringLiteral("/dbus-1")).removeRecursively());
    test::writeAll(data.path() + QStringLiteral("/dbus-1"), {});
    const QString error = test::errorOf([] { registerServer("/opt/orvanta/orvanta"); });
    EXPECT_TRUE(error.startsWith("Cannot create file \"" + file)) << error.toStdString();
    qputenv("XDG_DATA_HOME", saved);
    if (saved.isEmpty())
        qunsetenv("XDG_DATA_HOME");
}
