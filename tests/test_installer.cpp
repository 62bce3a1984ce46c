// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "data/packages/fixtures.h"
#include "logcapture.h"
#include "model/settings.h"
#include "package/installer.h"
#include "testfiles.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>

using namespace orvanta;
using test::errorOf;
using test::readAll;
using test::writeAll;
using ziptest::Entry;

namespace {

const QByteArray kIni = "[Horizontal]\r\nImage=leg.png\r\n";
const QByteArray kOldIni = "[一般]\r\n名称=Old\r\n[Horizontal]\r\nImage=images\\leg.png\r\n";
const QByteArray kPicture = ziptest::pngPicture();
const QByteArray kOptions = "; kept until the next save\r\n[Options]\r\nX=300\r\n[Mine]\r\nk=v\r\n";

// Every file, folder and link under root with its content or target.
using Snapshot = std::map<std::string, std::string>;
Snapshot snapshot(const QString& root) {
    Snapshot seen;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        seen[QDir(root).relativeFilePath(info.filePath()).toStdString()] =
            info.isSymLink() ? "link to " + info.symLinkTarget().toStdString()
            : info.isDir()   ? "folder"
                             : readAll(info.filePath()).toStdString();
    }
    return seen;
}

// What f returns, or the message of the error it throws.
QString outcome(const std::function<QString()>& f) {
    QString got;
    const QString error = errorOf([&] { got = f(); });
    return error == "<no error>" ? got : error;
}

} // namespace

class InstallSkinPackage : public ::testing::Test {
protected:
    // The program folder as start-up passes it: with a trailing separator.
    QString program() const { return m_program.path() + '/'; }
    QString at(const QString& relative) const { return m_program.filePath(relative); }

    QString package(const QList<Entry>& entries, const QString& name = "Wood.compassskin") {
        return writeAll(m_packages.filePath(name), ziptest::build(entries));
    }
    QString recordedSkin() const { return Settings(at("Compass.ini")).skinPath; }

    QTemporaryDir m_program;
    QTemporaryDir m_outside;
    QTemporaryDir m_packages;
};

TEST_F(InstallSkinPackage, FlattensThePackageReplacesWhatItBringsAndKeepsTheRest) {
    ASSERT_FALSE(QFileInfo::exists(at("skins"))); // created on demand
    installSkinPackage(program(), package({{.name = "Wood/", .method = 0},
                                           {.name = "Wood/wood.ini", .content = kOldIni},
                                           {.name = "Wood/images/leg.png", .content = kPicture}}));
    Snapshot expected{{"Wood", "folder"},
                      {"Wood/wood.ini", kOldIni.toStdString()},
                      {"Wood/leg.png", kPicture.toStdString()}};
    EXPECT_EQ(snapshot(at("skins")), expected); // no staging folder is left behind
    EXPECT_EQ(recordedSkin(), at("skins/Wood/wood.ini"));

    writeAll(at("Compass.ini"), kOptions);
    installSkinPackage(program(), package({{.name = "Wood/wood.ini", .content = kIni},
                                           {.name = "B.INI", .content = kIni}}));
    expected["Wood/wood.ini"] = expected["Wood/B.INI"] = kIni.toStdString();
    EXPECT_EQ(snapshot(at("skins")), expected);
    const Settings options(at("Compass.ini"));
    EXPECT_EQ(options.skinPath, at("skins/Wood/B.INI")); // the last INI of the package
    EXPECT_EQ(options.x, 300);
    EXPECT_EQ(options.document().value(u"Mine", u"k"), QStringLiteral("v"));

    // Without an INI file the files still install, and the options file is
    // not even rewritten.
    writeAll(at("Compass.ini"), kOptions);
    installSkinPackage(program(),
                       package({{.name = "x.png", .content = "not even a picture"}}, "Pine.zip"));
    EXPECT_EQ(readAll(at("skins/Pine/x.png")), QByteArray("not even a picture"));
    EXPECT_EQ(readAll(at("Compass.ini")), kOptions);
}

TEST_F(InstallSkinPackage, ALinkInsideTheFolderIsReplacedNotFollowed) {
    const QString victim = m_outside.filePath("victim.ini");
    writeAll(victim, "precious");
    QDir().mkpath(at("skins/Wood"));
    ASSERT_TRUE(QFile::link(victim, at("skins/Wood/wood.ini")));

    installSkinPackage(program(), package({{.name = "wood.ini", .content = kIni},
                                           {.name = "leg.png", .content = kPicture}}));
    EXPECT_EQ(readAll(victim), QByteArray("precious"));
    EXPECT_FALSE(QFileInfo(at("skins/Wood/wood.ini")).isSymLink());
    EXPECT_EQ(readAll(at("skins/Wood/wood.ini")), kIni);
}

// Every failure leaves the program folder, and anything a link in it points
// to, exactly as it was.
TEST_F(InstallSkinPackage, AFailureChangesNothing) {
    const Entry ini{.name = "Wood/wood.ini", .content = kIni};
    const Entry picture{.name = "leg.png", .content = kPicture};
    const Entry badPicture{.name = "Wood/images/leg.png", .content = kPicture, .crc = 1};
    const std::uint32_t twoHundredMiB = 200u * 1024 * 1024;
    const struct {
        const char* label;
        QList<Entry> entries;
        std::function<void()> setup;
        QString expected;       // {program} and {package} stand for those paths
        bool rollsBack = false; // whether anything reached the disk to be undone
        QByteArray bytes = {};  // the package's bytes instead of the entries
    } cases[] = {
        {"not a ZIP archive",
         {},
         {},
         "\"{package}\" is not a skin package: it is not a ZIP archive.",
         false,
         "<html>a download page saved under the package's name</html>"},
        {"the skin's picture is missing",
         {ini},
         [&] { QFile::remove(at("skins/Wood/leg.png")); },
         "The skin in \"{package}\" cannot be used: {program}skins/Wood/wood.ini: the picture "
         "\"leg.png\" is missing",
         true},
        {"the skin names no picture",
         {{.name = "Wood/wood.ini", .content = "[Horizontal]\r\nImagee=leg.png\r\n"}, picture},
         {},
         "The skin in \"{package}\" cannot be used: {program}skins/Wood/wood.ini: it names no "
         "picture (\"Image\" in [Horizontal])",
         true},
        {"bad CRC in the last entry, no skins folder yet",
         {ini, badPicture},
         [&] { QDir(at("skins")).removeRecursively(); },
         "CRC Error in \"Wood/images/leg.png\".",
         true},
        {"hostile name after a good entry",
         {ini, {.name = "../evil.ini", .content = kIni}},
         {},
         "The package holds an entry with an unsafe name: \"../evil.ini\"."},
        {"larger than the limit in all, though no entry is",
         {{.name = "a.png", .content = "x", .uncompressedSize = twoHundredMiB},
          {.name = "b.png", .content = "x", .uncompressedSize = twoHundredMiB}},
         {},
         "\"{package}\" unpacks to more than the 268435456 bytes a package may hold."},
        {"package folder is a link",
         {ini},
         [&] {
             QDir(at("skins/Wood")).removeRecursively();
             QFile::link(m_outside.path(), at("skins/Wood"));
         },
         "Cannot install into \"{program}skins/Wood\": it is a symbolic link."},
        {"package folder is a file",
         {ini},
         [&] {
             QDir(at("skins/Wood")).removeRecursively();
             writeAll(at("skins/Wood"), "a file");
         },
         "Cannot install into \"{program}skins/Wood\": it is a file, not a folder."},
        {"a file would replace a folder",
         {ini, picture},
         [&] {
             QFile::remove(at("skins/Wood/leg.png"));
             writeAll(at("skins/Wood/leg.png/inside.txt"), "mine");
         },
         "Cannot replace the folder \"{program}skins/Wood/leg.png\" with a file of the package.",
         true},
        {"options file cannot be written, after the files were moved",
         {ini, picture},
         [&] { QFile::setPermissions(at("Compass.ini"), QFile::ReadOwner); },
         "Cannot record the new skin in \"{program}Compass.ini\".",
         true},
        {"options file cannot be written, after the new folder was moved in",
         {ini, picture},
         [&] {
             QDir(at("skins/Wood")).removeRecursively();
             QFile::setPermissions(at("Compass.ini"), QFile::ReadOwner);
         },
         "Cannot record the new skin in \"{program}Compass.ini\".",
         true},
    };
    for (const auto& c : cases) {
        QDir(at("skins")).removeRecursively();
        QFile::remove(at("Compass.ini"));
        writeAll(at("skins/Wood/wood.ini"), "old ini");
        writeAll(at("skins/Wood/leg.png"), "old picture");
        writeAll(at("skins/Other/other.ini"), "other");
        writeAll(at("Compass.ini"), kOptions);
        if (c.setup)
            c.setup();
        const QString path = c.bytes.isEmpty()
                                 ? package(c.entries)
                                 : writeAll(m_packages.filePath("Wood.compassskin"), c.bytes);
        const Snapshot before = snapshot(m_program.path());

        const QString expected =
            QString(c.expected).replace("{program}", program()).replace("{package}", path);
        const test::LogCapture log;
        EXPECT_EQ(errorOf([&] { installSkinPackage(program(), path); }), expected) << c.label;
        EXPECT_EQ(log.lines.contains("orvanta.package: Rolling back the installation into \"" +
                                     program() + "skins/Wood\""),
                  c.rollsBack)
            << c.label;
        EXPECT_EQ(snapshot(m_program.path()), before) << c.label;
        EXPECT_TRUE(snapshot(m_outside.path()).empty()) << c.label;
        QFile::setPermissions(at("Compass.ini"), QFile::ReadOwner | QFile::WriteOwner);
    }
}

TEST(PackageEntryFileName, TakesTheLastComponentOfSafeNamesOnly) {
    const std::pair<const char*, const char*> safe[] = {{"Wood/images/leg.png", "leg.png"},
                                                        {"Wood\\images\\leg.png", "leg.png"},
                                                        {"./Wood//wood.ini", "wood.ini"},
                                                        {"Wood/", ""}};
    for (const auto& [name, expected] : safe)
        EXPECT_EQ(outcome([&] { return packageEntryFileName(name); }), expected) << name;
    const QByteArray unsafe[] = {
        "",           "..",         "Wood/../../evil.ini", "/tmp/e.ini",
        "\\evil.ini", "C:evil.ini", "evil\x7F.ini",        QByteArray("evil.ini\0/x", 11)};
    for (const QByteArray& bytes : unsafe) {
        const QString name = QString::fromUtf8(bytes);
        EXPECT_EQ(outcome([&] { return packageEntryFileName(name); }),
                  "The package holds an entry with an unsafe name: \"" + name + "\".")
            << bytes.data();
    }
}

TEST(PackageFolderName, IsTheFileNameWithoutItsExtension) {
    const struct {
        const char* path;
        const char* expected; // nullptr: refused
    } cases[] = {
        {"/p/WOOD.COMPASSSKIN", "WOOD"}, {"/p/light.wood.compassskin", "light.wood"},
        {"relative/Wood", "Wood"},       {"/p/.compassskin", nullptr},
        {"/p/...compassskin", nullptr},  {"/p/C:Wood.compassskin", nullptr},
    };
    for (const auto& c : cases) {
        const QString refused =
            QStringLiteral("\"%1\" does not give a usable skin folder name.").arg(c.path);
        EXPECT_EQ(outcome([&] { return packageFolderName(c.path); }),
                  c.expected ? QString(c.expected) : refused)
            << c.path;
    }
}

class InstallerTools : public InstallSkinPackage,
                       public ::testing::WithParamInterface<ziptest::Tool> {};

TEST_P(InstallerTools, PackagesFromOrdinaryArchiversInstall) {
    QTemporaryDir work;
    const auto files = ziptest::writeSampleSkin(work.path());
    const QString path = work.filePath("Wood.compassskin");
    const auto made = ziptest::makeWithTool(GetParam(), work.path(), path);
    if (!made)
        GTEST_SKIP() << GetParam().program << " is not installed";
    ASSERT_TRUE(made->isEmpty()) << made->toStdString();
    installSkinPackage(program(), path);
    Snapshot expected{{"Wood", "folder"}};
    for (auto it = files.begin(); it != files.end(); ++it)
        expected["Wood/" + QFileInfo(it.key()).fileName().toStdString()] = it.value().toStdString();
    EXPECT_EQ(snapshot(at("skins")), expected);
    EXPECT_EQ(recordedSkin(), at("skins/Wood/wood.ini"));
}

INSTANTIATE_TEST_SUITE_P(Archivers, InstallerTools, ::testing::ValuesIn(ziptest::kTools),
                         [](const auto& info) { return std::string(info.param.name); });
