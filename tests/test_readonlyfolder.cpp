// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "controllerharness.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;
using test::readAll;
using test::writeAll;

// A portable copy on a read-only medium: assets and shipped skins from the
// copy, what the user changes where an installed program keeps it.
TEST(ReadOnlyFolder, OptionsAndUnitsGoToTheUsersFolderAndTheUserIsToldOnce) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("stick/");
    test::writeSkin(folder + "default", "Default", "default.ini");
    writeAll(folder + "Compass.ini", "[Options]\r\nFirstTime=0\r\nX=321\r\n");
    writeAll(folder + "distances.ini", "[选项]\r\nSelectedUnit=2\r\n");
    const QString config = dir.filePath("config/Orvanta/");
    const ProgramPaths p =
        ProgramPaths::forProgram(folder, dir.filePath("config"), dir.filePath("data"), false);
    EXPECT_EQ(
        QStringList({p.readOnlyFolder, p.config, p.defaultSkin(), p.unitsFiles().userFile}),
        QStringList({folder, config, folder + "default/default.ini", config + "distances.ini"}));
    EXPECT_EQ(p.skinFolders(), QStringList({dir.filePath("data/Orvanta/skins"), folder + "skins"}));

    ASSERT_TRUE(p.prepareUserFolders());
    EXPECT_TRUE(p.adoptReadOnlyFolder()); // the folder's options and units come along
    EXPECT_EQ(p.loadOptions().x, 321);
    EXPECT_EQ(readAll(config + "distances.ini"), readAll(folder + "distances.ini"));
    EXPECT_FALSE(p.adoptReadOnlyFolder()); // once
    EXPECT_EQ(p.readOnlyFolderNotice(), "The program folder \"" + folder +
                                            "\" cannot be written. Your options and units "
                                            "are kept in \"" +
                                            config + "\" instead.");
    // A writable folder stays what it was.
    EXPECT_TRUE(ProgramPaths::forProgram(folder, dir.filePath("c"), dir.filePath("d"), true)
                    .readOnlyFolder.isEmpty());
}

// A changed spread across a restart of a read-only copy: the walkthrough test.
