#include "render/renderer.h"
#include "rendertestskin.h"

#include <QPainter>
#include <array>
#include <gtest/gtest.h>

using namespace orvanta;
using namespace rendertest;

namespace {

class Renderer : public ::testing::Test {
protected:
    void SetUp() override {
        options.FirstTime = false;
        options.Quality = false;
        model.Initialise(desktop);
        state().FPosX = 300;
        state().FPosY = 200;
        state().FAngle = 0;
        state().FMeasurement = 100;
        compose();
    }
    void compose() { ASSERT_TRUE(Compose(skin, options, state(), renderer.Layers).Ok); }
    TCompass& state() { return model.state; }
    TFrame render(bool foreground = true) {
        TRenderInput in{model, skin, desktop, foreground, false};
        return renderer.RenderCompass(in);
    }
    [[nodiscard]] QRgb pixel(int x, int y) const { return renderer.WindowImage().pixel(x, y); }
    // The whole desktop drawn from scratch, for comparing with what the dirty
    // regions built up frame by frame.
    [[nodiscard]] QImage redrawnFromScratch(int alpha = 255) const {
        TWindowImage fresh;
        fresh.SetSize(renderer.WindowImage().size());
        fresh.Redraw(renderer.Layers, QRegion(renderer.WindowImage().rect()), alpha);
        return fresh.Image();
    }

    SkinFolder folder;
    TDervikSkin skin{folder.write(fullIni())};
    TDervikOptions options{folder.path("Compass.ini"), u'.'};
    TMeasurements units{folder.path(""), QString(), u'.'};
    CompassModel model{options, units, u'.'};
    DesktopGeometry desktop{QRect(0, 0, 800, 600), {QRect(0, 0, 800, 600)}, QRect(0, 0, 800, 600)};
    TCompassRenderer renderer;
};

} // namespace

TEST_F(Renderer, PlacesEveryPieceForTheState) {
    // Pivot (10, 10) at window (310, 210); the slide's edge 5 pixels into it.
    const auto places = [&](double angle) {
        const TFrameGeometry g = FrameGeometry(skin, {10, 10}, {300, 200}, 100, angle);
        EXPECT_EQ(g.Centre, QPointF(310, 210));
        std::array<QPointF, 8> at{g.SlidePosition, g.BasePanelPosition, g.SlidePanelPosition};
        const SkinControl controls[] = {SkinControl::Close, SkinControl::Menu, SkinControl::Flip,
                                        SkinControl::Angle};
        for (std::size_t i = 0; i < 4; ++i)
            at[3 + i] =
                ControlPosition(skin, g, skin.control(controls[i]).GetRect(TRectPlus::Placement),
                                renderer.Layers.Control(controls[i]).Placement);
        at[7] = ControlPosition(skin, g, skin.SizeRect.GetRect(TRectPlus::Placement),
                                TPlacement::SlidePanel);
        return at;
    };
    // Turned down, the panels stay upright and follow their anchors; the base
    // panel's anchor lies mirrored across the beam.
    const struct {
        const char* what;
        QPointF at0, at90;
    } expected[] = {
        {"slide", {405, 200}, {405, 200}},       {"base panel", {300, 205}, {305, 210}},
        {"slide panel", {405, 215}, {295, 315}}, {"Close", {300, 230}, {300, 230}},
        {"Menu", {375, 230}, {375, 230}},        {"Flip", {320, 220}, {325, 225}},
        {"Angle", {395, 230}, {285, 330}},       {"readout", {445, 200}, {335, 300}},
    };
    const auto at0 = places(0), at90 = places(90);
    for (std::size_t i = 0; i < at0.size(); ++i) {
        EXPECT_EQ(at0[i], expected[i].at0) << expected[i].what;
        EXPECT_EQ(at90[i], expected[i].at90) << expected[i].what;
    }

    state().FAngle = 90;
    render();
    const TLayerStack& l = renderer.Layers;
    EXPECT_EQ(l.gSlidePanelLayer->Position, QPointF(295, 315));
    EXPECT_EQ(l.gSlidePanelLayer->Angle, 0.0f);
    // Pieces on the beam turn about the pivot: the bar runs down.
    EXPECT_EQ(l.gBaseLayer->MapToWindow({60, 10}), QPointF(310, 260));
    EXPECT_EQ(l.Control(SkinControl::Close).Normal->MapToWindow({0, 0}), QPointF(290, 200));
}

TEST_F(Renderer, SpreadIsDrawnInWholePixels) {
    // Below one pixel and negative draw nothing; halves go to even; too long
    // is cut to the longest the desktop allows (-1).
    const std::pair<float, float> cases[] = {
        {0.6f, 0}, {-20, 0}, {100.5f, 100}, {101.5f, 102}, {1e7f, -1}};
    for (const auto& [spread, drawnOrMax] : cases) {
        state().FMeasurement = spread;
        render();
        const float drawn = drawnOrMax < 0 ? float(state().FMaxLength) : drawnOrMax;
        EXPECT_EQ(state().FMeasurement, drawn) << spread;
        EXPECT_EQ(options.Measurement, drawn) << spread;
        EXPECT_EQ(renderer.Layers.gShapeLayer->Side, int(2 * drawn) + 4) << spread;
        // The slide's edge sits exactly the drawn spread from the pivot.
        EXPECT_EQ(renderer.Layers.gSlideLayer->MapToWindow({5, 10}), QPointF(310 + drawn, 210));
    }
    EXPECT_FALSE(state().FNeedsRepaint);
}

TEST(RenderGeometry, FiguresAndTheirCorners) {
    // Inscribed: a corner on the beam; around the circle: a side's middle there.
    EXPECT_EQ(PolygonVertices(4, 1, 100, 0, 100),
              QPolygon({{101, 201}, {1, 101}, {101, 1}, {201, 101}}));
    EXPECT_EQ(PolygonVertices(4, 0, 100, 0, 141),
              QPolygon({{42, 242}, {42, 42}, {242, 42}, {242, 242}}));
    EXPECT_EQ(PolygonVertices(3, 1, 50, 90, 50).back(), QPoint(51, 101)); // straight down

    struct Case {
        int shape, scribe, spread;
        int side, k;
    };
    const Case cases[] = {
        {0, 0, 0, 4, 0},       {4, 1, 100, 204, 100}, {4, 0, 100, 287, 141}, {3, 0, 10, 44, 20},
        {6, 0, 100, 235, 115}, {2, 0, 100, 204, 100}, // degenerate: drawn as a circle
    };
    for (const Case& c : cases) {
        const TFigure f = Figure(c.shape, c.scribe, c.spread, 0);
        EXPECT_EQ(f.Side, c.side) << c.shape << "/" << c.scribe;
        EXPECT_EQ(f.K, c.k) << c.shape << "/" << c.scribe;
        const QRectF box = f.Outline.boundingRect();
        EXPECT_GE(box.left(), 0.0);
        EXPECT_LE(box.right(), f.Side - 1.0);
    }
    const TFigure circle = Figure(0, 0, 100, 0);
    EXPECT_EQ(circle.Side, 204);
    EXPECT_NEAR(circle.Outline.boundingRect().left(), 1.0, 1e-9);
    EXPECT_NEAR(circle.Outline.boundingRect().right(), 201.0, 1e-9);
}

TEST(RenderGeometry, BarTilesReachTheSlideAndTheBaseCutsThem) {
    SkinFolder folder;
    TDervikSkin skin(folder.write(fullIni()));
    const TBarTiles t = BarTiles(skin, 100, {30, 20});
    EXPECT_EQ(t.BitmapSize, QSize(112, 20));
    EXPECT_EQ(t.First, QPoint(30, 8));
    EXPECT_EQ(t.Step, 10);
    EXPECT_EQ(t.Count, 9);
    EXPECT_EQ(BarTiles(skin, 0, {30, 20}).Count, 0); // the base covers the bar

    QImage base(6, 4, QImage::Format_ARGB32);
    base.fill(0xff0000ff);
    base.setPixel(4, 1, 0x00123456); // a transparent hole over the bar
    QImage bar(3, 2, QImage::Format_ARGB32);
    bar.fill(0xff00ff00);
    QImage target;
    BuildBaseBitmap(target, TBarTiles{{10, 4}, {2, 1}, 3, 3}, base, bar);
    EXPECT_EQ(target.size(), QSize(10, 4));
    EXPECT_EQ(target.pixel(4, 1), 0x00123456u);
    EXPECT_EQ(target.pixel(6, 1), 0xff00ff00u);
    EXPECT_EQ(target.pixel(9, 2), 0xff00ff00u); // the last tile, clipped
    EXPECT_EQ(target.pixel(9, 3), 0u);
}

TEST(RenderGeometry, ReadoutTextIsCentredWithHalvesToEven) {
    EXPECT_EQ(ReadoutTextX(21, 10), 4);
    EXPECT_EQ(ReadoutTextX(23, 10), 6);
    EXPECT_EQ(ReadoutTextX(20, 30), 1); // never into the first column
}

TEST_F(Renderer, DrawsThePiecesTheReadoutAndTheFigure) {
    render();
    EXPECT_EQ(pixel(305, 201), kBaseColour);
    EXPECT_EQ(pixel(305, 205), kPanelColour); // the base panel hangs over the base
    EXPECT_EQ(qAlpha(pixel(321, 201)), 0);    // the notch in the base
    EXPECT_EQ(pixel(360, 209), kBarColour);
    EXPECT_EQ(pixel(415, 205), kSlideColour);
    EXPECT_EQ(pixel(303, 233), kNormalLook);
    EXPECT_EQ(state().FDisplayText, QStringLiteral("100"));
    // The readout: black text, nothing in its first column.
    int ink = 0;
    for (int y = 200; y < 210; ++y) {
        for (int x = 445; x < 465; ++x)
            ink += qAlpha(pixel(x, y)) > 0x80 && qRed(pixel(x, y)) < 0x30;
        EXPECT_EQ(qAlpha(pixel(445, y)), 0);
    }
    EXPECT_GT(ink, 10);

    options.SelectedBaseColor = 1; // the second colour, blue
    compose();
    options.Shape = 4;
    options.Scribe = 1;
    render();
    // Inscribed square around the pivot (310, 210) with spread 100.
    for (const QPoint p : {QPoint(310, 310), QPoint(210, 210), QPoint(360, 260), QPoint(260, 160)})
        EXPECT_EQ(pixel(p.x(), p.y()), 0xff0000ffu) << p.x() << "," << p.y();
    EXPECT_EQ(qAlpha(pixel(310, 300)), 0);
    EXPECT_EQ(qAlpha(pixel(310, 311)), 0);
}

TEST_F(Renderer, RedrawsOnlyWhereTheCompassWasAndIs) {
    const TFrame first = render();
    ASSERT_TRUE(first.Rendered && first.Pushed);
    const QRect before = renderer.FBounds;
    EXPECT_TRUE(first.Dirty.boundingRect().contains(before));

    state().FPosX += 150;
    state().FAngle = 30;
    state().FMeasurement = 60;
    state().FNeedsRepaint = true;
    const TFrame second = render();
    const QRect after = renderer.FBounds;
    EXPECT_TRUE((before | after).adjusted(-1, -1, 1, 1).contains(second.Dirty.boundingRect()));
    EXPECT_TRUE(second.Dirty.contains(before));
    // Frame by frame, the image is what drawing everything afresh gives.
    EXPECT_EQ(renderer.WindowImage(), redrawnFromScratch());

    options.Quality = true; // smoothing and antialiasing reach no further
    compose();
    for (const float angle : {33.3f, 127.0f, 200.5f}) {
        state().FAngle = angle;
        state().FPosX -= 37;
        state().FNeedsRepaint = true;
        render();
    }
    EXPECT_EQ(renderer.WindowImage(), redrawnFromScratch());
}

TEST_F(Renderer, LooksAndFocusRepushWithoutRendering) {
    TRenderInput in{model, skin, desktop, true, false};
    EXPECT_TRUE(renderer.IdleUpdate(in).Rendered);
    EXPECT_FALSE(renderer.IdleUpdate(in).Pushed); // nothing asked for, nothing done

    renderer.Layers.Control(SkinControl::Close).Hover->Visible = true;
    renderer.FNeedsWindowUpdate = true;
    TFrame f = renderer.IdleUpdate(in);
    EXPECT_TRUE(f.Pushed && !f.Rendered);
    EXPECT_EQ(pixel(303, 233), kHoverLook);

    // Another window takes the focus: 85 % opacity, then nothing more.
    in.Foreground = false;
    f = renderer.IdleUpdate(in);
    EXPECT_TRUE(f.Pushed && !f.Rendered);
    EXPECT_EQ(qAlpha(pixel(305, 201)), 217);
    EXPECT_FALSE(renderer.IdleUpdate(in).Pushed);
    EXPECT_FALSE(state().FNeedsRepaint);
    EXPECT_EQ(renderer.WindowImage(), redrawnFromScratch(217));
}

TEST_F(Renderer, ALostCompassComesBackToThePrimaryScreen) {
    // Two screens, the primary one on the right: window x 0 is screen x -1920.
    desktop = DesktopGeometry{QRect(-1920, 0, 3840, 1080),
                              {QRect(0, 0, 1920, 1080), QRect(-1920, 0, 1920, 1080)},
                              QRect(0, 0, 1920, 1080)};
    state().FPosX = -5000;
    state().FAngle = 45;
    state().FMeasurement = 700;
    const TFrame lost = render();
    EXPECT_TRUE(lost.Recentred && !lost.Pushed);
    EXPECT_EQ(QPoint(state().FPosX, state().FPosY), QPoint(1920 + 960 - 10, 540 - 10));
    EXPECT_EQ(state().FAngle, 0.0f);
    EXPECT_EQ(state().FMeasurement, 100.0f);

    // Wholly inside the gap beside a lower screen counts as lost too.
    desktop = DesktopGeometry{QRect(0, 0, 2000, 1000),
                              {QRect(0, 0, 1000, 1000), QRect(1000, 0, 1000, 500)},
                              QRect(0, 0, 1000, 1000)};
    state().FPosX = 1400;
    state().FPosY = 700;
    state().FNeedsRepaint = true;
    EXPECT_TRUE(render().Recentred);
    EXPECT_EQ(QPoint(state().FPosX, state().FPosY), QPoint(490, 490));
}

TEST(WindowImage, OpacityFollowsTransparencyAndFocus) {
    struct Case {
        int transparency;
        bool foreground;
        int alpha;
    };
    // Exact halves (127.5, 178.5) go to even; out of range is clamped.
    const Case cases[] = {
        {0, false, 217}, {50, true, 128}, {30, true, 178}, {-20, true, 255}, {150, true, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(WindowAlpha(c.transparency, c.foreground), c.alpha) << c.transparency;

    QImage img(3, 1, QImage::Format_ARGB32_Premultiplied);
    img.setPixel(0, 0, 0xffff8000);
    img.setPixel(1, 0, 0x80800000);
    img.setPixel(2, 0, 0x00000000);
    ApplyOpacity(img, QRect(0, 0, 2, 1), 128);
    EXPECT_EQ(img.pixel(0, 0), 0x80804000u);
    EXPECT_EQ(img.pixel(1, 0), 0x40400000u);
    EXPECT_EQ(img.pixel(2, 0), 0u);
}
