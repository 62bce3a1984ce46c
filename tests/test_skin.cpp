// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "fakes/recordingsink.h"
#include "model/textcodec.h"
#include "skins/skin.h"
#include "testfiles.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

using namespace orvanta;
using fakes::RecordingSink;

namespace {

// A skin folder with a 100 x 50 picture "sheet.png" and a definition "skin.ini".
class SkinFolder {
public:
    SkinFolder() { QImage(100, 50, QImage::Format_ARGB32).save(path("sheet.png")); }
    [[nodiscard]] QString path(const QString& name) const { return m_dir.filePath(name); }

    QString write(const QString& ini, bool gb18030 = false) const {
        return test::writeAll(path("skin.ini"), gb18030 ? encodeGb18030(ini) : ini.toUtf8());
    }
    [[nodiscard]] Skin load(const QString& general, const QString& main) const {
        return Skin(write("[一般]\n" + general + "\n[Main]\n" + main +
                          "\n[Horizontal]\nImage=sheet.png\n"));
    }

private:
    QTemporaryDir m_dir;
};

const QString kUnrecoverable =
    QStringLiteral("The skin \"%1\" has a problem it cannot recover from.\r\n\r\n"
                   "Please delete this skin to fix this error.");

} // namespace

TEST(SkinText, SplitsLikeCommaText) {
    const std::vector<std::pair<QString, QStringList>> cases = {
        {"ff0000, 00ff00,0000ff", {"ff0000", "00ff00", "0000ff"}},
        {"  a b,,c  ", {"a", "b", "", "c"}},
        {"a, ", {"a"}},
        {R"("x y", "say ""hi""",z)", {"x y", R"(say "hi")", "z"}},
    };
    for (const auto& [text, items] : cases)
        EXPECT_EQ(splitCommaText(text), items) << text.toStdString();
}

TEST(SkinRect, ParsesAndLimitsByThePicture) {
    const std::vector<std::pair<QString, SkinRect>> cases = {
        {"10, 20, 30, 5", {10, 20, 40, 25}},
        {"10 20 $1e 0x5", {10, 20, 40, 25}},
        {"-10, -5, 20, 10", {-10, -5, 10, 5}},
        {"10, 20", {10, 20, 10, 20}},
        // Untrusted sizes: no overflow, nothing below minus the picture size, and
        // a negative width or height gives an empty piece.
        {"2147483647, 0, 2147483647, 2147483647", {100, 0, 100, 50}},
        {"-2147483648, -2147483648, -2147483648, 5", {-100, -50, -100, -50}},
        {"10, 10, -30, -5", {10, 10, 10, 10}},
    };
    for (const auto& [text, rect] : cases)
        EXPECT_EQ(parseRect(text, 100, 50), rect) << text.toStdString();
    EXPECT_EQ(parseRect(u"10, 20, 30, 5", 0, 0), SkinRect{}); // a picture that could not be read
    EXPECT_EQ(parsePoint(u"500, -99999", 100, 50), (SkinPoint{100, -50}));
    EXPECT_EQ(parsePoint(u"x, 9", 100, 50), (SkinPoint{0, 9}));
}

TEST(SkinRect, PlacementIsReadAsText) {
    const std::vector<std::tuple<QString, bool, bool>> cases = {
        {"", true, false},     {", 1", false, false},    {", 2", true, true},
        {", 01", true, false}, {", \"3\"", false, true},
    };
    for (const auto& [fifth, onBase, onPanel] : cases) {
        ControlRects r;
        r.setFromText(ControlRects::Placement, "4, 4, 16, 16" + fifth, 100, 50);
        r.setFromText(ControlRects::Normal, u"1, 1, 1, 1, 3", 100, 50); // not read outside state 0
        EXPECT_EQ(r.rects[0], (SkinRect{4, 4, 20, 20}));
        EXPECT_EQ(std::pair(r.onBase, r.onPanel), std::pair(onBase, onPanel))
            << fifth.toStdString();
    }
}

TEST(SkinRect, LooksFallBackPressedHoverNormalPlacement) {
    const SkinRect place{1, 1, 2, 2}, down{3, 3, 4, 4}, over{5, 5, 6, 6}, normal{7, 7, 8, 8}, none;
    // The looks that are set, and what rect gives for pressed, hover, normal.
    const std::vector<std::tuple<std::array<SkinRect, 4>, SkinRect, SkinRect, SkinRect>> cases = {
        {std::array{place, down, over, normal}, down, over, normal},
        {std::array{place, none, over, normal}, over, over, normal},
        {std::array{place, none, none, normal}, normal, normal, normal},
        {std::array{place, down, none, none}, down, place, place},
        {std::array{none, none, none, none}, none, none, none},
    };
    for (const auto& [rects, pressed, hover, look] : cases) {
        ControlRects r;
        r.rects = rects;
        EXPECT_EQ(r.rect(ControlRects::Pressed), pressed);
        EXPECT_EQ(r.rect(ControlRects::Hover), hover);
        EXPECT_EQ(r.rect(9), look); // beyond the last state: the normal look
        EXPECT_EQ(r.rect(-1), rects[0]);
    }
}

TEST(SkinColor, SixHexDigitsRedGreenBlue) {
    const std::vector<std::pair<QString, std::optional<SkinColor>>> cases = {
        {"abCDEF", 0xEFCDAB},     {"ff0000zz", 0x0000FF},    {"ff00", std::nullopt},
        {"gg0000", std::nullopt}, {" ff00ff", std::nullopt},
    };
    for (const auto& [text, color] : cases)
        EXPECT_EQ(parseColor(text), color) << text.toStdString();
    EXPECT_EQ(Skin::hexToColor(u"nonsense"), 0u);
    EXPECT_EQ(colorToRgb(0x563412, 7), qRgba(0x12, 0x34, 0x56, 7));
}

TEST(Skin, MissingDefinitionGivesEveryDefault) {
    QTemporaryDir dir;
    RecordingSink sink;
    const auto skin = Skin::create(dir.filePath("none.ini"), sink);
    EXPECT_EQ(std::pair(skin->name, skin->author),
              std::pair(QString("Unnamed"), QString("Unknown")));
    EXPECT_EQ(skin->image, dir.path() + "/"); // the folder itself, which is no picture
    EXPECT_EQ(sink.shown, QStringList{kUnrecoverable.arg("Unnamed") + "\r\n\r\n" +
                                      dir.filePath("none.ini") + ": the file does not exist"});
    EXPECT_EQ(std::tuple(skin->version, skin->compassVersion, skin->imageWidth, skin->fontSize),
              std::tuple(1, 4, 0, 12));
    EXPECT_EQ(skin->fontColorText, "000000"); // the other colours fall back in UntrustedValues
    EXPECT_TRUE(skin->baseRect.isUnset());
}

TEST(Skin, ReadsALegacyEncodedDefinition) {
    SkinFolder folder;
    const Skin skin(folder.write(
        "[一般]\r\n名称=木纹\r\n作者=张三\r\n版本=$10\r\n"
        "[main]\r\nBLEEDCOLOR=101010\r\nBaseColors=\"ff0000\" 00ff00\r\n"
        "FontSize=0x14\r\nFontBold=1\r\nFontItalic=true\r\n"
        "[Horizontal]\r\nImage=sheet.png\r\nBaseRect=0, 0, 40, 50\r\nBaseEdge=20\r\n"
        "BarRect=40, 20, 10, 10\r\nBasePanelAnchor=7, 8\r\nSizeRect=62, 30, 30, 12, 1\r\n"
        "AreaRect=70, 2, 8, 8, 3\r\n"
        "[HorizontalControls]\r\nAreaRect=0, 40, 8, 8\r\nCloseRect=8, 40, 8, 8\r\n"
        "[HorizontalControlsOver]\r\nAreaRect=10, 40, 8, 8\r\n",
        true));
    EXPECT_EQ(std::tuple(skin.name, skin.author, skin.version),
              std::tuple(QString("木纹"), QString("张三"), 16));
    EXPECT_EQ(std::pair(skin.bleedColorText, skin.buttonBleedColorText),
              std::pair(QString("101010"), QString("101010")));
    EXPECT_EQ(skin.baseColors, QStringList({"ff0000", "00ff00"}));
    EXPECT_EQ(std::tuple(skin.fontSize, skin.fontBold, skin.fontItalic),
              std::tuple(20, true, false)); // "true" is no integer
    EXPECT_EQ(std::tuple(skin.imageWidth, skin.imageHeight, skin.imageIsPng),
              std::tuple(100, 50, true));
    // An absent slideRect is the whole picture.
    EXPECT_EQ(std::pair(skin.slideRect, skin.barRect),
              std::pair(SkinRect{0, 0, 100, 50}, SkinRect{40, 20, 50, 30}));
    EXPECT_EQ(std::pair(skin.baseEdge, skin.basePanelAnchor), std::pair(20, SkinPoint{7, 8}));
    EXPECT_EQ(skin.sizeRect.rect(ControlRects::Placement), (SkinRect{62, 30, 92, 42}));
    const ControlRects& area = skin.control(SkinControl::Area);
    EXPECT_EQ(std::pair(area.onBase, area.onPanel), std::pair(false, true));
    EXPECT_EQ(area.rect(ControlRects::Pressed), (SkinRect{10, 40, 18, 48}));
    // Present only among the looks, not placed: the control does not exist.
    EXPECT_TRUE(skin.control(SkinControl::Close).rect(ControlRects::Placement).isUnset());
}

TEST(Skin, UntrustedValuesFallBackOrAreClamped) {
    SkinFolder folder;
    const std::vector<std::pair<QString, std::int32_t>> sizes = {
        {"FontSize=1000000", 512},
        {"FontSize=0", 1},
        {"FontSize=-14", 14},
        {"FontSize=-2147483648", 512},
    };
    for (const auto& [line, size] : sizes)
        EXPECT_EQ(folder.load("", line).fontSize, size) << line.toStdString();

    const Skin skin =
        folder.load("名称=" + QString(3000, u'n') + "\nCompassVersion=5x",
                    "TransColor=xyz\nBleedColor=abc\nButtonBleedColor=fff\nBaseColors=zz, 0000ff");
    EXPECT_EQ(skin.name.size(), 2047);
    EXPECT_EQ(skin.compassVersion, 4);
    EXPECT_EQ(QStringList({skin.transColorText, skin.bleedColorText, skin.buttonBleedColorText}),
              QStringList({"ff00ff", "7f7f7f", "7f7f7f"}));
    EXPECT_EQ(skin.baseColors, QStringList{"0000ff"});
}

TEST(Skin, BaseColorsStepAndWrap) {
    SkinFolder folder;
    // An empty list falls back to the default list, so stepping still does something.
    Skin skin = folder.load("", "BaseColors=");
    std::vector<SkinColor> seen;
    for (int i = 0; i < 6; ++i, skin.nextBaseColor())
        seen.push_back(skin.baseColor());
    EXPECT_EQ(seen, (std::vector<SkinColor>{0xFF, 0xFF00, 0xFF0000, 0, 0xFFFFFF, 0xFF}));
    for (const std::int32_t stale : {5, -1, std::numeric_limits<std::int32_t>::max()}) {
        skin.baseColorIndex = stale; // from a hand-edited options file
        EXPECT_EQ(skin.baseColor(), 0xFFu) << stale;
        skin.baseColorIndex = stale;
        skin.nextBaseColor();
        EXPECT_EQ(skin.baseColorIndex, 0) << stale;
    }
}

TEST(Skin, TellsAboutNewerSkinsAndUnreadablePictures) {
    SkinFolder folder;
    const std::vector<std::tuple<QString, QString, QStringList>> cases = {
        {"CompassVersion=4", "sheet.png", {}},
        {"CompassVersion=5",
         "sheet.png",
         {"This skin \"S\" was made for compass version 5.\r\n\r\nDelete this skin or get "
          "compass version 5 from https://" ORVANTA_WEB_HOST}},
        {"", "photo.jpg", {kUnrecoverable.arg("S")}},
    };
    for (const auto& [general, image, messages] : cases) {
        RecordingSink sink;
        const auto skin = Skin::create(
            folder.write("[一般]\n名称=S\n" + general + "\n[Horizontal]\nImage=" + image), sink);
        // The paragraph naming the file and the problem: test_skinproblems.
        QStringList shown = sink.shown;
        for (QString& text : shown)
            text = text.section(QStringLiteral("\r\n\r\n"), 0, 1);
        EXPECT_EQ(shown, messages) << general.toStdString() << image.toStdString();
    }
}

TEST(Skin, FindsPictureNamedTheWindowsWay) {
    SkinFolder folder;
    ASSERT_TRUE(QDir(folder.path("")).mkdir("Pics"));
    QImage(7, 3, QImage::Format_ARGB32).save(folder.path("Pics/Sheet.PNG"), "PNG");
    const Skin skin(folder.write("[Horizontal]\nImage=pics\\sheet.png\n"));
    EXPECT_EQ(skin.image, folder.path("Pics/Sheet.PNG"));
    EXPECT_EQ(std::tuple(skin.imageIsPng, skin.imageWidth, skin.imageHeight),
              std::tuple(true, 7, 3));
}
