// Extreme states and hostile skins render without a crash, a hang or an absurd
// allocation: every image stays the desktop's size or the picture's, and every
// number the renderer leaves behind is one the next start can read.
#include "render/renderer.h"
#include "rendertestskin.h"
#include "skins/picture.h"

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
    void SetUp() override { options.FirstTime = false; }

    // Composes `skin` and renders one frame on `desktop`, then checks that
    // nothing grew beyond what the desktop and the skin picture justify.
    void renderOnce(const DesktopGeometry& desktop, TDervikSkin& skin) {
        model.Initialise(desktop);
        applyState();
        ASSERT_TRUE(Compose(skin, options, model.state, renderer.Layers).Ok);
        applyState(); // composing may move the compass to keep the pivot
        QElapsedTimer clock;
        clock.start();
        TRenderInput in{model, skin, desktop, true, false};
        const TFrame frame = renderer.RenderCompass(in);
        EXPECT_LT(clock.elapsed(), kRenderBudgetMs);
        EXPECT_TRUE(frame.Rendered);
        const QSize screen = desktop.virtualRect.size();
        EXPECT_EQ(renderer.WindowImage().size(), screen);
        EXPECT_TRUE(QRect(QPoint(), screen).contains(renderer.FBounds) ||
                    renderer.FBounds.isEmpty());
        // No layer is larger than the desktop plus the skin picture around it.
        const qint64 limit =
            qint64(screen.width() + 2 * skin.ImageWidth) * (screen.height() + 2 * skin.ImageHeight);
        for (const auto& layer : renderer.Layers.Layers())
            EXPECT_LE(qint64(layer->Bitmap.width()) * layer->Bitmap.height(), limit);
        // What the render stored is what the next start reads back.
        EXPECT_TRUE(std::isfinite(options.Angle));
        EXPECT_TRUE(std::isfinite(options.Measurement));
        EXPECT_GE(options.Measurement, 0.0f);
        EXPECT_LE(options.Measurement, float(model.state.FMaxLength));
        EXPECT_FALSE(model.state.FDisplayText.isEmpty());
    }
    // The state under test, set after Initialise has read the options.
    void applyState() {
        model.state.FAngle = angle;
        model.state.FMeasurement = spread < 0 ? float(model.state.FMaxLength) : spread;
    }

    SkinFolder folder;
    TDervikSkin skin{folder.write(fullIni())};
    TDervikOptions options{folder.path("Compass.ini"), u'.'};
    TMeasurements units{folder.path(""), QString(), u'.'};
    CompassModel model{options, units, u'.'};
    TCompassRenderer renderer;
    float angle = 0;
    float spread = -1; // the longest spread the desktop allows
};

} // namespace

TEST_F(Robustness, LongestSpreadOnThreeFourKMonitors) {
    const struct {
        std::int32_t shape, scribe, measureType;
        float angle;
    } cases[] = {{0, 0, 0, 0}, {0, 0, 2, 45}, {39, 0, 1, 30}, {39, 1, 2, 180}, {3, 0, 0, 269.9f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "shape " << c.shape << " angle " << c.angle);
        options.Shape = c.shape;
        options.Scribe = c.scribe;
        options.MeasureType = c.measureType;
        angle = c.angle;
        renderOnce(threeFourK(), skin);
        EXPECT_EQ(model.state.FMeasurement, float(model.state.FMaxLength));
        EXPECT_GT(model.state.FMaxLength, 11520); // the whole width and more
    }
}

TEST_F(Robustness, AbsurdAnglesAndSpreads) {
    const DesktopGeometry desktop{
        QRect(0, 0, 800, 600), {QRect(0, 0, 800, 600)}, QRect(0, 0, 800, 600)};
    const struct {
        float angle, spread;
    } cases[] = {{1e30f, 100},   {-1e30f, 100}, {kInf, 50},        {-kInf, 50},    {kNaN, kNaN},
                 {1e-30f, kInf}, {90, -kInf},   {-89.999f, 1e30f}, {3.4e38f, 0.4f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "angle " << c.angle << " spread " << c.spread);
        angle = c.angle;
        spread = c.spread;
        renderOnce(desktop, skin);
        EXPECT_TRUE(std::isfinite(renderer.Geometry().Centre.x()));
    }
}

TEST_F(Robustness, HandEditedNumbersThatAreNotNumbers) {
    // Written by hand: not-a-number, infinities and values past every range.
    QFile file(folder.path("Compass.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Options]\r\nFirstTime=0\r\nAngle=nan\r\nMeasurement=inf\r\nX=2147483647\r\n"
               "Y=-2147483648\r\nShape=-7\r\nScribe=9\r\nMeasureType=77\r\nTransparency=-1\r\n"
               "SelectedBaseColor=123456\r\n");
    file.close();
    TDervikOptions edited(folder.path("Compass.ini"), u'.');
    CompassModel editedModel(edited, units, u'.');
    const DesktopGeometry desktop{
        QRect(0, 0, 1024, 768), {QRect(0, 0, 1024, 768)}, QRect(0, 0, 1024, 768)};
    editedModel.Initialise(desktop);
    ASSERT_TRUE(Compose(skin, edited, editedModel.state, renderer.Layers).Ok);
    TRenderInput in{editedModel, skin, desktop, true, false};
    renderer.RenderCompass(in);
    if (editedModel.state.FNeedsRepaint) // the compass was off screen: centred
        renderer.RenderCompass(in);
    EXPECT_TRUE(QRect(0, 0, 1024, 768).intersects(renderer.FBounds));
    ASSERT_TRUE(edited.Save());
    const TDervikOptions again(folder.path("Compass.ini"), u'.');
    EXPECT_TRUE(std::isfinite(again.Angle));
    EXPECT_TRUE(std::isfinite(again.Measurement));
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
        try {
            (void)decodePng(c.bytes);
            ADD_FAILURE() << "decoded";
        } catch (const OrvantaError& e) {
            EXPECT_EQ(e.message(), "the PNG data is damaged: the file ends too early");
        }
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
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[Options]\r\nAngle=") + c.text + "\r\nMeasurement=" + c.text +
                   "\r\n");
        file.close();
        TDervikOptions options(path, u'.');
        EXPECT_EQ(options.Angle, c.angle);
        EXPECT_EQ(options.Measurement, c.measurement);
        ASSERT_TRUE(options.Save());
        const TDervikOptions again(path, u'.');
        EXPECT_EQ(again.Angle, options.Angle);
        EXPECT_EQ(again.Measurement, options.Measurement);
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
        TRotLayer layer;
        layer.Bitmap = QImage(40, 20, QImage::Format_ARGB32);
        layer.Position = c.position;
        layer.Angle = c.angle;
        const QRect bounds = layer.TransformedBounds();
        EXPECT_EQ(bounds.intersects(anyDesktop), c.onScreen);
        if (c.onScreen) {
            EXPECT_GE(bounds.width(), 40);
        }
    }
}

TEST_F(Robustness, ManySidedPolygonsAtTheSmallestSpreads) {
    const DesktopGeometry desktop{
        QRect(0, 0, 640, 480), {QRect(0, 0, 640, 480)}, QRect(0, 0, 640, 480)};
    for (const float s : {0.0f, 1.0f}) {
        for (const std::int32_t scribe : {0, 1}) {
            for (const std::int32_t type : {0, 1, 2}) {
                SCOPED_TRACE(testing::Message()
                             << "spread " << s << " scribe " << scribe << " measure type " << type);
                options.Shape = 39;
                options.Scribe = scribe;
                options.MeasureType = type;
                spread = s;
                renderOnce(desktop, skin);
                EXPECT_EQ(model.state.FMeasurement, s);
                EXPECT_FALSE(model.FormatMeasurement().contains(u"nan", Qt::CaseInsensitive));
            }
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
    TDervikSkin edgy(folder.write(ini, sheet(), "sheet.png", "edgy.ini"));
    ASSERT_TRUE(edgy.PictureReadable());
    const DesktopGeometry desktop{
        QRect(0, 0, 800, 600), {QRect(0, 0, 800, 600)}, QRect(0, 0, 800, 600)};
    for (const float a : {0.0f, 90.0f, 213.0f}) {
        SCOPED_TRACE(testing::Message() << "angle " << a);
        angle = a;
        spread = 300;
        renderOnce(desktop, edgy);
    }
}
