#include "render/compose.h"
#include "render/pieces.h"
#include "rendertestskin.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <map>

using namespace orvanta;
using namespace rendertest;

namespace {

constexpr QRgb kGrey = 0x007f7f7f;
constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kBlue = 0xff0000ff;

QImage transparent(int w, int h, QRgb fill = kGrey) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(fill);
    return img;
}

TDervikOptions optionsIn(const SkinFolder& folder, bool quality = true, int measureType = 0) {
    TDervikOptions o(folder.path("Compass.ini"), u'.');
    o.Quality = quality;
    o.MeasureType = measureType;
    return o;
}

// The stack as names, bottom to top.
std::vector<std::string> layerNames(const TLayerStack& s) {
    std::map<const TRotLayer*, std::string> names{
        {s.gBaseLayer, "base"},           {s.gSlideLayer, "slide"},
        {s.gBasePanelLayer, "basePanel"}, {s.gSlidePanelLayer, "slidePanel"},
        {s.gReadoutLayer, "readout"},     {s.gShapeLayer, "shape"}};
    for (int i = 0; i < kControlCount; ++i) {
        const TControlLayers& t = s.gControlLayers[std::size_t(i)];
        const std::string key = QString::fromUtf16(kControlKeys[std::size_t(i)]).toStdString();
        names[t.Normal] = key + ".n";
        names[t.Pressed] = key + ".p";
        names[t.Hover] = key + ".h";
    }
    names.erase(nullptr);
    std::vector<std::string> out;
    for (const auto& l : s.Layers())
        out.push_back(names.count(l.get()) ? names[l.get()] : "?");
    return out;
}

} // namespace

TEST(Bleed, TransparentPixelsTakeTheNearestVisibleColours) {
    struct Case {
        const char* what;
        std::vector<std::pair<QPoint, QRgb>> visible;
        QPoint probe;
        QRgb expected;
    };
    const Case cases[] = {
        {"one red neighbour", {{{4, 4}, kRed}}, {5, 4}, 0x00ff0000},
        {"red left, blue right", {{{3, 4}, kRed}, {{5, 4}, kBlue}}, {4, 4}, 0x00800080},
        {"red three rings away", {{{1, 1}, kRed}}, {4, 4}, 0x00ff0000},
        {"the nearer ring wins", {{{4, 3}, kBlue}, {{1, 4}, kRed}}, {4, 4}, 0x000000ff},
        {"nothing within six rings", {{{0, 0}, kRed}}, {9, 9}, kGrey},
        // Moving right or down never reaches the last column or row.
        {"last column unseen", {{{11, 4}, kRed}}, {10, 4}, kGrey},
        {"last column seen from the right", {{{10, 4}, kRed}}, {11, 4}, 0x00ff0000},
    };
    for (const Case& c : cases) {
        QImage img = transparent(12, 12);
        for (const auto& [at, colour] : c.visible)
            img.setPixel(at, colour);
        Bleed(img);
        EXPECT_EQ(img.pixel(c.probe), c.expected) << c.what;
        for (const auto& [at, colour] : c.visible)
            EXPECT_EQ(img.pixel(at), colour) << c.what << ": visible pixels stay";
    }
}

TEST(Bleed, RingsAreLimitedByTheBitmapSize) {
    // 8 x 8 allows rings 1 and 2 only; below 6 x 6 nothing is bled at all.
    QImage img = transparent(8, 8);
    img.setPixel(0, 0, kRed);
    Bleed(img);
    EXPECT_EQ(img.pixel(2, 2), 0x00ff0000u);
    EXPECT_EQ(img.pixel(3, 3), kGrey);
    for (const QSize size : {QSize(5, 20), QSize(20, 5)}) {
        QImage small = transparent(size.width(), size.height());
        small.setPixel(1, 1, kRed);
        Bleed(small);
        EXPECT_EQ(small.pixel(2, 1), kGrey);
    }
}

TEST(Pieces, KeyingAndCuttingKeepThePieceColoursAtItsEdges) {
    QImage bmp(10, 10, QImage::Format_RGB32);
    bmp.fill(0xffff00ff);
    bmp.setPixel(5, 5, 0xff102030);
    const QImage keyed = KeyOutColour(bmp, 0xffff00ff, kGrey);
    EXPECT_EQ(keyed.pixel(0, 0), kGrey);
    EXPECT_EQ(keyed.pixel(5, 5), 0xff102030u);

    // A piece reaching past the picture: the outside starts as the bleed
    // colour, and next to visible pixels takes theirs.
    const QImage piece = CutPiece(keyed, QRect(2, 2, 12, 12), 0x00112233);
    ASSERT_EQ(piece.size(), QSize(12, 12));
    EXPECT_EQ(piece.pixel(3, 3), 0xff102030u);
    EXPECT_EQ(piece.pixel(4, 3), 0x00102030u);
    EXPECT_EQ(piece.pixel(11, 0), 0x00112233u); // outside, nothing visible near
    EXPECT_TRUE(CutPiece(keyed, QRect(5, 5, 0, 3), kGrey).isNull());

    // Transparent pixels are copied with their colour, not as premultiplied 0.
    QImage big = transparent(30, 30, 0x00abcdef);
    big.setPixel(5, 5, kRed);
    EXPECT_EQ(CutPiece(big, QRect(2, 2, 30, 30), kGrey).pixel(20, 20), 0x00abcdefu);
}

TEST(Compose, StacksTheLayersInTheirFixedOrder) {
    SkinFolder folder;
    TDervikSkin skin(folder.write(fullIni()));
    TDervikOptions options = optionsIn(folder, true, 1);
    TCompass state;
    TLayerStack stack;
    const TComposeResult r = Compose(skin, options, state, stack);
    ASSERT_TRUE(r.Ok) << r.Error.toStdString();
    EXPECT_TRUE(r.Warnings.isEmpty());
    const std::vector<std::string> expected{
        "base", "CloseRect.n", "CloseRect.p", "CloseRect.h", "slide", "basePanel", "FlipRect.n",
        "FlipRect.p", "FlipRect.h", "slidePanel", "AngleRect.n", "AngleRect.p", "AngleRect.h",
        "readout", "MenuRect.n", "MenuRect.p", "MenuRect.h", "RadiusRect.n", "RadiusRect.p",
        "RadiusRect.h", "AreaRect.n", "AreaRect.p", "AreaRect.h",
        // The circumference (measure type 1) is brought above the other two.
        "CircumferenceRect.n", "CircumferenceRect.p", "CircumferenceRect.h", "shape"};
    EXPECT_EQ(layerNames(stack), expected);
    EXPECT_TRUE(state.FComposed);
    EXPECT_TRUE(state.FNeedsRepaint);

    EXPECT_EQ(stack.gBaseLayer->Pivot, QPointF(10, 10));
    EXPECT_EQ(stack.gShapeLayer->Pivot, QPointF(10, 10));
    EXPECT_EQ(stack.gBarBitmap.size(), QSize(10, 4));
    EXPECT_EQ(stack.gBarBitmap.pixel(0, 0), kBarColour);
    EXPECT_EQ(stack.gBaseBitmap.size(), QSize(30, 20));
    EXPECT_TRUE(stack.gBaseLayer->Bitmap.isNull()); // drawn per frame
    const TControlLayers& close = stack.Control(SkinControl::Close);
    EXPECT_EQ(close.Normal->Bitmap.pixel(0, 0), kNormalLook);
    EXPECT_EQ(close.Pressed->Bitmap.pixel(0, 0), kPressedLook);
    EXPECT_EQ(close.Hover->Bitmap.pixel(0, 0), kHoverLook);
    EXPECT_TRUE(close.Normal->Visible);
    EXPECT_FALSE(close.Pressed->Visible || close.Hover->Visible);
    // Without pressed and hover looks both fall back to the normal one.
    EXPECT_EQ(stack.Control(SkinControl::Area).Hover->Bitmap.pixel(0, 0), kNormalLook);
    EXPECT_EQ(stack.gReadoutLayer->Bitmap.size(), QSize(20, 10));
    EXPECT_EQ(stack.ReadoutPlacement, TPlacement::SlidePanel);
}

TEST(Compose, ResamplingFollowsQualityButPanelTextStaysSharp) {
    SkinFolder folder;
    TDervikSkin skin(folder.write(fullIni()));
    for (const bool quality : {false, true}) {
        TDervikOptions options = optionsIn(folder, quality);
        TCompass state;
        TLayerStack stack;
        ASSERT_TRUE(Compose(skin, options, state, stack).Ok);
        for (const auto& layer : stack.Layers()) {
            const bool expected = quality && layer.get() != stack.gReadoutLayer;
            EXPECT_EQ(layer->Smooth, expected);
            EXPECT_EQ(layer->AlphaHit, layer.get() != stack.gShapeLayer);
        }
    }
}

TEST(Compose, MinimalSkinHasOnlyBaseSlideControlsAndShape) {
    SkinFolder folder;
    // No bar, no panels, no readout; a control that asks for the base panel.
    TDervikSkin skin(folder.write("[Horizontal]\nImage=sheet.png\nBaseRect=0, 5, 30, 15\n"
                                  "SlideRect=40, 0, 20, 20\nFlipRect=20, 30, 8, 8, 2\n"));
    TDervikOptions options = optionsIn(folder);
    TCompass state;
    TLayerStack stack;
    const TComposeResult r = Compose(skin, options, state, stack);
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(layerNames(stack), (std::vector<std::string>{"base", "slide", "FlipRect.n",
                                                           "FlipRect.p", "FlipRect.h", "shape"}));
    EXPECT_TRUE(stack.gBarBitmap.isNull());
    EXPECT_EQ(stack.gBaseLayer->Pivot, QPointF(0, -5)); // the pivot's y is -BaseRect.top
    EXPECT_EQ(stack.Control(SkinControl::Flip).Placement, TPlacement::Base);
    ASSERT_EQ(r.Warnings.size(), 1);
    EXPECT_TRUE(r.Warnings[0].contains("FlipRect")) << r.Warnings[0].toStdString();
}

TEST(Compose, BmpSkinsKeyOutTheTransparentColour) {
    SkinFolder folder;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(0xffff00ff); // magenta, the default key
    for (int y = 0; y < 20; ++y)
        picture.setPixel(30, y, 0xff00ff00); // a green line in the slide
    TDervikSkin skin(folder.write("[Main]\nButtonBleedColor=000080\n[Horizontal]\nImage=s.bmp\n"
                                  "BaseRect=0, 0, 20, 20\nSlideRect=20, 0, 20, 20\n"
                                  "CloseRect=0, 0, 20, 20\n",
                                  picture, "s.bmp"));
    ASSERT_FALSE(skin.ImageIsPng);
    TDervikOptions options = optionsIn(folder);
    TCompass state;
    TLayerStack stack;
    ASSERT_TRUE(Compose(skin, options, state, stack).Ok);
    EXPECT_EQ(stack.gBaseBitmap.pixel(5, 5), kGrey); // nothing visible within six rings
    const QImage& slide = stack.gSlideLayer->Bitmap;
    EXPECT_EQ(slide.pixel(10, 5), 0xff00ff00u);
    EXPECT_EQ(slide.pixel(9, 5), 0x0000ff00u);
    EXPECT_EQ(slide.pixel(1, 5), kGrey);
    EXPECT_EQ(stack.Control(SkinControl::Close).Normal->Bitmap.pixel(5, 5), 0x00000080u);
}

TEST(Compose, KeepsThePivotInPlaceAcrossSkinChanges) {
    SkinFolder folder;
    TDervikSkin narrow(folder.write(fullIni(), sheet(), "sheet.png", "a.ini"));
    TDervikSkin wide(folder.write(fullIni("BaseEdge=30\n").replace("BaseEdge=10\n", ""), sheet(),
                                  "sheet.png", "b.ini"));
    ASSERT_EQ(wide.BaseEdge, 30);
    TDervikOptions options = optionsIn(folder);
    TCompass state;
    state.FPosX = 500;
    state.FPosY = 300;
    TLayerStack stack;
    ASSERT_TRUE(Compose(narrow, options, state, stack).Ok);
    EXPECT_EQ(QPoint(state.FPosX, state.FPosY), QPoint(500, 300)); // the first one moves nothing
    ASSERT_TRUE(Compose(wide, options, state, stack).Ok);
    EXPECT_EQ(QPoint(state.FPosX, state.FPosY), QPoint(480, 300));
    ASSERT_TRUE(Compose(narrow, options, state, stack).Ok);
    EXPECT_EQ(QPoint(state.FPosX, state.FPosY), QPoint(500, 300));
}

TEST(Compose, AnUnreadablePictureLeavesThePreviousCompass) {
    SkinFolder folder;
    TDervikSkin skin(folder.write(fullIni()));
    TDervikOptions options = optionsIn(folder);
    TCompass state;
    TLayerStack stack;
    ASSERT_TRUE(Compose(skin, options, state, stack).Ok);
    const std::vector<std::string> before = layerNames(stack);
    const TRotLayer* base = stack.gBaseLayer;
    state.FNeedsRepaint = false;
    state.FPosX = 77;

    ASSERT_TRUE(QFile::remove(folder.path("sheet.png")));
    skin.BaseEdge = 40; // would move the compass if the composition went through
    const TComposeResult r = Compose(skin, options, state, stack);
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.Error.contains("sheet.png")) << r.Error.toStdString();
    EXPECT_EQ(layerNames(stack), before);
    EXPECT_EQ(stack.gBaseLayer, base);
    EXPECT_EQ(state.FPosX, 77);
    EXPECT_FALSE(state.FNeedsRepaint);
}

TEST(Compose, ReadoutFontCellHasTheSkinHeight) {
    for (const int size : {8, 12, 16, 30}) {
        const QFont font = ReadoutFont(QStringLiteral("DejaVu Sans"), size, true, false);
        const int cell = QFontMetrics(font).height();
        EXPECT_LE(cell, size + 1) << size;
        EXPECT_GE(cell, size - 1) << size;
        EXPECT_TRUE(font.bold());
        EXPECT_FALSE(font.italic());
    }
}
