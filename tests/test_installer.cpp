#include "app/package/installer.h"
#include "data/packages/fixtures.h"
#include "model/options.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>

using namespace orvanta;
using ziptest::Entry;

namespace {

const QByteArray kIni = "[Main]\r\nImage=leg.png\r\n";
const QByteArray kPicture = "\x89PNG\r\n\x1A\n picture bytes";
const QByteArray kOptions = "; kept until the next save\r\n[Options]\r\nX=300\r\n[Mine]\r\nk=v\r\n";

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Every file, folder and link under root, with contents and link targets, so
// that "unchanged" means byte for byte.
using Snapshot = std::map<std::string, std::string>;
Snapshot snapshot(const QString& root) {
    Snapshot seen;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        const std::string key = QDir(root).relativeFilePath(path).toStdString();
        if (info.isSymLink())
            seen[key] = "link to " + info.symLinkTarget().toStdString();
        else if (info.isDir())
            seen[key] = "folder";
        else
            seen[key] = readAll(path).toStdString();
    }
    return seen;
}

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const OrvantaError& e) {
        return e.message().toStdString();
    }
    return "<no error>";
}

} // namespace

class InstallSkinPackageTest : public ::testing::Test {
protected:
    // The program folder as start-up passes it: with a trailing separator.
    QString program() const { return m_program.path() + '/'; }
    QString skins() const { return m_program.filePath("skins"); }
    QString optionsFile() const { return m_program.filePath("Compass.ini"); }
    QString outside() const { return m_outside.path(); }

    QString package(const QList<Entry>& entries, const QString& name = "Wood.compassskin") {
        const QString path = m_packages.filePath(name);
        writeAll(path, ziptest::build(entries));
        return path;
    }
    QString recordedSkin() const { return TDervikOptions(optionsFile()).skinPath; }

    QTemporaryDir m_program;
    QTemporaryDir m_outside;
    QTemporaryDir m_packages;
};

TEST_F(InstallSkinPackageTest, FlattensTheWoodPackageAndSelectsItsSkin) {
    const QString path = package({{.name = "Wood/", .method = 0},
                                  {.name = "Wood/wood.ini", .content = kIni},
                                  {.name = "Wood/images/leg.png", .content = kPicture}});
    ASSERT_FALSE(QFileInfo::exists(skins())); // created on demand
    InstallSkinPackage(program(), path);

    const Snapshot expected{{"Wood", "folder"},
                            {"Wood/wood.ini", kIni.toStdString()},
                            {"Wood/leg.png", kPicture.toStdString()}};
    EXPECT_EQ(snapshot(skins()), expected); // no staging folder is left behind
    EXPECT_EQ(recordedSkin(), m_program.filePath("skins/Wood/wood.ini"));
}

TEST_F(InstallSkinPackageTest, UpperCasePackageNameNamesTheFolder) {
    InstallSkinPackage(program(),
                       package({{.name = "wood.ini", .content = kIni}}, "WOOD.COMPASSSKIN"));
    EXPECT_EQ(readAll(m_program.filePath("skins/WOOD/wood.ini")), kIni);
    EXPECT_EQ(recordedSkin(), m_program.filePath("skins/WOOD/wood.ini"));
}

TEST_F(InstallSkinPackageTest, ReplacesWhatThePackageBringsAndKeepsTheRest) {
    writeAll(m_program.filePath("skins/Wood/wood.ini"), "old");
    writeAll(m_program.filePath("skins/Wood/keep.png"), "mine");
    writeAll(optionsFile(), kOptions);
    InstallSkinPackage(program(), package({{.name = "Wood/wood.ini", .content = kIni},
                                           {.name = "leg.png", .content = kPicture}}));

    EXPECT_EQ(readAll(m_program.filePath("skins/Wood/wood.ini")), kIni);
    EXPECT_EQ(readAll(m_program.filePath("skins/Wood/keep.png")), QByteArray("mine"));
    EXPECT_EQ(readAll(m_program.filePath("skins/Wood/leg.png")), kPicture);
    const TDervikOptions options(optionsFile());
    EXPECT_EQ(options.skinPath, m_program.filePath("skins/Wood/wood.ini"));
    EXPECT_EQ(options.X, 300);
    EXPECT_EQ(options.document().value(u"Mine", u"k"), QStringLiteral("v"));
    EXPECT_EQ(snapshot(skins()).size(), 4); // the backup of the old wood.ini is gone
}

TEST_F(InstallSkinPackageTest, TheLastIniIsSelectedAndAPackageWithoutOneSelectsNothing) {
    InstallSkinPackage(program(), package({{.name = "a.ini", .content = kIni},
                                           {.name = "B.INI", .content = kIni}}));
    EXPECT_EQ(recordedSkin(), m_program.filePath("skins/Wood/B.INI"));

    writeAll(optionsFile(), kOptions);
    InstallSkinPackage(program(),
                       package({{.name = "extra.png", .content = kPicture}}, "Pine.compassskin"));
    EXPECT_EQ(readAll(m_program.filePath("skins/Pine/extra.png")), kPicture);
    EXPECT_EQ(readAll(optionsFile()), kOptions); // not even rewritten
}

TEST_F(InstallSkinPackageTest, BytesThatAreNoArchiveInstallNothing) {
    const QString path = m_packages.filePath("Wood.compassskin");
    writeAll(path, "this is not an archive");
    InstallSkinPackage(program(), path);
    EXPECT_TRUE(snapshot(m_program.path()).empty());
}

TEST_F(InstallSkinPackageTest, ALinkInsideTheFolderIsReplacedNotFollowed) {
    const QString victim = QDir(outside()).filePath("victim.ini");
    writeAll(victim, "precious");
    QDir().mkpath(m_program.filePath("skins/Wood"));
    ASSERT_TRUE(QFile::link(victim, m_program.filePath("skins/Wood/wood.ini")));

    InstallSkinPackage(program(), package({{.name = "wood.ini", .content = kIni}}));
    EXPECT_EQ(readAll(victim), QByteArray("precious"));
    const QFileInfo installed(m_program.filePath("skins/Wood/wood.ini"));
    EXPECT_FALSE(installed.isSymLink());
    EXPECT_EQ(readAll(installed.filePath()), kIni);
}

// Every failure leaves the program folder (and anything a link points to)
// exactly as it was.
TEST_F(InstallSkinPackageTest, AFailureChangesNothing) {
    const QByteArray crcError = "CRC Error in \"Wood/images/leg.png\".";
    const Entry goodIni{.name = "Wood/wood.ini", .content = kIni};
    const std::uint32_t twoHundredMiB = 200u * 1024 * 1024;
    const struct {
        const char* label;
        QList<Entry> entries;
        std::function<void()> setup;
        QString expected; // with {program} and {package} in place of those paths
    } cases[] = {
        {"bad CRC in the last entry",
         {goodIni, {.name = "Wood/images/leg.png", .content = kPicture, .crc = 1}},
         {},
         crcError},
        {"bad CRC into a missing skins folder",
         {goodIni, {.name = "Wood/images/leg.png", .content = kPicture, .crc = 1}},
         [this] { QDir(skins()).removeRecursively(); },
         crcError},
        {"entries larger than the limit in all",
         {{.name = "a.png", .content = "x", .uncompressedSize = twoHundredMiB},
          {.name = "b.png", .content = "x", .uncompressedSize = twoHundredMiB}},
         {},
         "\"{package}\" unpacks to more than the 268435456 bytes a package may hold."},
        {"encrypted entry",
         {goodIni, {.name = "leg.png", .content = kPicture, .flags = 1}},
         {},
         "\"leg.png\" is encrypted; encrypted packages are not supported."},
        {"unknown method",
         {goodIni, {.name = "leg.png", .content = kPicture, .method = 14}},
         {},
         "\"leg.png\" uses compression method 14; only deflate (8) and stored (0) entries are "
         "supported."},
        {"ZIP64 entry",
         {goodIni, {.name = "leg.png", .content = kPicture, .uncompressedSize = 0xFFFFFFFF}},
         {},
         "ZIP64 archives are not supported."},
        {"package folder is a link",
         {goodIni},
         [this] {
             QDir(m_program.filePath("skins/Wood")).removeRecursively();
             QFile::link(outside(), m_program.filePath("skins/Wood"));
         },
         "Cannot install into \"{program}skins/Wood\": it is a symbolic link."},
        {"package folder is a file",
         {goodIni},
         [this] {
             QDir(m_program.filePath("skins/Wood")).removeRecursively();
             writeAll(m_program.filePath("skins/Wood"), "a file");
         },
         "Cannot install into \"{program}skins/Wood\": it is a file, not a folder."},
        {"a file would replace a folder",
         {goodIni, {.name = "leg.png", .content = kPicture}},
         [this] {
             QFile::remove(m_program.filePath("skins/Wood/leg.png"));
             writeAll(m_program.filePath("skins/Wood/leg.png/inside.txt"), "mine");
         },
         "Cannot replace the folder \"{program}skins/Wood/leg.png\" with a file of the package."},
        {"options file cannot be written",
         {goodIni, {.name = "leg.png", .content = kPicture}},
         [this] { QFile::setPermissions(optionsFile(), QFile::ReadOwner | QFile::ReadGroup); },
         "Cannot record the new skin in \"{program}Compass.ini\"."},
    };
    for (const auto& c : cases) {
        QDir(skins()).removeRecursively();
        QFile::remove(optionsFile());
        writeAll(m_program.filePath("skins/Wood/wood.ini"), "old ini");
        writeAll(m_program.filePath("skins/Wood/leg.png"), "old picture");
        writeAll(m_program.filePath("skins/Other/other.ini"), "other");
        writeAll(optionsFile(), kOptions);
        if (c.setup)
            c.setup();
        const QString path = package(c.entries);
        const auto before = snapshot(m_program.path());
        const auto outsideBefore = snapshot(outside());

        const QString expected =
            QString(c.expected).replace("{program}", program()).replace("{package}", path);
        EXPECT_EQ(errorOf([&] { InstallSkinPackage(program(), path); }), expected.toStdString())
            << c.label;
        EXPECT_EQ(snapshot(m_program.path()), before) << c.label;
        EXPECT_EQ(snapshot(outside()), outsideBefore) << c.label;
        QFile::setPermissions(optionsFile(), QFile::ReadOwner | QFile::WriteOwner);
    }
}

TEST_F(InstallSkinPackageTest, HostileNamesWriteNothingAnywhere) {
    const char* names[] = {"../evil.ini",
                           "Wood/../../evil.ini",
                           "/tmp/evil.ini",
                           "\\evil.ini",
                           "C:evil.ini",
                           "Wood/C:/evil.ini",
                           "evil\x01.ini",
                           "evil\x7F.ini",
                           ".",
                           "..",
                           "Wood/..",
                           ""};
    for (const char* name : names) {
        QDir(skins()).removeRecursively();
        const QString path = package(
            {{.name = "wood.ini", .content = kIni}, {.name = QByteArray(name), .content = "x"}});
        EXPECT_EQ(errorOf([&] { InstallSkinPackage(program(), path); }),
                  "The package holds an entry with an unsafe name: \"" + std::string(name) + "\".")
            << name;
        EXPECT_TRUE(snapshot(m_program.path()).empty()) << name;
        EXPECT_TRUE(snapshot(outside()).empty()) << name;
    }
    // A NUL ends no name early: the whole stored name is checked.
    const QString path = package({{.name = QByteArray("evil.ini\0/../x", 14), .content = "x"}});
    EXPECT_NE(errorOf([&] { InstallSkinPackage(program(), path); }), "<no error>");
    EXPECT_TRUE(snapshot(m_program.path()).empty());
}

TEST(PackageEntryFileName, TakesTheLastComponent) {
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"wood.ini", "wood.ini"},
        {"Wood/images/leg.png", "leg.png"},
        {"Wood\\images\\leg.png", "leg.png"},
        {"./Wood/wood.ini", "wood.ini"},
        {"Wood//wood.ini", "wood.ini"},
        {"Wood/", ""},
        {"./", ""},
        {"木纹/皮肤.ini", "皮肤.ini"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PackageEntryFileName(QString::fromUtf8(c.name)).toStdString(), c.expected)
            << c.name;
}

TEST(PackageFolderName, IsTheFileNameWithoutItsExtension) {
    const struct {
        const char* path;
        const char* expected; // nullptr: refused
    } cases[] = {
        {"/p/Wood.compassskin", "Wood"},
        {"/p/WOOD.COMPASSSKIN", "WOOD"},
        {"/p/light.wood.compassskin", "light.wood"},
        {"relative/Wood", "Wood"},
        {"/p/.compassskin", nullptr},
        {"/p/...compassskin", nullptr},
        {"/p/C:Wood.compassskin", nullptr},
    };
    for (const auto& c : cases) {
        if (c.expected) {
            EXPECT_EQ(PackageFolderName(c.path).toStdString(), c.expected) << c.path;
            continue;
        }
        EXPECT_EQ(errorOf([&] { (void)PackageFolderName(c.path); }),
                  "\"" + std::string(c.path) + "\" does not give a usable skin folder name.")
            << c.path;
    }
}

class InstallerTools : public InstallSkinPackageTest,
                       public ::testing::WithParamInterface<ziptest::Tool> {};

TEST_P(InstallerTools, PackagesFromOrdinaryArchiversInstall) {
    QTemporaryDir work;
    const auto files = ziptest::writeSampleSkin(work.path());
    ASSERT_FALSE(files.isEmpty());
    const QString path = work.filePath("Wood.compassskin");
    const auto made = ziptest::makeWithTool(GetParam(), work.path(), "Wood", path);
    if (!made.available)
        GTEST_SKIP() << "archiver not installed";
    ASSERT_TRUE(made.error.isEmpty()) << made.error.toStdString();

    InstallSkinPackage(program(), path);
    Snapshot expected{{"Wood", "folder"}};
    for (auto it = files.begin(); it != files.end(); ++it)
        expected["Wood/" + QFileInfo(it.key()).fileName().toStdString()] = it.value().toStdString();
    EXPECT_EQ(snapshot(skins()), expected);
    EXPECT_EQ(recordedSkin(), m_program.filePath("skins/Wood/wood.ini"));
}

TEST_F(InstallSkinPackageTest, FormatsOutsideTheReaderFromRealToolsAreRefused) {
    QTemporaryDir work;
    ASSERT_FALSE(ziptest::writeSampleSkin(work.path()).isEmpty());
    const QString path = work.filePath("Wood.compassskin");
    const auto python = [&](const char* mode) {
        return ziptest::makeWithTool(ziptest::Tool::PythonSeekable, work.path(), "Wood", path,
                                     mode);
    };
    const struct {
        const char* label;
        std::function<ziptest::ToolResult()> make;
        QString expected;
    } cases[] = {
        {"ZIP64 sizes", [&] { return python("zip64"); }, "ZIP64 archives are not supported."},
        {"bzip2 entries", [&] { return python("bzip2"); },
         "\"Wood/empty.txt\" uses compression method 12; only deflate (8) and stored (0) "
         "entries are supported."},
        {"password",
         [&] {
             const QString zip = QStandardPaths::findExecutable("zip");
             if (zip.isEmpty())
                 return ziptest::ToolResult{};
             return ziptest::ToolResult{
                 true,
                 ziptest::run(zip, {"-q", "-P", "secret", path, "Wood/wood.ini"}, work.path())};
         },
         "\"Wood/wood.ini\" is encrypted; encrypted packages are not supported."},
    };
    for (const auto& c : cases) {
        QFile::remove(path);
        const auto made = c.make();
        if (!made.available)
            continue; // the archiver is not installed
        ASSERT_TRUE(made.error.isEmpty()) << c.label << ": " << made.error.toStdString();
        EXPECT_EQ(errorOf([&] { InstallSkinPackage(program(), path); }), c.expected.toStdString())
            << c.label;
        EXPECT_TRUE(snapshot(m_program.path()).empty()) << c.label;
    }
}

INSTANTIATE_TEST_SUITE_P(Archivers, InstallerTools,
                         ::testing::Values(ziptest::Tool::PythonSeekable,
                                           ziptest::Tool::PythonStream, ziptest::Tool::InfoZip,
                                           ziptest::Tool::CmakeTar),
                         [](const auto& info) {
                             return std::string(ziptest::toolName(info.param));
                         });
