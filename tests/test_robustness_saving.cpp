// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Options and units survive a kill at any moment of a save, a full disk and a
// read-only folder: afterwards each file parses and holds one whole value set,
// never a mix, a truncation or nothing.
#include "tools/saveloopsets.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

using namespace orvanta;
using namespace orvanta::saveloop;

namespace {

const QString kSaveLoop = QStringLiteral(ORVANTA_BIN_DIR "/orvanta_saveloop");
constexpr int kKills = 60;
// Kills land anywhere within a few saves; each save takes about a millisecond.
constexpr int kMaxDelayMs = 25;
constexpr int kStartMs = 30000;

// Which set the folder's files hold: "A", "B", or what is wrong.
QString optionsSet(const QString& folder) {
    const Settings options(QDir(folder).filePath("Compass.ini"), u'.');
    return holdsOptions(options, kSetA) ? "A" : holdsOptions(options, kSetB) ? "B" : "neither";
}
QString unitsSet(const QString& folder) {
    const UnitTable units(folder, QString(), u'.');
    return holdsUnits(units, kSetA) ? "A" : holdsUnits(units, kSetB) ? "B" : "neither";
}

int saveOnce(const QString& folder, const QString& set, const QStringList& extra = {}) {
    QProcess p;
    p.start(kSaveLoop, QStringList{folder, "--once", set} + extra);
    if (!p.waitForFinished(kStartMs) || p.exitStatus() != QProcess::NormalExit)
        return -1;
    return p.exitCode();
}

} // namespace

TEST(CrashSafety, KilledWhileSavingLeavesOneWholeSet) {
    QTemporaryDir dir;
    auto* random = QRandomGenerator::global();
    for (int i = 0; i < kKills; ++i) {
        QProcess loop;
        loop.start(kSaveLoop, {dir.path()});
        ASSERT_TRUE(loop.waitForReadyRead(kStartMs)) << "the save loop did not start";
        ASSERT_EQ(loop.readLine().trimmed(), "ready");
        QThread::msleep(random->bounded(kMaxDelayMs));
        ::kill(pid_t(loop.processId()), SIGKILL);
        ASSERT_TRUE(loop.waitForFinished(kStartMs));
        SCOPED_TRACE(testing::Message() << "kill " << i);
        ASSERT_NE(optionsSet(dir.path()), "neither");
        ASSERT_NE(unitsSet(dir.path()), "neither");
    }
}

TEST(CrashSafety, FullDiskOrReadOnlyFolderKeepsWhatWasOnDisk) {
    const bool root = ::geteuid() == 0;
    const struct {
        const char* what;
        QStringList extra;
        bool readOnlyFolder;
    } cases[] = {
        {"no room for a byte", {"--max-file-bytes", "0"}, false},
        {"room for half a file", {"--max-file-bytes", "60"}, false},
        {"read-only folder", root ? QStringList{"--drop-privileges"} : QStringList{}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        ASSERT_EQ(saveOnce(dir.path(), "A"), 0);
        ASSERT_EQ(optionsSet(dir.path()), "A");
        if (c.readOnlyFolder)
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadOther | QFile::ExeOther);
        // The save says it failed, and the files still hold the first set.
        EXPECT_EQ(saveOnce(dir.path(), "B", c.extra), 3);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(optionsSet(dir.path()), "A");
        EXPECT_EQ(unitsSet(dir.path()), "A");
        // Nothing half-written is left beside them.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
                  (QStringList{"Compass.ini", "distances.ini"}));
    }
}
