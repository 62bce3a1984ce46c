// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "logcapture.h"
#include "model/orvantaerror.h"
#include "model/textcodec.h"
#include "model/unittable.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace orvanta;

using test::errorOf;
using test::writeAll;

TEST(UnitTable, MissingFileGivesSevenOneToOneUnits) {
    QTemporaryDir dir;
    const UnitTable units(dir.path(), dir.filePath("none.ini"), u'.');
    EXPECT_EQ(std::pair(units.unitsCount(), units.unitsLockedCount()), std::pair(7, 6));
    EXPECT_EQ(std::pair(units.name(6), units.pixelNum(3)), std::pair(QString("自定义6"), 1.0L));
    EXPECT_TRUE(units.perUserFile().isEmpty());
}

TEST(UnitTable, ShippedUnitsReadUnderBothSeparators) {
    const std::tuple<const char*, long double, int> rows[] = {
        {"像素", 1, 0},        {"英寸", 96, 3}, {"厘米", 96 / 2.54L, 2}, {"毫米", 96 / 25.4L, 1},
        {"点", 96 / 72.0L, 1}, {"派卡", 16, 2}, {"自定义1", 1, 2}};
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        const UnitTable units(ORVANTA_SOURCE_DIR "/assets/program", QString(), separator);
        ASSERT_EQ(units.unitsCount(), 7);
        for (int i = 0; i < 7; ++i) {
            const auto& [name, pixelsPerUnit, decimals] = rows[i];
            EXPECT_EQ(units.name(i), QString::fromUtf8(name));
            EXPECT_NEAR(double(units.pixelNum(i) / units.unitNum(i)), double(pixelsPerUnit), 1e-12);
            EXPECT_EQ(units.decimalNum(i), decimals);
        }
    }
}

TEST(UnitTable, ShippedUnitsShowTheirNameInTheUsersLanguageOthersAsStored) {
    // Stored name, shipped (index below UnitsLockedCount), shown in English.
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"像素", true, "Pixels"},      {"派卡", true, "Picas"},
        {"毫米", true, "Millimetres"}, {"centimetres", true, "Centimetres"},
        {"POINTS", true, "Points"},    {"Centimeters", true, "Centimeters"},
        {"自定义0", true, "Custom 0"}, {"像素", false, "像素"},
        {"Inches", false, "Inches"},
    };
    for (const auto& [stored, shipped, shown] : cases) {
        QTemporaryDir dir;
        writeAll(dir.filePath("distances.ini"),
                 QStringLiteral("[选项]\nUnitsCount=1\nUnitsLockedCount=%1\n[单位1]\n名称=%2\n")
                     .arg(shipped ? 1 : 0)
                     .arg(QString::fromUtf8(stored))
                     .toUtf8());
        const UnitTable units(dir.path(), QString(), u'.');
        EXPECT_EQ(units.displayName(0), QString::fromUtf8(shown)) << stored;
        EXPECT_EQ(units.name(0), QString::fromUtf8(stored)) << "automation reads the file's name";
    }
}

TEST(UnitTable, ReadingFallsBackPerKey) {
    QTemporaryDir dir;
    writeAll(
        dir.filePath("distances.ini"),
        encodeGb18030(QStringLiteral(
            u"[选项]\nUnitsCount=0x3\nUnitsLockedCount=-4\nSelectedUnit=9\n[单位1]\n名称=英寸\n"
            u"PixelNum=2,5\nUnitNum=abc\nDecimalNum=x\n[单位3]\nPixelNum=1.5\n")));
    const UnitTable units(dir.path(), QString(), u',');
    // The selection is kept as stored; the scale falls back.
    EXPECT_EQ(std::tuple(units.unitsCount(), units.unitsLockedCount(), units.selectedUnit()),
              std::tuple(3, 0, 9));
    EXPECT_EQ(std::tuple(units.name(0), units.pixelNum(0), units.unitNum(0), units.decimalNum(0)),
              std::tuple(QString("英寸"), 2.5L, 1.0L, 2));
    EXPECT_EQ(units.name(1), QStringLiteral("自定义1"));
    EXPECT_EQ(units.pixelNum(2), 1.5L); // a file from a "." locale
}

TEST(UnitTable, ListGrowsOnWritesWithinBounds) {
    QTemporaryDir dir;
    writeAll(dir.filePath("distances.ini"),
             QStringLiteral("[选项]\nUnitsCount=2000000000\n").toUtf8());
    UnitTable units(dir.path(), QString(), u'.');
    EXPECT_EQ(units.unitsCount(), UnitTable::kMaxUnits);
    units.setCount(7);
    units.setPixelNum(-1, 5);
    units.setName(UnitTable::kMaxUnits, "x");
    units.setDecimalNum(9, 4);
    EXPECT_EQ(units.unitsCount(), 10);
    EXPECT_EQ(units.pixelNum(8), 0); // new entries are empty
    EXPECT_EQ(units.name(10), QString());
    units.select(10);
    EXPECT_EQ(units.selectedUnit(), 0);
}

TEST(UnitTable, SaveWritesOnlyCustomUnitsAndKeepsStaleSections) {
    QTemporaryDir dir;
    UnitTable units(dir.path(), QString(), u',');
    units.setDecimalNum(0, 5); // a shipped unit: lasts until exit
    units.setName(7, "肘");
    units.setPixelNum(7, 12.25L);
    units.select(7);
    units.save();
    units.setCount(7);
    units.save();
    const UnitTable reread(dir.path(), QString(), u',');
    EXPECT_EQ(std::tuple(reread.unitsCount(), reread.selectedUnit(), reread.decimalNum(0)),
              std::tuple(7, 7, 2));
    const QString text = QString::fromUtf8(test::readAll(units.defaultFile()));
    EXPECT_TRUE(text.contains(u"[单位8]\r\n名称=肘\r\nPixelNum=12,25\r\n"));
    EXPECT_FALSE(text.contains(u"[单位1]"));
}

TEST(UnitTable, PerUserFileWinsAndBothFilesAreWritten) {
    QTemporaryDir dir;
    const QString perUser = dir.filePath("home/Velmora/config/distances.ini");
    writeAll(perUser, QStringLiteral("[选项]\nSelectedUnit=2\n").toUtf8());
    UnitTable units(dir.path(), perUser, u'.');
    EXPECT_EQ(units.selectedUnit(), 2);
    units.select(4);
    units.save();
    EXPECT_EQ(UnitTable(dir.path(), perUser, u'.').selectedUnit(), 4);
    EXPECT_EQ(UnitTable(dir.path(), QString(), u'.').selectedUnit(), 4);
    // With the user's own copy written, the shipped file may stay read-only.
    QFile::setPermissions(units.defaultFile(), QFileDevice::ReadOwner);
    units.select(5);
    EXPECT_NO_THROW(units.save());
    EXPECT_EQ(UnitTable(dir.path(), perUser, u'.').selectedUnit(), 5);
}

TEST(UnitTable, UnwritableFileThrowsAndKeepsTheUnits) {
    QTemporaryDir dir;
    UnitTable units(dir.path(), QString(), u'.');
    units.save();
    QFile::setPermissions(units.defaultFile(), QFileDevice::ReadOwner);
    units.setCount(3);
    const test::LogCapture log;
    EXPECT_EQ(errorOf([&] { units.save(); }),
              "Cannot create file \"" + units.defaultFile() + "\". The file is read-only.");
    // Logged too, for the callers that swallow it (the way out).
    EXPECT_EQ(log.lines, QStringList("orvanta.settings: Cannot save the units to \"" +
                                     units.defaultFile() + "\": The file is read-only."));
    EXPECT_EQ(units.unitsCount(), 3);
}

TEST(UnitTable, SelectedScaleFallsBackToOneToOne) {
    const std::tuple<long double, long double, bool, long double> cases[] = {{96, 2.54L, false, 96},
                                                                             {-96, 1, false, 1},
                                                                             {96, 0, false, 1},
                                                                             {NAN, 1, false, 1},
                                                                             {96, 1, true, 1}};
    for (const auto& [pixels, unitCount, selectionPastEnd, expected] : cases) {
        QTemporaryDir dir;
        UnitTable units(dir.path(), QString(), u'.');
        units.setPixelNum(2, pixels);
        units.setUnitNum(2, unitCount);
        units.select(2);
        if (selectionPastEnd)
            units.setCount(2);
        EXPECT_EQ(units.selectedScale().pixels, expected) << double(pixels);
    }
}

TEST(UnitTable, Conversions) {
    const UnitScale tenPerUnit{10, 1};
    EXPECT_EQ(unitsToPixels("2.5", tenPerUnit, 1, u'.'), 25.0f);
    EXPECT_EQ(unitsToPixels("2,5", tenPerUnit, 2, u','), 12.5f);
    EXPECT_EQ(unitsToWholePixels(-2.5, {}, u'.'), -3);
    EXPECT_EQ(unitsToWholePixels(1.25, {96, 2.54L}, u'.'), 47);
    const std::pair<std::function<void()>, QString> failures[] = {
        {[&] { (void)unitsToPixels("1e40", tenPerUnit, 1, u'.'); },
         "'1e40' cannot be converted to pixels"},
        {[&] { (void)unitsToPixels("5", tenPerUnit, 0, u'.'); },
         "'5' cannot be converted to pixels"},
        {[] { (void)unitsToWholePixels(3e9, {}, u'.'); },
         "'3000000000' is not a valid integer value"},
        {[] { (void)unitsToWholePixels(1e20, {}, u'.'); }, "'1E20' is not a valid integer value"},
        {[] { (void)unitsToWholePixels(NAN, {}, u'.'); }, "'NAN' is not a valid integer value"}};
    for (const auto& [call, message] : failures)
        EXPECT_EQ(errorOf(call), message);
}

TEST(UnitTable, PerUserPathFollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(perUserUnitsPath(), "/tmp/cfg/Velmora/config/distances.ini");
    qputenv("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(perUserUnitsPath(), QDir::homePath() + "/.config/Velmora/config/distances.ini");
    qputenv("XDG_CONFIG_HOME", saved);
}

// The name the program gives a new unit follows the language; what the user
// typed, and the stored text, stay as they are.
TEST(units, TheProgramsOwnUnitNameFollowsTheLanguage) {
    QTemporaryDir dir;
    UnitTable units(dir.path() + "/", QString(), u'.');
    const std::pair<const char*, const char*> names[] = {
        {"自定义1", "Custom 1"},  {"自定义12", "Custom 12"}, {"自定义", "自定义"},
        {"自定义1a", "自定义1a"}, {"Feet", "Feet"},
    };
    for (const auto& [stored, shown] : names) {
        units.setName(6, QString::fromUtf8(stored));
        EXPECT_EQ(units.displayName(6), QString::fromUtf8(shown)) << stored;
    }
    units.setName(6, QStringLiteral("自定义1"));
    units.setName(6, QStringLiteral("Custom 1")); // the dialog gives back what it showed
    EXPECT_EQ(units.name(6), QStringLiteral("自定义1"));
    units.setName(6, QStringLiteral("Custom 2"));
    EXPECT_EQ(units.name(6), QStringLiteral("Custom 2"));
}
