// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "fakes/recordingsink.h"
#include "logcapture.h"
#include "skins/skincatalog.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;
using fakes::RecordingSink;

namespace {

// The box for a skin whose picture pic.png is gone; it names the file.
QString unrecoverable(const QString& name, const QString& definition) {
    return "The skin \"" + name +
           "\" has a problem it cannot recover from.\r\n\r\nPlease delete this skin to fix "
           "this error.\r\n\r\n" +
           definition + ": the picture \"pic.png\" is missing";
}

// A program folder with "default/default.ini" and "skins/<folder>/<file>", each
// skin with its own picture unless it is to be broken.
class ProgramFolder {
public:
    [[nodiscard]] QString skins() const { return m_dir.filePath("skins"); }
    [[nodiscard]] QString defaultPath() const { return m_dir.filePath("default/default.ini"); }

    QString addDefault(const QString& name = "Default", bool picture = true) {
        return test::writeSkin(m_dir.filePath("default"), name, "default.ini", picture);
    }
    QString addSkin(const QString& folder, const QString& name, bool picture = true,
                    const QString& file = "skin.ini") {
        return test::writeSkin(skins() + '/' + folder, name, file, picture);
    }
    SkinCatalog build(const QString& selected = {}) {
        return SkinCatalog(skins(), defaultPath(), selected, sink);
    }

    RecordingSink sink;

private:
    QTemporaryDir m_dir;
};

} // namespace

TEST(SkinCatalog, DefaultFirstThenFoldersInNameOrder) {
    ProgramFolder p;
    p.addDefault();
    p.addSkin("beta", "B");
    const QString alpha = p.addSkin("Alpha", "A");
    p.addSkin("gamma", "G2", true, "z.ini");
    p.addSkin("gamma", "G1", true, "Y.INI"); // first by name; "*.ini" ignores case
    p.addSkin("delta/nested", "N");          // folders in folders are not searched
    p.addSkin(".Alpha.partial-1", "P");      // an installation that did not finish
    QDir(p.skins()).mkpath("empty");
    const SkinCatalog list = p.build(alpha);
    EXPECT_EQ(list.names, QStringList({"Default", "A", "B", "G1"}));
    EXPECT_EQ(list.paths[1], p.skins() + "/Alpha/skin.ini");
    EXPECT_EQ(list.selectedIndex, 1);
    EXPECT_EQ(list.skin->name, "A");
    EXPECT_TRUE(p.sink.shown.isEmpty());
    EXPECT_FALSE(list.needsRescan());
}

TEST(SkinCatalog, SelectsByExactPathOrFallsBackToTheDefault) {
    ProgramFolder p;
    p.addDefault();
    const QString a = p.addSkin("a", "Same");
    const QString b = p.addSkin("b", "Same");
    const std::vector<std::pair<QString, std::int32_t>> cases = {
        {b, 2}, {a, 1}, {p.defaultPath(), 0}, {b.toUpper(), 0}, {"/elsewhere/x.ini", 0}};
    for (const auto& [selected, index] : cases)
        EXPECT_EQ(p.build(selected).selectedIndex, index) << selected.toStdString();
}

TEST(SkinCatalog, SelectSavesReloadsAndFallsBackWhenTheSkinBroke) {
    ProgramFolder p;
    p.addDefault();
    const QString a = p.addSkin("a", "A");
    QTemporaryDir dir;
    Settings options(dir.filePath("Compass.ini"));
    SkinCatalog list = p.build();
    const Skin* loaded = list.skin.get();
    for (const std::int32_t index : {0, 2, -1}) {
        list.select(index); // the selected one, or outside the list: nothing happens
        EXPECT_EQ(list.skin.get(), loaded) << index;
    }
    list.selectSkin(1, options);
    EXPECT_EQ(list.skin->name, "A");
    EXPECT_EQ(Settings(options.fileName).skinPath, a);
    p.addSkin("a", "A edited");
    list.reload();
    EXPECT_EQ(list.skin->name, "A edited");

    list.select(0);
    ASSERT_TRUE(QFile::remove(p.skins() + "/a/pic.png"));
    list.select(1);
    EXPECT_EQ(p.sink.shown, QStringList{unrecoverable("A edited", a)});
    EXPECT_EQ(std::pair(list.selectedIndex, list.skin->name), std::pair(0, QString("Default")));
}

TEST(SkinCatalog, BrokenSkinIsReportedOnceAndLeftOut) {
    ProgramFolder p;
    p.addDefault();
    const QString broken = p.addSkin("broken", "Bad", false);
    p.addSkin("good", "Good");
    const test::LogCapture log;
    SkinCatalog list = p.build(broken);
    EXPECT_EQ(p.sink.shown, QStringList{unrecoverable("Bad", broken)});
    EXPECT_EQ(log.lines, QStringList("orvanta.skins: Cannot use the skin \"" + broken +
                                     "\": " + broken + ": the picture \"pic.png\" is missing"));
    EXPECT_EQ(list.names, QStringList({"Default", "Good"}));
    EXPECT_EQ(list.skin->name, "Default"); // it was the selected one
    // Its folder was seen: opening the menu does not rebuild and report again.
    EXPECT_FALSE(list.needsRescan());
    ASSERT_TRUE(QDir(p.skins() + "/good").removeRecursively());
    EXPECT_TRUE(list.needsRescan());
    p.addSkin("new", "New"); // as many folders as before, but another one
    EXPECT_TRUE(list.needsRescan());
}

TEST(SkinCatalog, BuiltInSkinWhenNotEvenTheDefaultLoads) {
    ProgramFolder p;
    p.addDefault("Default", false);
    p.addSkin("a", "A");
    SkinCatalog list = p.build(p.defaultPath());
    EXPECT_EQ(p.sink.shown,
              QStringList{unrecoverable("Default", p.defaultPath())}); // once, not again to load
    EXPECT_TRUE(list.usesFallback());
    EXPECT_EQ(list.names, QStringList({"Built-in skin", "A"}));
    EXPECT_EQ(list.paths[0], p.defaultPath());
    list.select(1);
    EXPECT_FALSE(list.usesFallback());

    ProgramFolder unreadable; // a folder where the default definition should be
    QDir().mkpath(unreadable.defaultPath());
    EXPECT_TRUE(unreadable.build().usesFallback());
    EXPECT_EQ(unreadable.sink.shown,
              QStringList{"There is a problem with one of the skins.\r\n\r\nCannot open file \"" +
                          unreadable.defaultPath() + "\". file to open is a directory"});
}

TEST(SkinCatalog, BuiltInSkinIsComplete) {
    const Skin skin(fallbackSkinPath());
    ASSERT_TRUE(skin.pictureReadable()) << skin.pictureError.toStdString();
    for (const SkinRect& r : {skin.baseRect, skin.slideRect, skin.barRect})
        EXPECT_TRUE(r.width() > 0 && r.height() > 0);
    // The bar's middle row is the pivot's row and must cross the base piece.
    const int pivotY = skin.barRect.top + skin.barRect.height() / 2 - skin.baseRect.top;
    EXPECT_TRUE(pivotY > 0 && pivotY < skin.baseRect.height());
    EXPECT_TRUE(skin.slideRect.toQRect().contains(skin.sizeRect.rects[0].toQRect()));
    EXPECT_FALSE(skin.sizeRect.onBase);
    // slideEdge counts from the base's left; the lead must lie on the slide piece.
    const int leadInSlide = skin.slideEdge - (skin.slideRect.left - skin.baseRect.left);
    EXPECT_TRUE(leadInSlide >= 0 && leadInSlide < skin.slideRect.width()) << leadInSlide;
}
