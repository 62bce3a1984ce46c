// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "logcapture.h"
#include "model/settings.h"
#include "model/textcodec.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvanta;

using test::readAll;
using test::writeAll;

TEST(IniDocument, ReadingRules) {
    const auto doc = IniDocument::fromText(u"stray=1\r\n"
                                           u"  ; a comment\r\n"
                                           u"[ Options ]\r\n"
                                           u"  X = 300  \r\n"
                                           u"x=999\r\n"
                                           u"no equals sign\r\n"
                                           u"Path=a=b\r\n"
                                           u"\r\n"
                                           u"[Other]\n"
                                           u"Key=v\n"
                                           u"[options]\n"
                                           u"Y=5\n");
    EXPECT_EQ(doc.sections(), QStringList({"Options", "Other"}));
    EXPECT_EQ(doc.value(u"OPTIONS", u"x"), QStringLiteral("300")); // first one wins
    EXPECT_EQ(doc.value(u"Options", u"path"), QStringLiteral("a=b"));
    EXPECT_EQ(doc.value(u"options", u"Y"), QStringLiteral("5")); // merged into the first section
    EXPECT_FALSE(doc.value(u"Options", u"stray").has_value());
    EXPECT_FALSE(doc.value(u"Missing", u"X").has_value());
}

TEST(IniDocument, WritesInFirstSeenOrderWithCrLf) {
    auto doc = IniDocument::fromText(u"[B]\nb1=1\n[A]\na1=x\n");
    doc.setValue(u"a", u"A1", "y"); // keeps the existing spelling and place
    doc.setValue(u"A", u"a2", "z");
    doc.setValue(u"C", u"c1", "w");
    EXPECT_EQ(doc.toBytes(),
              QByteArray("[B]\r\nb1=1\r\n\r\n[A]\r\na1=y\r\na2=z\r\n\r\n[C]\r\nc1=w\r\n\r\n"));
}

TEST(IniDocument, ReadsUtf8BomAndLegacyGb18030) {
    const QString text = QStringLiteral("[选项]\r\n名称=厘米\r\n");
    for (const QByteArray& bytes :
         {QByteArray("\xEF\xBB\xBF") + text.toUtf8(), encodeGb18030(text)})
        EXPECT_EQ(IniDocument::fromBytes(bytes).value(u"选项", u"名称"), QStringLiteral("厘米"));
}

TEST(Settings, SaveWritesTheFixedOrderAndKeepsUnknownContent) {
    QTemporaryDir dir;
    const QString path =
        writeAll(dir.filePath("Compass.ini"),
                 "; comment\r\n[Options]\r\nMaxLength=5000\r\nCustom=keep\r\nQuality=2\r\n"
                 "[Mine]\r\nA=1\r\n");
    Settings o(path, u'.');
    EXPECT_TRUE(o.firstTime);
    EXPECT_EQ(o.skinPath, QDir(dir.path()).filePath("default/default.ini"));
    o.angle = 12.3f;
    ASSERT_TRUE(o.save());
    const QByteArray saved = readAll(path);
    EXPECT_EQ(saved,
              QByteArray("[Options]\r\nMaxLength=5000\r\nCustom=keep\r\nQuality=1\r\n"
                         "FirstTime=0\r\nStayOnTop=1\r\nRunAtStart=0\r\nskinPath=") +
                  o.skinPath.toUtf8() +
                  "\r\nHideSplash=0\r\nTransparency=0\r\nShape=0\r\nScribe=0\r\n"
                  "StickyAngle=1\r\nLockAngle=0\r\nLockMeasurement=0\r\nSystemTrayIcon=1\r\n"
                  "RightClickMenu=1\r\nTooltips=1\r\nShowMinimizeBalloon=1\r\nX=200\r\nY=150\r\n"
                  "Angle=12.3000001907349\r\nMeasurement=100\r\nSelectedBaseColor=0\r\n"
                  "MeasureType=0\r\nLanguage=Automatic\r\nPhysicalUnitsPerMonitor=1\r\nLoupe=0\r\n"
                  "LoupeZoom=4\r\n\r\n[Mine]"
                  "\r\nA=1\r\n\r\n");
    Settings again(path, u'.');
    EXPECT_FALSE(again.firstTime);
    EXPECT_EQ(again.maxLength, 5000);
    EXPECT_EQ(again.angle, 12.3f);
}

TEST(Settings, LanguageIsOneOfThreeChoicesAndAnythingElseIsAutomatic) {
    const std::tuple<const char*, LanguageChoice, const char*> cases[] = {
        {"", LanguageChoice::Automatic, "Automatic"},
        {"Language=English\r\n", LanguageChoice::English, "English"},
        {"language= chinese \r\n", LanguageChoice::Chinese, "Chinese"},
        {"Language=Automatic\r\n", LanguageChoice::Automatic, "Automatic"},
        {"Language=zh_CN\r\n", LanguageChoice::Automatic, "Automatic"},
        {"Language=\r\n", LanguageChoice::Automatic, "Automatic"},
    };
    for (const auto& [line, choice, saved] : cases) {
        QTemporaryDir dir;
        const QString path =
            writeAll(dir.filePath("Compass.ini"), QByteArray("[Options]\r\n") + line + "X=1\r\n");
        Settings o(path, u'.');
        EXPECT_EQ(o.language, choice) << line;
        ASSERT_TRUE(o.save());
        EXPECT_EQ(Settings(path, u'.').language, choice) << line;
        EXPECT_TRUE(readAll(path).contains(QByteArray("anguage=") + saved + "\r\n")) << line;
    }
}

TEST(Settings, CommaSeparatorRoundTrips) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Compass.ini");
    Settings o(path, u',');
    o.measurement = 2.5f;
    ASSERT_TRUE(o.save());
    EXPECT_TRUE(readAll(path).contains("Measurement=2,5\r\n"));
    EXPECT_EQ(Settings(path, u',').measurement, 2.5f);
    EXPECT_EQ(Settings(path, u'.').measurement, 100.0f); // "2,5" is no number with "."
}

// A failed save reports it, logs which file and why, and leaves the file, or
// the folder, as it was.
TEST(Settings, FailedSaveChangesNothing) {
    const QByteArray old = "[Options]\r\nX=7\r\n";
    // what is locked, why the save fails
    const std::pair<std::string, QString> cases[] = {
        {"", "No such file or directory"},
        {"file", "The file is read-only."},
        {"folder", "Permission denied"},
    };
    for (const auto& [lock, why] : cases) {
        if (lock == "folder" && geteuid() == 0)
            continue; // root ignores folder permissions
        QTemporaryDir dir;
        const QString path = writeAll(dir.filePath("Compass.ini"), old);
        QFile::setPermissions(lock == "file" ? path : dir.path(),
                              !lock.empty()
                                  ? QFile::ReadOwner | QFile::ExeOwner
                                  : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Settings o(!lock.empty() ? path : dir.filePath("gone/Compass.ini"), u'.');
        o.x = 99;
        const test::LogCapture log;
        EXPECT_FALSE(o.save()) << lock;
        EXPECT_EQ(log.lines, QStringList("orvanta.settings: Cannot save the options to \"" +
                                         o.fileName + "\": " + why))
            << lock;
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(readAll(path), old) << lock;
        EXPECT_FALSE(QFile::exists(dir.filePath("gone"))) << lock;
    }
}
