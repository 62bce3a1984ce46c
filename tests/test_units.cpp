#include "model/textcodec.h"
#include "model/units.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

template <typename Call> QString errorOf(Call call) {
    try {
        call();
    } catch (const OrvantaError& e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

} // namespace

TEST(Units, MissingFileGivesSevenOneToOneUnits) {
    QTemporaryDir dir;
    const TMeasurements units(dir.path(), dir.filePath("none.ini"), u'.');
    EXPECT_EQ(std::pair(units.UnitsCount(), units.UnitsLockedCount()), std::pair(7, 6));
    EXPECT_EQ(std::pair(units.Name(6), units.PixelNum(3)), std::pair(QString("自定义6"), 1.0L));
    EXPECT_TRUE(units.PerUserFile().isEmpty());
}

TEST(Units, ShippedUnitsReadUnderBothSeparators) {
    const std::tuple<const char*, long double, int> rows[] = {
        {"像素", 1, 0},        {"英寸", 96, 3}, {"厘米", 96 / 2.54L, 2}, {"毫米", 96 / 25.4L, 1},
        {"点", 96 / 72.0L, 1}, {"派卡", 16, 2}, {"自定义1", 1, 2}};
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        const TMeasurements units(ORVANTA_SOURCE_DIR "/assets/program", QString(), separator);
        ASSERT_EQ(units.UnitsCount(), 7);
        for (int i = 0; i < 7; ++i) {
            const auto& [name, pixelsPerUnit, decimals] = rows[i];
            EXPECT_EQ(units.Name(i), QString::fromUtf8(name));
            EXPECT_NEAR(double(units.PixelNum(i) / units.UnitNum(i)), double(pixelsPerUnit), 1e-12);
            EXPECT_EQ(units.DecimalNum(i), decimals);
        }
    }
}

TEST(Units, ReadingFallsBackPerKey) {
    QTemporaryDir dir;
    writeFile(
        dir.filePath("distances.ini"),
        encodeGb18030(QStringLiteral(
            u"[选项]\nUnitsCount=0x3\nUnitsLockedCount=-4\nSelectedUnit=9\n[单位1]\n名称=英寸\n"
            u"PixelNum=2,5\nUnitNum=abc\nDecimalNum=x\n[单位3]\nPixelNum=1.5\n")));
    const TMeasurements units(dir.path(), QString(), u',');
    // The selection is kept as stored; the scale falls back.
    EXPECT_EQ(std::tuple(units.UnitsCount(), units.UnitsLockedCount(), units.SelectedUnit()),
              std::tuple(3, 0, 9));
    EXPECT_EQ(std::tuple(units.Name(0), units.PixelNum(0), units.UnitNum(0), units.DecimalNum(0)),
              std::tuple(QString("英寸"), 2.5L, 1.0L, 2));
    EXPECT_EQ(units.Name(1), QStringLiteral("自定义1"));
    EXPECT_EQ(units.PixelNum(2), 1.5L); // a file from a "." locale
}

TEST(Units, ListGrowsOnWritesWithinBounds) {
    QTemporaryDir dir;
    writeFile(dir.filePath("distances.ini"),
              QStringLiteral("[选项]\nUnitsCount=2000000000\n").toUtf8());
    TMeasurements units(dir.path(), QString(), u'.');
    EXPECT_EQ(units.UnitsCount(), TMeasurements::kMaxUnits);
    units.SetCount(7);
    units.SetPixelNum(-1, 5);
    units.SetName(TMeasurements::kMaxUnits, "x");
    units.SetDecimalNum(9, 4);
    EXPECT_EQ(units.UnitsCount(), 10);
    EXPECT_EQ(units.PixelNum(8), 0); // new entries are empty
    EXPECT_EQ(units.Name(10), QString());
    units.Select(10);
    EXPECT_EQ(units.SelectedUnit(), 0);
}

TEST(Units, SaveWritesOnlyCustomUnitsAndKeepsStaleSections) {
    QTemporaryDir dir;
    TMeasurements units(dir.path(), QString(), u',');
    units.SetDecimalNum(0, 5); // a shipped unit: lasts until exit
    units.SetName(7, "肘");
    units.SetPixelNum(7, 12.25L);
    units.Select(7);
    units.Save();
    units.SetCount(7);
    units.Save();
    const TMeasurements reread(dir.path(), QString(), u',');
    EXPECT_EQ(std::tuple(reread.UnitsCount(), reread.SelectedUnit(), reread.DecimalNum(0)),
              std::tuple(7, 7, 2));
    QFile f(units.DefaultFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.contains(u"[单位8]\r\n名称=肘\r\nPixelNum=12,25\r\n"));
    EXPECT_FALSE(text.contains(u"[单位1]"));
}

TEST(Units, PerUserFileWinsAndBothFilesAreWritten) {
    QTemporaryDir dir;
    const QString perUser = dir.filePath("home/Velmora/config/distances.ini");
    writeFile(perUser, QStringLiteral("[选项]\nSelectedUnit=2\n").toUtf8());
    TMeasurements units(dir.path(), perUser, u'.');
    EXPECT_EQ(units.SelectedUnit(), 2);
    units.Select(4);
    units.Save();
    EXPECT_EQ(TMeasurements(dir.path(), perUser, u'.').SelectedUnit(), 4);
    EXPECT_EQ(TMeasurements(dir.path(), QString(), u'.').SelectedUnit(), 4);
    // With the user's own copy written, the shipped file may stay read-only.
    QFile::setPermissions(units.DefaultFile(), QFileDevice::ReadOwner);
    units.Select(5);
    EXPECT_NO_THROW(units.Save());
    EXPECT_EQ(TMeasurements(dir.path(), perUser, u'.').SelectedUnit(), 5);
}

TEST(Units, UnwritableFileThrowsAndKeepsTheUnits) {
    QTemporaryDir dir;
    TMeasurements units(dir.path(), QString(), u'.');
    units.Save();
    QFile::setPermissions(units.DefaultFile(), QFileDevice::ReadOwner);
    units.SetCount(3);
    EXPECT_EQ(errorOf([&] { units.Save(); }),
              "Cannot create file \"" + units.DefaultFile() + "\". The file is read-only.");
    EXPECT_EQ(units.UnitsCount(), 3);
}

TEST(Units, SelectedScaleFallsBackToOneToOne) {
    const std::tuple<long double, long double, bool, long double> cases[] = {{96, 2.54L, false, 96},
                                                                             {-96, 1, false, 1},
                                                                             {96, 0, false, 1},
                                                                             {NAN, 1, false, 1},
                                                                             {96, 1, true, 1}};
    for (const auto& [pixels, unitCount, selectionPastEnd, expected] : cases) {
        QTemporaryDir dir;
        TMeasurements units(dir.path(), QString(), u'.');
        units.SetPixelNum(2, pixels);
        units.SetUnitNum(2, unitCount);
        units.Select(2);
        if (selectionPastEnd)
            units.SetCount(2);
        EXPECT_EQ(units.SelectedScale().pixels, expected) << double(pixels);
    }
}

TEST(Units, Conversions) {
    const UnitScale tenPerUnit{10, 1};
    EXPECT_EQ(UnitsToPixels("2.5", tenPerUnit, 1, u'.'), 25.0f);
    EXPECT_EQ(UnitsToPixels("2,5", tenPerUnit, 2, u','), 12.5f);
    EXPECT_EQ(UnitsToWholePixels(-2.5, {}, u'.'), -3);
    EXPECT_EQ(UnitsToWholePixels(1.25, {96, 2.54L}, u'.'), 47);
    const std::pair<std::function<void()>, QString> failures[] = {
        {[&] { (void)UnitsToPixels("1e40", tenPerUnit, 1, u'.'); },
         "'1e40' cannot be converted to pixels"},
        {[&] { (void)UnitsToPixels("5", tenPerUnit, 0, u'.'); },
         "'5' cannot be converted to pixels"},
        {[] { (void)UnitsToWholePixels(3e9, {}, u'.'); },
         "'3000000000' is not a valid integer value"},
        {[] { (void)UnitsToWholePixels(1e20, {}, u'.'); }, "'1E20' is not a valid integer value"},
        {[] { (void)UnitsToWholePixels(NAN, {}, u'.'); }, "'NAN' is not a valid integer value"}};
    for (const auto& [call, message] : failures)
        EXPECT_EQ(errorOf(call), message);
}

TEST(Units, PerUserPathFollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(perUserUnitsPath(), "/tmp/cfg/Velmora/config/distances.ini");
    qputenv("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(perUserUnitsPath(), QDir::homePath() + "/.config/Velmora/config/distances.ini");
    qputenv("XDG_CONFIG_HOME", saved);
}
