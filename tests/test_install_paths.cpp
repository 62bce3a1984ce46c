// A portable program folder keeps everything together; an installed program reads
// its assets from <prefix>/share/orvanta and keeps the user's files in XDG folders.
#include "app/programfolder.h"
#include "model/units.h"
#include "platform/xdgpaths.h"
#include "skins/skinlist.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

struct RecordingSink : IMessageSink {
    QStringList shown;
    void ShowMessage(const QString& text) override { shown << text; }
};

void writeAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A skin folder `dir` with a definition named `name` and its picture.
QString writeSkin(const QString& dir, const QString& name, const QString& file = "skin.ini") {
    QDir().mkpath(dir);
    QImage(20, 10, QImage::Format_ARGB32).save(dir + "/pic.png");
    const QString ini = dir + "/" + file;
    writeAll(ini, ("[一般]\n名称=" + name + "\n[Horizontal]\nImage=pic.png\n").toUtf8());
    return ini;
}

// A program installed under <root>/usr, the user's XDG folders in <root>/home.
struct Installed {
    Installed() {
        QDir().mkpath(root.filePath("usr/bin"));
        writeSkin(root.filePath("usr/share/orvanta/default"), "Default", "default.ini");
        paths = TProgramPaths::ForProgram(root.filePath("usr/bin/"), root.filePath("home/config"),
                                          root.filePath("home/data"));
    }
    [[nodiscard]] QString path(const QString& relative) const { return root.filePath(relative); }

    QTemporaryDir root;
    TProgramPaths paths;
};

const QByteArray kShippedUnits =
    "[选项]\r\nUnitsCount=3\r\nUnitsLockedCount=2\r\nSelectedUnit=0\r\n"
    "[单位1]\r\n名称=像素\r\nPixelNum=1\r\nUnitNum=1\r\nDecimalNum=0\r\n"
    "[单位2]\r\n名称=英寸\r\nPixelNum=96\r\nUnitNum=1\r\nDecimalNum=3\r\n"
    "[单位3]\r\n名称=自定义1\r\nPixelNum=1\r\nUnitNum=1\r\nDecimalNum=2\r\n";

} // namespace

TEST(ProgramPaths, XdgBaseFoldersFollowTheVariableOnlyWhenAbsolute) {
    const std::tuple<QString, QString, QString> cases[] = {
        // variable, config, data
        {"", "/home/ann/.config", "/home/ann/.local/share"},
        {"/srv/x/", "/srv/x", "/srv/x"},
        {"relative/x", "/home/ann/.config", "/home/ann/.local/share"},
    };
    for (const auto& [variable, config, data] : cases) {
        EXPECT_EQ(xdgConfigHome(variable, "/home/ann"), config) << variable.toStdString();
        EXPECT_EQ(xdgDataHome(variable, "/home/ann"), data) << variable.toStdString();
    }
}

TEST(ProgramPaths, DefaultSkinBesideTheProgramMakesItPortable) {
    QTemporaryDir dir;
    writeSkin(dir.filePath("default"), "Default", "default.ini");
    const QString folder = dir.path() + "/", config = dir.filePath("config");
    const TProgramPaths p = TProgramPaths::ForProgram(folder, config, dir.filePath("data"));
    EXPECT_TRUE(p.Portable);
    EXPECT_EQ(QStringList({p.Assets, p.Config, p.UserSkins, p.SharedSkins}),
              QStringList({folder, folder, folder + "skins", folder + "skins"}));
    EXPECT_EQ(p.SkinFolders().size(), 1);
    EXPECT_TRUE(p.UnitsFiles().shippedFile.isEmpty()); // the folder's file is read and written
    EXPECT_TRUE(p.PrepareUserFolders());
    EXPECT_FALSE(QFileInfo::exists(config));
}

TEST(ProgramPaths, InstalledProgramSplitsSharedAssetsFromTheUsersFiles) {
    Installed in;
    const TProgramPaths& p = in.paths;
    EXPECT_FALSE(p.Portable);
    EXPECT_EQ(p.DefaultSkin(), in.path("usr/share/orvanta/default/default.ini"));
    EXPECT_EQ(p.OptionsFile(), in.path("home/config/Orvanta/Compass.ini"));
    EXPECT_EQ(p.SkinFolders(), QStringList({in.path("home/data/Orvanta/skins"),
                                            in.path("usr/share/orvanta/skins")}));
    EXPECT_EQ(p.PackageTarget().skinsFolder, p.SkinFolders().first());
    EXPECT_EQ(p.UnitsFiles().shippedFile, in.path("usr/share/orvanta/distances.ini"));

    // Only the configuration folder is made at start, and nothing is copied.
    EXPECT_TRUE(p.PrepareUserFolders());
    const QString config = in.path("home/config/Orvanta");
    EXPECT_TRUE(QFileInfo(config).isDir() && QDir(config).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(in.path("home/data")));

    // New options name the shipped default skin; the user's choice stays, even a gone one.
    EXPECT_EQ(p.LoadOptions().skinPath, p.DefaultSkin());
    writeAll(p.OptionsFile(), "[Options]\r\nskinPath=/gone/x.ini\r\n");
    EXPECT_EQ(p.LoadOptions().skinPath, "/gone/x.ini");
}

TEST(ProgramPaths, InstalledUnitsReadTheShippedFileAndSaveOnlyTheUsersPart) {
    Installed in;
    ASSERT_TRUE(in.paths.PrepareUserFolders());
    const TUnitsFiles files = in.paths.UnitsFiles();
    writeAll(files.shippedFile, kShippedUnits);
    {
        TMeasurements units(files, u'.');
        ASSERT_EQ(units.UnitsCount(), 3);
        EXPECT_EQ(units.Name(1), "英寸");
        EXPECT_FALSE(QFileInfo::exists(files.userFile)); // reading copies nothing
        units.SetName(3, "Meter");
        units.SetPixelNum(3, 3780);
        units.Select(3);
        units.SetDecimalNum(1, 5); // shipped units are not the user's to keep
        units.Save();
    }
    EXPECT_EQ(readAll(files.shippedFile), kShippedUnits);
    const QString saved = QString::fromUtf8(readAll(files.userFile));
    EXPECT_FALSE(saved.contains("英寸") || saved.contains("UnitsLockedCount"))
        << saved.toStdString();

    // The next start shows the user's units over the shipped ones, and an update's mend.
    writeAll(files.shippedFile, QByteArray(kShippedUnits).replace("PixelNum=96", "PixelNum=72"));
    const TMeasurements again(files, u'.');
    ASSERT_EQ(again.UnitsCount(), 4);
    EXPECT_EQ(std::tuple(again.UnitsLockedCount(), again.SelectedUnit(), again.DecimalNum(1)),
              std::tuple(2, 3, 3));
    EXPECT_EQ(std::pair(again.PixelNum(1), again.PixelNum(3)), std::pair(72.0L, 3780.0L));
    EXPECT_EQ(QStringList({again.Name(2), again.Name(3)}), QStringList({"自定义1", "Meter"}));
}

TEST(ProgramPaths, UsersSkinsAndShippedSkinsAreListedTogether) {
    Installed in;
    const TProgramPaths& p = in.paths;
    writeSkin(p.SharedSkins + "/Brass", "Shipped brass");
    writeSkin(p.SharedSkins + "/Oak", "Oak");
    const QString mine = writeSkin(p.UserSkins + "/Brass", "My brass");
    writeSkin(p.UserSkins + "/Cedar", "Cedar");
    RecordingSink sink;
    const TSkinList list(p.SkinFolders(), p.DefaultSkin(), mine, sink);
    EXPECT_EQ(list.Names, QStringList({"Default", "My brass", "Cedar", "Oak"}));
    EXPECT_EQ(std::pair(list.SelectedIndex, list.Folder), std::pair(1, p.UserSkins));
    EXPECT_TRUE(sink.shown.isEmpty());
    EXPECT_FALSE(list.NeedsRescan());

    // A skin the user adds shows at the next opening of the menu.
    writeSkin(p.UserSkins + "/Ash", "Ash");
    EXPECT_TRUE(list.NeedsRescan());

    // Without a skins folder of the user's the shipped skins still show.
    const TSkinList shippedOnly(QStringList{in.path("home/none"), p.SharedSkins}, p.DefaultSkin(),
                                {}, sink);
    EXPECT_EQ(shippedOnly.Names, QStringList({"Default", "Shipped brass", "Oak"}));
}
