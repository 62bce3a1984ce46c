#include "model/options.h"
#include "model/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvanta;

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

} // namespace

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
    const QString text = QStringLiteral("[选项]\r\nUnitsCount=3\r\n[单位1]\r\n名称=厘米\r\n");
    for (const QByteArray& bytes :
         {text.toUtf8(), QByteArray("\xEF\xBB\xBF") + text.toUtf8(), encodeGb18030(text)}) {
        const auto doc = IniDocument::fromBytes(bytes);
        EXPECT_EQ(doc.value(u"选项", u"UnitsCount"), QStringLiteral("3"));
        EXPECT_EQ(doc.value(u"单位1", u"名称"), QStringLiteral("厘米"));
    }
    EXPECT_NE(encodeGb18030(text), text.toUtf8()); // the fixture really is another encoding
}

TEST(Options, EmptyFileGivesEveryDefault) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "Compass.ini", "");
    TDervikOptions o(path, u'.');
    EXPECT_TRUE(o.FirstTime);
    EXPECT_TRUE(o.StayOnTop);
    EXPECT_FALSE(o.RunAtStart);
    EXPECT_EQ(o.skinPath, QDir(dir.path()).filePath("default/default.ini"));
    EXPECT_TRUE(o.Quality);
    EXPECT_EQ(o.X, 200);
    EXPECT_EQ(o.Y, 150);
    EXPECT_EQ(o.Angle, 0.0f);
    EXPECT_EQ(o.Measurement, 100.0f);
    EXPECT_TRUE(o.StickyAngle);
    EXPECT_TRUE(o.ShowMinimizeBalloon);
}

TEST(Options, ValueEncodings) {
    QTemporaryDir dir;
    const struct {
        const char* line;
        std::function<bool(const TDervikOptions&)> check;
    } cases[] = {
        {"Quality=2", [](auto& o) { return o.Quality; }},
        {"Quality=0", [](auto& o) { return !o.Quality; }},
        {"Quality=high", [](auto& o) { return o.Quality; }},
        {"StayOnTop=yes", [](auto& o) { return o.StayOnTop; }},
        {"StayOnTop=0", [](auto& o) { return !o.StayOnTop; }},
        {"StayOnTop=5", [](auto& o) { return o.StayOnTop; }},
        {"X=0x10", [](auto& o) { return o.X == 16; }},
        {"X=$10", [](auto& o) { return o.X == 16; }},
        {"X=0x", [](auto& o) { return o.X == 200; }},
        {"X = 300", [](auto& o) { return o.X == 300; }},
        {"Angle=abc", [](auto& o) { return o.Angle == 0.0f; }},
        {"Angle=12.5", [](auto& o) { return o.Angle == 12.5f; }},
        {"Measurement=", [](auto& o) { return o.Measurement == 100.0f; }},
        {"skinPath=/x/y.ini", [](auto& o) { return o.skinPath == "/x/y.ini"; }},
    };
    for (const auto& c : cases) {
        const QString path =
            writeFile(dir, "Compass.ini", QByteArray("[Options]\r\n") + c.line + "\r\n");
        EXPECT_TRUE(c.check(TDervikOptions(path, u'.'))) << c.line;
    }
}

TEST(Options, SaveWritesTheFixedOrderAndKeepsUnknownContent) {
    QTemporaryDir dir;
    const QString path =
        writeFile(dir, "Compass.ini",
                  "; comment\r\n[Options]\r\nMaxLength=5000\r\nCustom=keep\r\nQuality=2\r\n"
                  "[Mine]\r\nA=1\r\n");
    TDervikOptions o(path, u'.');
    o.Angle = 12.3f;
    ASSERT_TRUE(o.Save());
    const QByteArray saved = readFile(path);
    EXPECT_EQ(saved,
              QByteArray("[Options]\r\nMaxLength=5000\r\nCustom=keep\r\nQuality=1\r\n"
                         "FirstTime=0\r\nStayOnTop=1\r\nRunAtStart=0\r\nskinPath=") +
                  o.skinPath.toUtf8() +
                  "\r\nHideSplash=0\r\nTransparency=0\r\nShape=0\r\nScribe=0\r\n"
                  "StickyAngle=1\r\nLockAngle=0\r\nLockMeasurement=0\r\nSystemTrayIcon=1\r\n"
                  "RightClickMenu=1\r\nTooltips=1\r\nShowMinimizeBalloon=1\r\nX=200\r\nY=150\r\n"
                  "Angle=12.3000001907349\r\nMeasurement=100\r\nSelectedBaseColor=0\r\n"
                  "MeasureType=0\r\n\r\n[Mine]\r\nA=1\r\n\r\n");
    TDervikOptions again(path, u'.');
    EXPECT_FALSE(again.FirstTime);
    EXPECT_EQ(again.MaxLength, 5000);
    EXPECT_EQ(again.Angle, 12.3f);
}

TEST(Options, CommaSeparatorRoundTrips) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Compass.ini");
    TDervikOptions o(path, u',');
    o.Measurement = 2.5f;
    ASSERT_TRUE(o.Save());
    EXPECT_TRUE(readFile(path).contains("Measurement=2,5\r\n"));
    EXPECT_EQ(TDervikOptions(path, u',').Measurement, 2.5f);
    EXPECT_EQ(TDervikOptions(path, u'.').Measurement, 100.0f); // "2,5" is no number with "."
}

TEST(Options, SaveIntoMissingFolderFailsQuietly) {
    QTemporaryDir dir;
    TDervikOptions o(dir.filePath("gone/Compass.ini"), u'.');
    EXPECT_FALSE(o.Save());
    EXPECT_FALSE(QFile::exists(dir.filePath("gone")));
}

TEST(Options, FailedSaveLeavesTheFileAsItWas) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    QTemporaryDir dir;
    const QString path = writeFile(dir, "Compass.ini", "[Options]\r\nX=7\r\n");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    TDervikOptions o(path, u'.');
    o.X = 99;
    EXPECT_FALSE(o.Save());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(readFile(path), QByteArray("[Options]\r\nX=7\r\n"));
    EXPECT_EQ(o.X, 99);
}

TEST(Options, ReadOnlyFileIsNotReplaced) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "Compass.ini", "[Options]\r\nX=7\r\n");
    QFile::setPermissions(path, QFile::ReadOwner);
    TDervikOptions o(path, u'.');
    o.X = 99;
    EXPECT_FALSE(o.Save());
    EXPECT_EQ(readFile(path), QByteArray("[Options]\r\nX=7\r\n"));
}
