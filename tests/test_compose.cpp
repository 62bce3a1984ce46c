// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/compose.h"
#include "render/pieces.h"
#include "rendertestskin.h"

#include <QFile>
#include <gtest/gtest.h>
#include <map>

using namespace orvanta;
using namespace rendertest;

namespace {

constexpr QRgb kGrey = 0x007f7f7f;
constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kBlue = 0xff0000ff;

QImage filled(QSize size, QRgb fill = kGrey) {
    QImage img(size, QImage::Format_ARGB32);
    img.fill(fill);
    return img;
}

// The stack as names, bottom to top.
std::vector<std::string> layerNames(const LayerStack& s) {
    std::map<const Layer*, std::string> names{
        {s.baseLayer, "base"},           {s.slideLayer, "slide"},
        {s.basePanelLayer, "basePanel"}, {s.slidePanelLayer, "slidePanel"},
        {s.readoutLayer, "readout"},     {s.shapeLayer, "shape"}};
    for (std::size_t i = 0; i < s.controlLayers.size(); ++i) {
        const ControlLayers& t = s.controlLayers[i];
        const std::string key = QString::fromUtf16(kControlKeys[i]).toStdString();
        names[t.normal] = key + ".n";
        names[t.pressed] = key + ".p";
        names[t.hover] = key + ".h";
    }
    std::vector<std::string> out;
    for (const auto& l : s.layers())
        out.push_back(names.count(l.get()) ? names[l.get()] : "?");
    return out;
}

class Compose : public ::testing::Test {
protected:
    ComposeResult compose(Skin& skin, bool quality = true, int measureType = 0) {
        options.quality = quality;
        options.measureType = MeasureKind(measureType);
        return orvanta::compose(skin, options, state, stack);
    }
    SkinFolder folder;
    Settings options{folder.path("Compass.ini"), u'.'};
    CompassState state;
    LayerStack stack;
};

} // namespace

TEST(Bleed, TransparentPixelsTakeTheNearestVisibleColours) {
    struct Case {
        const char* what;
        QSize size;
        std::vector<std::pair<QPoint, QRgb>> visible;
        QPoint probe;
        QRgb expected;
    };
    const Case cases[] = {
        {"red left, blue right", {12, 12}, {{{3, 4}, kRed}, {{5, 4}, kBlue}}, {4, 4}, 0x00800080},
        {"the nearer ring wins", {12, 12}, {{{4, 3}, kBlue}, {{1, 4}, kRed}}, {4, 4}, 0x000000ff},
        // Moving right or down never reaches the last column or row.
        {"last column unseen", {12, 12}, {{{11, 4}, kRed}}, {10, 4}, kGrey},
        {"last column seen from the right", {12, 12}, {{{10, 4}, kRed}}, {11, 4}, 0x00ff0000},
        // The bitmap's size limits the rings: 8 x 8 allows two; below 6 x 6, none.
        {"8 x 8, ring 2", {8, 8}, {{{0, 0}, kRed}}, {2, 2}, 0x00ff0000},
        {"8 x 8, ring 3", {8, 8}, {{{0, 0}, kRed}}, {3, 3}, kGrey},
        {"5 high", {20, 5}, {{{1, 1}, kRed}}, {2, 1}, kGrey},
    };
    for (const Case& c : cases) {
        QImage img = filled(c.size);
        for (const auto& [at, colour] : c.visible)
            img.setPixel(at, colour);
        bleedEdges(img);
        EXPECT_EQ(img.pixel(c.probe), c.expected) << c.what;
        for (const auto& [at, colour] : c.visible)
            EXPECT_EQ(img.pixel(at), colour) << c.what << ": visible pixels stay";
    }
}

TEST(Pieces, KeyingAndCuttingKeepThePieceColoursAtItsEdges) {
    QImage bmp(10, 10, QImage::Format_RGB32);
    bmp.fill(0xffff00ff);
    bmp.setPixel(5, 5, 0xff102030);
    const QImage keyed = keyOutColour(bmp, 0xffff00ff, kGrey);
    EXPECT_EQ(keyed.pixel(0, 0), kGrey);

    // A piece reaching past the picture: the outside starts as the bleed
    // colour, and next to visible pixels takes theirs.
    const QImage piece = cutPiece(keyed, QRect(2, 2, 12, 12), 0x00112233);
    ASSERT_EQ(piece.size(), QSize(12, 12));
    EXPECT_EQ(piece.pixel(3, 3), 0xff102030u);
    EXPECT_EQ(piece.pixel(4, 3), 0x00102030u);
    EXPECT_EQ(piece.pixel(11, 0), 0x00112233u); // outside, nothing visible near
    EXPECT_TRUE(cutPiece(keyed, QRect(5, 5, 0, 3), kGrey).isNull());

    // Transparent pixels are copied with their colour, not as premultiplied 0.
    QImage big = filled({30, 30}, 0x00abcdef);
    big.setPixel(5, 5, kRed);
    EXPECT_EQ(cutPiece(big, QRect(2, 2, 30, 30), kGrey).pixel(20, 20), 0x00abcdefu);
}

TEST_F(Compose, StacksTheLayersInTheirFixedOrder) {
    Skin skin(folder.write(fullIni()));
    const ComposeResult r = compose(skin, true, 1);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.warnings.isEmpty());
    const std::vector<std::string> expected{
        "base", "CloseRect.n", "CloseRect.p", "CloseRect.h", "slide", "basePanel", "FlipRect.n",
        "FlipRect.p", "FlipRect.h", "slidePanel", "AngleRect.n", "AngleRect.p", "AngleRect.h",
        "readout", "MenuRect.n", "MenuRect.p", "MenuRect.h", "RadiusRect.n", "RadiusRect.p",
        "RadiusRect.h", "AreaRect.n", "AreaRect.p", "AreaRect.h",
        // The circumference (measure type 1) is brought above the other two.
        "CircumferenceRect.n", "CircumferenceRect.p", "CircumferenceRect.h", "shape"};
    EXPECT_EQ(layerNames(stack), expected);
    EXPECT_TRUE(state.composed && state.needsRepaint);
    EXPECT_EQ(stack.baseLayer->pivot, QPointF(10, 10));
    EXPECT_EQ(stack.barBitmap.pixel(0, 0), kBarColour);
    const ControlLayers& close = stack.control(SkinControl::Close);
    EXPECT_EQ(close.pressed->bitmap.pixel(0, 0), kPressedLook);
    EXPECT_EQ(close.hover->bitmap.pixel(0, 0), kHoverLook);
    EXPECT_FALSE(close.pressed->visible || close.hover->visible);
    // Without pressed and hover looks both fall back to the normal one.
    EXPECT_EQ(stack.control(SkinControl::Area).hover->bitmap.pixel(0, 0), kNormalLook);
    // Resampling follows the quality option, but the panel text stays sharp.
    for (const bool quality : {true, false}) {
        ASSERT_TRUE(compose(skin, quality).ok);
        for (const auto& layer : stack.layers()) {
            EXPECT_EQ(layer->smooth, quality && layer.get() != stack.readoutLayer);
            EXPECT_EQ(layer->alphaHit, layer.get() != stack.shapeLayer);
        }
    }
}

TEST_F(Compose, MinimalSkinHasOnlyBaseSlideControlsAndShape) {
    // No bar, no panels, no readout; a control that asks for the base panel.
    Skin skin(folder.write("[Horizontal]\nImage=sheet.png\nBaseRect=0, 5, 30, 15\n"
                           "SlideRect=40, 0, 20, 20\nFlipRect=20, 30, 8, 8, 2\n"));
    const ComposeResult r = compose(skin);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(layerNames(stack), (std::vector<std::string>{"base", "slide", "FlipRect.n",
                                                           "FlipRect.p", "FlipRect.h", "shape"}));
    EXPECT_EQ(stack.baseLayer->pivot, QPointF(0, -5)); // the pivot's y is -baseRect.top
    EXPECT_EQ(stack.control(SkinControl::Flip).placement, Placement::Base);
    ASSERT_EQ(r.warnings.size(), 1);
    EXPECT_TRUE(r.warnings[0].contains("FlipRect")) << r.warnings[0].toStdString();
}

TEST_F(Compose, BmpSkinsKeyOutTheTransparentColour) {
    QImage picture = filled({40, 20}, 0xffff00ff); // magenta, the default key
    for (int y = 0; y < 20; ++y)
        picture.setPixel(30, y, 0xff00ff00); // a green line in the slide
    Skin skin(folder.write("[Main]\nButtonBleedColor=000080\n[Horizontal]\nImage=s.bmp\n"
                           "BaseRect=0, 0, 20, 20\nSlideRect=20, 0, 20, 20\n"
                           "CloseRect=0, 0, 20, 20\n",
                           picture.convertToFormat(QImage::Format_RGB32), "s.bmp"));
    ASSERT_FALSE(skin.imageIsPng);
    ASSERT_TRUE(compose(skin).ok);
    EXPECT_EQ(stack.baseBitmap.pixel(5, 5), kGrey); // nothing visible within six rings
    EXPECT_EQ(stack.slideLayer->bitmap.pixel(9, 5), 0x0000ff00u);
    EXPECT_EQ(stack.control(SkinControl::Close).normal->bitmap.pixel(5, 5), 0x00000080u);
}

TEST_F(Compose, KeepsThePivotInPlaceAcrossSkinChanges) {
    Skin narrow(folder.write(fullIni(), sheet(), "sheet.png", "a.ini"));
    Skin wide(folder.write(fullIni().replace("BaseEdge=10", "BaseEdge=30"), sheet(), "sheet.png",
                           "b.ini"));
    state.posX = 500;
    state.posY = 300;
    ASSERT_TRUE(compose(narrow).ok);
    EXPECT_EQ(QPoint(state.posX, state.posY), QPoint(500, 300)); // the first one moves nothing
    ASSERT_TRUE(compose(wide).ok);
    EXPECT_EQ(QPoint(state.posX, state.posY), QPoint(480, 300));
}

TEST_F(Compose, AnUnreadablePictureLeavesThePreviousCompass) {
    Skin skin(folder.write(fullIni()));
    ASSERT_TRUE(compose(skin).ok);
    const Layer* base = stack.baseLayer;
    state.needsRepaint = false;
    state.posX = 77;

    ASSERT_TRUE(QFile::remove(folder.path("sheet.png")));
    skin.baseEdge = 40; // would move the compass if the composition went through
    const ComposeResult r = compose(skin);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("sheet.png")) << r.error.toStdString();
    EXPECT_EQ(stack.baseLayer, base);
    EXPECT_EQ(state.posX, 77);
    EXPECT_FALSE(state.needsRepaint);
}

TEST(ReadoutFont, CellHasTheSkinHeight) {
    for (const int size : {8, 30}) {
        const QFont font = readoutFont(QStringLiteral("DejaVu Sans"), size, true, false);
        EXPECT_NEAR(QFontMetrics(font).height(), size, 1) << size;
    }
}
