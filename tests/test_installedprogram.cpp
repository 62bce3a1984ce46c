// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The installed program: `cmake --install` into a temporary prefix, then the
// program from there on a virtual X server, as a user whose XDG folders are
// temporary. It must find its assets from its own folder, keep everything it
// writes in the user's folders and leave the prefix as it was installed.
#include "backdrop.h"
#include "testfiles.h"
#include "xdesktop.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <map>
#include <string>

using namespace orvanta::test;

namespace {

constexpr int kInstallTimeoutMs = 120000;

// Every entry under `root` with its size, permissions and time of last change:
// writing, replacing or adding anything shows up here (a new file changes its
// folder's time too).
std::map<std::string, std::string> listing(const QString& root) {
    std::map<std::string, std::string> seen;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    seen["."] = QString::number(QFileInfo(root).lastModified().toMSecsSinceEpoch()).toStdString();
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        seen[QDir(root).relativeFilePath(info.filePath()).toStdString()] =
            QStringLiteral("%1 %2 %3")
                .arg(info.isDir() ? -1 : info.size())
                .arg(int(info.permissions()), 0, 16)
                .arg(info.lastModified().toMSecsSinceEpoch())
                .toStdString();
    }
    return seen;
}

QStringList filesUnder(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

class InstalledProgram : public ::testing::Test {
protected:
    void SetUp() override {
        const QString cmake = QStandardPaths::findExecutable("cmake");
        if (cmake.isEmpty() || !root.isValid())
            GTEST_SKIP() << "needs cmake";
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(cmake,
                      {"--install", QStringLiteral(ORVANTA_BIN_DIR "/.."), "--prefix", prefix()});
        ASSERT_TRUE(install.waitForFinished(kInstallTimeoutMs));
        ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
    }

    void TearDown() override {
        for (QProcess* p : {&compass, &backdrop}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }

    [[nodiscard]] QString prefix(const QString& relative = {}) const {
        return root.filePath("prefix/" + relative);
    }
    [[nodiscard]] QString home(const QString& relative = {}) const {
        return root.filePath("home/" + relative);
    }

    QTemporaryDir root;
    QProcess compass;
    QProcess backdrop;
};

} // namespace

TEST_F(InstalledProgram, LaysOutTheProgramTheDesktopFilesAndTheAssets) {
    const struct {
        const char* file;
        QByteArray holds; // empty: only that it is there
    } expected[] = {
        {"bin/orvanta", {}},
        {"share/orvanta/default/default.ini", {}},
        {"share/orvanta/distances.ini", "UnitsLockedCount"},
        {"share/orvanta/img/hand.ani", {}},
        {"share/orvanta/help/en/quickStart.html", {}},
        {"share/orvanta/help/zh_CN/help.html", {}},
        {"share/orvanta/skins/Brass/brass.ini", {}},
        {"share/applications/orvanta.desktop", "Exec=orvanta %F\n"},
        {"share/applications/orvanta.desktop", "MimeType=application/x-compassskin;"},
        {"share/applications/orvanta.desktop", "\nComment[zh_CN]="},
        {"share/mime/packages/orvanta.xml", "<glob pattern=\"*.compassskin\"/>"},
        {"share/icons/hicolor/16x16/apps/orvanta.png", "\x89PNG"},
        {"share/icons/hicolor/256x256/apps/orvanta.png", "\x89PNG"},
        {"share/icons/hicolor/scalable/apps/orvanta.svg", "<svg"},
        {"share/man/man1/orvanta.1.gz", "\x1f\x8b"},
        {"share/doc/orvanta/copyright", "Upstream-Name: Orvanta"},
        // Filled in at configure time: the contact and the screenshots are at
        // the web host the build was configured with.
        {"share/doc/orvanta/copyright", "<developers@" ORVANTA_WEB_HOST ">"},
        {"share/metainfo/invalid.orvanta.orvanta.metainfo.xml",
         "https://" ORVANTA_WEB_HOST "/screenshots/screenshot-circle.png"},
        {"share/doc/orvanta/examples/Walnut.compassskin", "PK\x03\x04"},
    };
    for (const auto& e : expected) {
        const QString path = prefix(e.file);
        ASSERT_TRUE(QFileInfo(path).isFile()) << e.file;
        EXPECT_TRUE(readAll(path).contains(e.holds)) << e.file << " lacks " << e.holds.data();
    }
    EXPECT_TRUE(QFileInfo(prefix("bin/orvanta")).isExecutable());
    // Settings are never shipped: a Compass.ini in the prefix would be read-only
    // for the user and shadow nothing.
    EXPECT_FALSE(QFileInfo::exists(prefix("share/orvanta/Compass.ini")));
    for (const QString& xml : QDir(ORVANTA_SOURCE_DIR "/dbus").entryList({"*.xml"}, QDir::Files))
        EXPECT_TRUE(QFileInfo::exists(prefix("share/dbus-1/interfaces/" + xml)))
            << xml.toStdString();
}

TEST_F(InstalledProgram, RunsAsTheUserAndWritesNothingIntoThePrefix) {
    VirtualDesktop desktop;
    if (!desktop.ok())
        GTEST_SKIP() << "needs Xvfb";
    backdrop.setProcessEnvironment(desktop.environment());
    backdrop.start(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_backdrop"), {"#204080"});
    ASSERT_TRUE(waitFor([&] { return backdrop.canReadLine(); }));

    // The user's own options place the compass and skip the splash; nothing
    // else of the user's exists yet.
    writeAll(home("config/Orvanta/Compass.ini"),
             "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=300\r\nY=250\r\n");
    const auto installed = listing(prefix());

    QProcessEnvironment env = desktop.environment();
    env.insert("HOME", home());
    env.insert("XDG_CONFIG_HOME", home("config"));
    env.insert("XDG_DATA_HOME", home("data"));
    env.insert("XDG_CACHE_HOME", home("cache"));
    compass.setProcessEnvironment(env);
    compass.setProcessChannelMode(QProcess::ForwardedChannels);
    // Opening a skin package from a file manager starts the program with it.
    compass.start(prefix("bin/orvanta"), {prefix("share/doc/orvanta/examples/Walnut.compassskin")});
    ASSERT_TRUE(compass.waitForStarted(5000));

    const QPoint onBase(300 + 26, 250 + 28);
    ASSERT_TRUE(waitFor([&] { return !isBackdrop(desktop.screenshot().pixel(onBase)); }, 10000))
        << "the installed compass did not show";
    // The readout's unit comes from the shipped units, found beside the program.
    EXPECT_FALSE(desktop.run("xdotool", {"search", "--name", " Pixels$"}).trimmed().isEmpty());
    ASSERT_TRUE(desktop.clickToFocus(onBase, QStringLiteral("Compass")));
    desktop.run("xdotool", {"key", "Right", "q"});
    ASSERT_TRUE(compass.waitForFinished(8000)) << "the program did not quit";
    EXPECT_EQ(compass.exitCode(), 0);

    // Saved in the user's folders: the options with the moved compass and the
    // installed skin, the units; the package in the user's skins folder.
    const QString options = QString::fromUtf8(readAll(home("config/Orvanta/Compass.ini")));
    EXPECT_TRUE(options.contains("X=301\r\n")) << options.toStdString();
    EXPECT_TRUE(options.contains("skinPath=" + home("data/Orvanta/skins/Walnut/walnut.ini")))
        << options.toStdString();
    EXPECT_TRUE(readAll(home("config/Orvanta/distances.ini")).contains("SelectedUnit"));
    EXPECT_EQ(filesUnder(home("data/Orvanta")).join(' ').toStdString(),
              "skins/Walnut/walnut.ini skins/Walnut/walnut.png");
    // The shipped units are read from the prefix, not copied.
    EXPECT_FALSE(readAll(home("config/Orvanta/distances.ini")).contains("UnitsLockedCount"));

    EXPECT_EQ(listing(prefix()), installed);
}
