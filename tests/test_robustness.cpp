// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Extreme states and hostile skins render without a crash, a hang or an absurd
// allocation: every image stays the desktop's size or the picture's, and every
// number the renderer leaves behind is one the next start can read.
#include "model/orvantaerror.h"
#include "render/compassrenderer.h"
#include "rendertestskin.h"
#include "skins/picture.h"
#include "testfiles.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <sys/resource.h>

using namespace orvanta;
using namespace rendertest;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
// A render of the largest desktop under the sanitizers takes well under this;
// a hang or a runaway loop does not.
constexpr qint64 kRenderBudgetMs = 20000;

// Three 4K monitors side by side, the middle one primary.
DesktopGeometry threeFourK() {
    const QRect left(-3840, 0, 3840, 2160), middle(0, 0, 3840, 2160), right(3840, 0, 3840, 2160);
    return {left.united(right), {left, middle, right}, middle};
}

class Robustness : public ::testing::Test {
protected:
    void SetUp() override { options.firstTime = false; }

    // Composes `skin` and renders one frame on `desktop`, then checks that
    // nothing grew beyond what the desktop and the skin picture justify.
    void renderOnce(const DesktopGeometry& desktop, Skin& skin) {
        model.initialise(desktop);
        applyState();
        ASSERT_TRUE(compose(skin, options, model.state, renderer.layers).ok);
        applyState(); // composing may move the compass to keep the pivot
        QElapsedTimer clock;
        clock.start();
        RenderInput in{model, skin, desktop, true, false};
        const Frame frame = renderer.renderCompass(in);
        EXPECT_LT(clock.elapsed(), kRenderBudgetMs);
        EXPECT_TRUE(frame.rendered);
        const QSize screen = desktop.virtualRect.size();
        EXPECT_TRUE(QRect(QPoint(), screen).contains(renderer.windowRect()));
        EXPECT_EQ(renderer.windowImage().size(), renderer.windowRect().size());
        EXPECT_TRUE(QRect(QPoint(), screen).contains(renderer.bounds) || renderer.bounds.isEmpty());
        // No layer is larger than the desktop plus the skin picture around it.
        const qint64 limit =
            qint64(screen.width() + 2 * skin.imageWidth) * (screen.height() + 2 * skin.imageHeight);
        for (const auto& layer : renderer.layers.layers())
            EXPECT_LE(qint64(layer->bitmap.width()) * layer->bitmap.height(), limit);
        // What the render stored is what the next start reads back.
        EXPECT_TRUE(std::isfinite(options.angle));
        EXPECT_TRUE(std::isfinite(options.measurement));
        EXPECT_GE(options.measurement, 0.0f);
        EXPECT_LE(options.measurement, float(model.state.maxLength));
        EXPECT_FALSE(model.state.displayText.isEmpty());
    }
    // The state under test, set after Initialise has read the options.
    void applyState() {
        model.state.angle = angle;
        model.state.measurement = spread < 0 ? float(model.state.maxLength) : spread;
    }

    SkinFolder folder;
    Skin skin{folder.write(fullIni())};
    Settings options{folder.path("Compass.ini"), u'.'};
    UnitTable units{folder.path(""), QString(), u'.'};
    CompassModel model{options, units, u'.'};
    CompassRenderer renderer;
    float angle = 0;
    float spread = -1; // the longest spread the desktop allows
};

} // namespace

TEST_F(Robustness, ExtremeSpreadsAnglesAndFiguresOnSmallAndHugeDesktops) {
    const auto single = [](int w, int h) {
        return DesktopGeometry{QRect(0, 0, w, h), {QRect(0, 0, w, h)}, QRect(0, 0, w, h)};
    };
    const DesktopGeometry huge = threeFourK(), small = single(640, 480), svga = single(800, 600);
    struct Case {
        const DesktopGeometry* desktop;
        std::int32_t shape, scribe, measureType;
        float angle, spread;
    };
    // The longest spread (-1) on three 4K monitors, then absurd angles and spreads.
    std::vector<Case> cases = {{&huge, 0, 0, 0, 0, -1},           {&huge, 0, 0, 2, 45, -1},
                               {&huge, 39, 0, 1, 30, -1},         {&huge, 39, 1, 2, 180, -1},
                               {&huge, 3, 0, 0, 269.9f, -1},      {&svga, 0, 0, 0, 1e30f, 100},
                               {&svga, 0, 0, 0, -1e30f, 100},     {&svga, 0, 0, 0, kInf, 50},
                               {&svga, 0, 0, 0, -kInf, 50},       {&svga, 0, 0, 0, kNaN, kNaN},
                               {&svga, 0, 0, 0, 1e-30f, kInf},    {&svga, 0, 0, 0, 90, -kInf},
                               {&svga, 0, 0, 0, -89.999f, 1e30f}, {&svga, 0, 0, 0, 3.4e38f, 0.4f}};
    // The many-sided polygon at the smallest spreads, in every mode.
    for (const float s : {0.0f, 1.0f})
        for (const std::int32_t scribe : {0, 1})
            for (const std::int32_t type : {0, 1, 2})
                cases.push_back({&small, 39, scribe, type, 0, s});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "shape " << c.shape << "/" << c.scribe << "/" << c.measureType << " angle "
                     << c.angle << " spread " << c.spread);
        options.shape = c.shape;
        options.scribe = Inscription(c.scribe);
        options.measureType = MeasureKind(c.measureType);
        angle = c.angle;
        spread = c.spread;
        renderOnce(*c.desktop, skin);
        EXPECT_TRUE(std::isfinite(renderer.geometry().centre.x()));
        EXPECT_FALSE(model.formatMeasurement().contains(u"nan", Qt::CaseInsensitive));
        // The longest spread stays the longest; a whole one within it stays as it is.
        if (c.spread < 0) {
            EXPECT_EQ(model.state.measurement, float(model.state.maxLength));
        } else if (c.spread <= float(model.state.maxLength) && c.spread == std::round(c.spread)) {
            EXPECT_EQ(model.state.measurement, c.spread);
        }
        if (c.desktop == &huge) {
            EXPECT_GT(model.state.maxLength, 11520);
        }
    }
}

TEST_F(Robustness, HandEditedNumbersThatAreNotNumbers) {
    // Written by hand: not-a-number, infinities and values past every range.
    Settings edited(
        test::writeAll(
            folder.path("Compass.ini"),
            "[Options]\r\nFirstTime=0\r\nAngle=nan\r\nMeasurement=inf\r\nX=2147483647\r\n"
            "Y=-2147483648\r\nShape=-7\r\nScribe=9\r\nMeasureType=77\r\n"
            "Transparency=-1\r\nSelectedBaseColor=123456\r\n"),
        u'.');
    CompassModel editedModel(edited, units, u'.');
    const DesktopGeometry desktop{
        QRect(0, 0, 1024, 768), {QRect(0, 0, 1024, 768)}, QRect(0, 0, 1024, 768)};
    editedModel.initialise(desktop);
    ASSERT_TRUE(compose(skin, edited, editedModel.state, renderer.layers).ok);
    RenderInput in{editedModel, skin, desktop, true, false};
    renderer.renderCompass(in);
    if (editedModel.state.needsRepaint) // the compass was off screen: centred
        renderer.renderCompass(in);
    EXPECT_TRUE(QRect(0, 0, 1024, 768).intersects(renderer.bounds));
    ASSERT_TRUE(edited.save());
    const Settings again(folder.path("Compass.ini"), u'.');
    EXPECT_TRUE(std::isfinite(again.angle));
    EXPECT_TRUE(std::isfinite(again.measurement));
}

namespace {

// The peak memory of this process so far, in MiB.
long peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

TEST(HostilePictures, ChunkLengthsBeyondTheFileAreRefusedBeforeAllocating) {
    // A real picture's signature and header, then a chunk that claims far more
    // than the file holds. libpng used to allocate and clear the claimed length
    // (720 MiB for 200 bytes) before noticing the data missing.
    QByteArray real;
    QBuffer buffer(&real);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(sheet().save(&buffer, "PNG"));
    const QByteArray header = real.left(33); // signature and IHDR
    const auto chunk = [](quint32 length, const char* type, const QByteArray& data) {
        QByteArray c(4, '\0');
        qToBigEndian(length, c.data());
        return c + type + data;
    };
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"text chunk of 720 MiB", header + chunk(0x2D000025, "tEXt", "da:create02G")},
        {"largest chunk length", header + chunk(0x7FFFFFFF, "zTXt", QByteArray(40, 'x'))},
        {"picture data of 2 GiB", header + chunk(0x7FFFFFFF, "IDAT", QByteArray(40, 'x'))},
        {"ancillary chunk cut short", header + chunk(100, "tIME", QByteArray(99, 'x'))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const long before = peakMiB();
        EXPECT_EQ(test::errorOf([&] { (void)decodePng(c.bytes); }),
                  "the PNG data is damaged: the file ends too early");
        EXPECT_LT(peakMiB() - before, 64);
    }
    // Data after the end chunk is not the picture's: the picture still reads.
    EXPECT_EQ(decodePng(real + chunk(0x7FFFFFFF, "tEXt", "x")).size(), sheet().size());
}

TEST(HandEditedOptions, NumbersBeyondTheFloatRangeGiveTheDefault) {
    // Such a number used to become an infinity, which the next save wrote as
    // a text that reads back as the default: the setting changed behind the
    // user's back, and the compass drew from an infinite angle meanwhile.
    constexpr float kMax = std::numeric_limits<float>::max();
    const struct {
        const char* text;
        float angle, measurement; // the defaults are 0 and 100
    } cases[] = {
        {"1e301", 0, 100},
        {"-1e39", 0, 100},
        {"3.40282346638529E38", kMax, kMax}, // the largest float as a save writes it
        {"-3.4028234663852886e38", -kMax, -kMax},
        {"1e-50", 0, 0}, // rounds to zero, which is a number
        {"270", 270, 270},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("Compass.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        test::writeAll(path, QByteArray("[Options]\r\nAngle=") + c.text +
                                 "\r\nMeasurement=" + c.text + "\r\n");
        Settings options(path, u'.');
        EXPECT_EQ(options.angle, c.angle);
        EXPECT_EQ(options.measurement, c.measurement);
        ASSERT_TRUE(options.save());
        const Settings again(path, u'.');
        EXPECT_EQ(again.angle, options.angle);
        EXPECT_EQ(again.measurement, options.measurement);
    }
}

TEST(FarAwayLayers, BoundsAtTheEndOfTheIntegerRangeTouchNoScreen) {
    // A hand-edited position near the end of the int range used to overflow
    // when the bounds were rounded to ints (caught by the sanitizer build):
    // a layer that far away must touch no pixel of any desktop.
    const QRect anyDesktop(-(1 << 20), -(1 << 20), 1 << 21, 1 << 21);
    const struct {
        QPointF position;
        float angle;
        bool onScreen;
    } cases[] = {{{2147483000, 0}, 0, false},      {{2147483647, 2147483647}, 45, false},
                 {{-2147483648.0, 0}, 180, false}, {{0, -2147483000}, 269, false},
                 {{1e300, -1e300}, 0, false},      {{100, 100}, 30, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position.x() << ", " << c.position.y());
        Layer layer;
        layer.bitmap = QImage(40, 20, QImage::Format_ARGB32);
        layer.position = c.position;
        layer.angle = c.angle;
        const QRect bounds = layer.transformedBounds();
        EXPECT_EQ(bounds.intersects(anyDesktop), c.onScreen);
        if (c.onScreen) {
            EXPECT_GE(bounds.width(), 40);
        }
    }
}

TEST_F(Robustness, EveryRectangleAtThePicturesEdge) {
    // The 120 x 60 sheet with every piece touching or crossing its border:
    // empty pieces at the far corner, one-pixel pieces in it, pieces that
    // reach past it and edges beyond every piece.
    const QString ini = QStringLiteral(
        "[Main]\nBaseColors=ff0000\nFontSize=512\n[Horizontal]\nImage=sheet.png\n"
        "BaseRect=119, 59, 1, 1\nBaseEdge=2147483647\nBarRect=120, 60, 10, 10\n"
        "SlideRect=0, 59, 120, 1000\nSlideEdge=-2147483648\n"
        "BasePanelRect=-2147483648, -2147483648, 2147483647, 2147483647\n"
        "BasePanelCenter=120, 60\nBasePanelAnchor=-120, -60\n"
        "SlidePanelRect=119, 0, 1, 60\nSlidePanelCenter=2147483647, 2147483647\n"
        "SlidePanelAnchor=120, 60\nSizeRect=0, 0, 120, 60, 3\n"
        "CloseRect=120, 60, 1, 1\nMenuRect=119, 59, 1, 1, 1\nFlipRect=0, 0, 0, 0, 2\n"
        "AngleRect=0, 0, 120, 60, 3\nRadiusRect=119, 0, 5, 60, 1\n"
        "[HorizontalControlsDown]\nCloseRect=119, 59, 99, 99\n"
        "[HorizontalControlsOver]\nCloseRect=-1, -1, 1, 1\n");
    Skin edgy(folder.write(ini, sheet(), "sheet.png", "edgy.ini"));
    ASSERT_TRUE(edgy.pictureReadable());
    const DesktopGeometry desktop{
        QRect(0, 0, 800, 600), {QRect(0, 0, 800, 600)}, QRect(0, 0, 800, 600)};
    for (const float a : {0.0f, 90.0f, 213.0f}) {
        SCOPED_TRACE(testing::Message() << "angle " << a);
        angle = a;
        spread = 300;
        renderOnce(desktop, edgy);
    }
}
