// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A portable program folder keeps everything together; an installed program reads
// its assets from <prefix>/share/orvanta and keeps the user's files in XDG folders.
#include "app/programpaths.h"
#include "fakes/recordingsink.h"
#include "model/unittable.h"
#include "platform/xdgpaths.h"
#include "skins/skincatalog.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;
using fakes::RecordingSink;
using test::readAll;
using test::writeAll;
using test::writeSkin;

namespace {

// A program installed under <root>/usr, the user's XDG folders in <root>/home.
struct Installed {
    Installed() {
        QDir().mkpath(root.filePath("usr/bin"));
        writeSkin(root.filePath("usr/share/orvanta/default"), "Default", "default.ini");
        paths = ProgramPaths::forProgram(root.filePath("usr/bin/"), root.filePath("home/config"),
                                         root.filePath("home/data"));
    }
    [[nodiscard]] QString path(const QString& relative) const { return root.filePath(relative); }

    QTemporaryDir root;
    ProgramPaths paths;
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
    const ProgramPaths p = ProgramPaths::forProgram(folder, config, dir.filePath("data"));
    EXPECT_TRUE(p.portable);
    EXPECT_EQ(QStringList({p.assets, p.config, p.userSkins, p.sharedSkins}),
              QStringList({folder, folder, folder + "skins", folder + "skins"}));
    EXPECT_EQ(p.skinFolders().size(), 1);
    EXPECT_TRUE(p.unitsFiles().shippedFile.isEmpty()); // the folder's file is read and written
    EXPECT_TRUE(p.prepareUserFolders());
    EXPECT_FALSE(QFileInfo::exists(config));
}

TEST(ProgramPaths, InstalledProgramSplitsSharedAssetsFromTheUsersFiles) {
    Installed in;
    const ProgramPaths& p = in.paths;
    EXPECT_FALSE(p.portable);
    EXPECT_EQ(p.defaultSkin(), in.path("usr/share/orvanta/default/default.ini"));
    EXPECT_EQ(p.optionsFile(), in.path("home/config/Orvanta/Compass.ini"));
    EXPECT_EQ(p.skinFolders(), QStringList({in.path("home/data/Orvanta/skins"),
                                            in.path("usr/share/orvanta/skins")}));
    EXPECT_EQ(p.packageTarget().skinsFolder, p.skinFolders().first());
    EXPECT_EQ(p.unitsFiles().shippedFile, in.path("usr/share/orvanta/distances.ini"));

    // Only the configuration folder is made at start, and nothing is copied.
    EXPECT_TRUE(p.prepareUserFolders());
    const QString config = in.path("home/config/Orvanta");
    EXPECT_TRUE(QFileInfo(config).isDir() && QDir(config).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(in.path("home/data")));

    // New options name the shipped default skin; the user's choice stays, even a gone one.
    EXPECT_EQ(p.loadOptions().skinPath, p.defaultSkin());
    writeAll(p.optionsFile(), "[Options]\r\nskinPath=/gone/x.ini\r\n");
    EXPECT_EQ(p.loadOptions().skinPath, "/gone/x.ini");
}

TEST(ProgramPaths, InstalledUnitsReadTheShippedFileAndSaveOnlyTheUsersPart) {
    Installed in;
    ASSERT_TRUE(in.paths.prepareUserFolders());
    const UnitFiles files = in.paths.unitsFiles();
    writeAll(files.shippedFile, kShippedUnits);
    {
        UnitTable units(files, u'.');
        ASSERT_EQ(units.unitsCount(), 3);
        EXPECT_EQ(units.name(1), "英寸");
        EXPECT_FALSE(QFileInfo::exists(files.userFile)); // reading copies nothing
        units.setName(3, "Meter");
        units.setPixelNum(3, 3780);
        units.select(3);
        units.setDecimalNum(1, 5); // shipped units are not the user's to keep
        units.save();
    }
    EXPECT_EQ(readAll(files.shippedFile), kShippedUnits);
    const QString saved = QString::fromUtf8(readAll(files.userFile));
    EXPECT_FALSE(saved.contains("英寸") || saved.contains("UnitsLockedCount"))
        << saved.toStdString();

    // The next start shows the user's units over the shipped ones, and an update's mend.
    writeAll(files.shippedFile, QByteArray(kShippedUnits).replace("PixelNum=96", "PixelNum=72"));
    const UnitTable again(files, u'.');
    ASSERT_EQ(again.unitsCount(), 4);
    EXPECT_EQ(std::tuple(again.unitsLockedCount(), again.selectedUnit(), again.decimalNum(1)),
              std::tuple(2, 3, 3));
    EXPECT_EQ(std::pair(again.pixelNum(1), again.pixelNum(3)), std::pair(72.0L, 3780.0L));
    EXPECT_EQ(QStringList({again.name(2), again.name(3)}), QStringList({"自定义1", "Meter"}));
}

TEST(ProgramPaths, UsersSkinsAndShippedSkinsAreListedTogether) {
    Installed in;
    const ProgramPaths& p = in.paths;
    writeSkin(p.sharedSkins + "/Brass", "Shipped brass");
    writeSkin(p.sharedSkins + "/Oak", "Oak");
    const QString mine = writeSkin(p.userSkins + "/Brass", "My brass");
    writeSkin(p.userSkins + "/Cedar", "Cedar");
    RecordingSink sink;
    const SkinCatalog list(p.skinFolders(), p.defaultSkin(), mine, sink);
    EXPECT_EQ(list.names, QStringList({"Default", "My brass", "Cedar", "Oak"}));
    EXPECT_EQ(std::pair(list.selectedIndex, list.folder), std::pair(1, p.userSkins));
    EXPECT_TRUE(sink.shown.isEmpty());
    EXPECT_FALSE(list.needsRescan());

    // A skin the user adds shows at the next opening of the menu.
    writeSkin(p.userSkins + "/Ash", "Ash");
    EXPECT_TRUE(list.needsRescan());

    // Without a skins folder of the user's the shipped skins still show.
    const SkinCatalog shippedOnly(QStringList{in.path("home/none"), p.sharedSkins}, p.defaultSkin(),
                                  {}, sink);
    EXPECT_EQ(shippedOnly.names, QStringList({"Default", "Shipped brass", "Oak"}));
}
