// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "fakes/recordingsink.h"
#include "model/settings.h"
#include "skins/skincatalog.h"
#include "testfiles.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace orvanta;
using fakes::RecordingSink;
using test::writeAll;

namespace {

const QString kUnrecoverable = "The skin \"%1\" has a problem it cannot recover from.\r\n\r\n"
                               "Please delete this skin to fix this error.\r\n\r\n%2";

} // namespace

// Whoever repairs or deletes a skin learns which file and what is wrong.
TEST(SkinProblems, TheMessageNamesTheFileAndTheProblem) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("wood/wood.ini");
    const auto picture = [&](const QString& name) {
        QDir().mkpath(QFileInfo(dir.filePath("wood/" + name)).path());
        QImage(4, 4, QImage::Format_ARGB32).save(dir.filePath("wood/" + name));
    };
    const struct {
        const char* label;
        QByteArray definition; // empty: no file
        std::function<void()> setup;
        QString problem; // empty: the skin is usable
    } cases[] = {
        {"no definition", {}, {}, ini + ": the file does not exist"},
        {"no picture named",
         "[Horizontal]\nBaseRect=0,0,4,4\n",
         {},
         ini + ": it names no picture (\"Image\" in [Horizontal])"},
        {"picture missing",
         "[Horizontal]\nImage=leg.png\n",
         {},
         ini + ": the picture \"leg.png\" is missing"},
        {"picture is a folder", "[Horizontal]\nImage=leg.png\n",
         [&] { QDir().mkpath(dir.filePath("wood/leg.png")); },
         ini + ": Cannot read the picture \"" + dir.filePath("wood/leg.png") +
             "\": it is a folder"},
        {"Windows name, other case",
         "[Horizontal]\nImage=Pics\\LEG.png\n",
         [&] { picture("pics/leg.png"); },
         {}},
        // A package installs flattened: the subfolder is gone, the picture beside.
        {"subfolder flattened away",
         "[Horizontal]\nImage=images\\leg.png\n",
         [&] { picture("leg.png"); },
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QDir(dir.filePath("wood")).removeRecursively();
        if (!c.definition.isEmpty())
            writeAll(ini, "[一般]\n名称=Wood\n" + c.definition);
        if (c.setup)
            c.setup();
        RecordingSink sink;
        const auto skin = Skin::create(ini, sink);
        EXPECT_EQ(skin->pictureError, c.problem);
        const QString name = c.definition.isEmpty() ? "Unnamed" : "Wood";
        EXPECT_EQ(sink.shown, c.problem.isEmpty()
                                  ? QStringList{}
                                  : QStringList{kUnrecoverable.arg(name, c.problem)});
    }
}

// A skinPath that points at something the list cannot show falls back to the
// default skin, says so once and stores the fallback; the next start is quiet.
TEST(SkinProblems, AnUnusableChosenSkinFallsBackOnceAndIsStored) {
    QTemporaryDir dir;
    const QString skins = dir.filePath("skins");
    const QString defaultSkin = test::writeSkin(dir.filePath("default"), "Default", "default.ini");
    const QString outside = test::writeSkin(dir.filePath("elsewhere"), "Outside");
    const QString text = writeAll(dir.filePath("notes.txt"), "no skin at all");
    const QString gone = dir.filePath("skins/gone/gone.ini");
    const QString shownInstead =
        "The skin chosen in the options cannot be used; the skin \"Default\" is shown instead."
        "\r\n\r\n";
    const std::pair<QString, QString> cases[] = {
        {gone, gone + ": the file does not exist"},
        {text, text + ": it names no picture (\"Image\" in [Horizontal])"},
        {outside, outside + ": it is not in a skins folder."},
        {dir.path(), "Cannot open file \"" + dir.path() + "\". file to open is a directory"},
    };
    for (const auto& [chosen, why] : cases) {
        SCOPED_TRACE(chosen.toStdString());
        const QString file = writeAll(dir.filePath("Compass.ini"),
                                      "[Options]\r\nskinPath=" + chosen.toUtf8() + "\r\n");
        for (const bool again : {false, true}) {
            RecordingSink sink;
            Settings options(file);
            SkinCatalog list(skins, defaultSkin, options.skinPath, sink);
            EXPECT_EQ(list.keepSelection(options), !again);
            EXPECT_EQ(sink.shown, again ? QStringList{} : QStringList{shownInstead + why});
            EXPECT_EQ(Settings(file).skinPath, defaultSkin);
        }
    }

    // A first start of an installed program names no skin (the options' own
    // default lies beside them, where no skin is): nothing is said or written.
    RecordingSink sink;
    Settings options(dir.filePath("config/Compass.ini"));
    SkinCatalog list(skins, defaultSkin, options.skinPath, sink);
    EXPECT_FALSE(list.keepSelection(options));
    EXPECT_TRUE(sink.shown.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(options.fileName));
    EXPECT_EQ(options.skinPath, defaultSkin); // what the next save stores
}

// Name, author and description in the language spoken, else the file's own.
TEST(SkinProblems, SkinTextsFollowTheLanguage) {
    QTemporaryDir dir;
    const QString ini = writeAll(dir.filePath("w/w.ini"), "[一般]\n名称=胡桃木\nname[EN]=Walnut\n"
                                                          "Name[zh_TW]=胡桃木（繁）\nName[de]=\n"
                                                          "作者=设计组\n描述=木\n"
                                                          "Description[en_GB]=Wood\n");
    const Skin skin(ini);
    const std::pair<const char*, const char*> names[] = {
        {"en", "Walnut"},          {"en_US", "Walnut"}, {"zh_TW", "胡桃木（繁）"},
        {"zh-TW", "胡桃木（繁）"}, {"zh_CN", "胡桃木"}, {"de", "胡桃木"}, // empty: not a text
    };
    for (const auto& [language, name] : names)
        EXPECT_EQ(skin.nameText.in(QString::fromUtf8(language)), QString::fromUtf8(name))
            << language;
    EXPECT_EQ(skin.descriptionText.in(u"en_GB"), "Wood");
    EXPECT_EQ(skin.descriptionText.in(u"en"), "木"); // a regional text is not the language's
    // The program speaks English here: what is loaded and listed says so.
    EXPECT_EQ(std::tuple(skin.name, skin.author, skinTextLanguage()),
              std::tuple(QString("Walnut"), QString("设计组"), QString("en")));
}
