// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/compassrenderer.h"
#include "rendertestskin.h"

#include <QPainter>
#include <array>
#include <gtest/gtest.h>

using namespace orvanta;
using namespace rendertest;

namespace {

// The most a smoothed layer's pixel changes with where its span starts.
constexpr int kSamplingNoise = 12;

// The largest difference of any channel of any pixel; 256 for a size mismatch.
int largestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 256;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q),
                                qAlpha(p) - qAlpha(q)})
                largest = std::max(largest, std::abs(d));
        }
    return largest;
}

class CompassRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        options.firstTime = false;
        options.quality = false;
        model.initialise(desktop);
        state().posX = 300;
        state().posY = 200;
        state().angle = 0;
        state().measurement = 100;
        compose();
    }
    void compose() { ASSERT_TRUE(orvanta::compose(skin, options, state(), renderer.layers).ok); }
    CompassState& state() { return model.state; }
    Frame render(bool foreground = true) {
        RenderInput in{model, skin, desktop, foreground, false};
        return renderer.renderCompass(in);
    }
    // A pixel of the desktop: transparent where the window does not reach.
    [[nodiscard]] QRgb pixel(int x, int y) const {
        const QPoint inWindow = QPoint(x, y) - renderer.windowRect().topLeft();
        return renderer.windowImage().valid(inWindow) ? renderer.windowImage().pixel(inWindow) : 0;
    }
    // The window drawn from scratch, for comparing with what the dirty regions
    // built up frame by frame.
    [[nodiscard]] QImage redrawnFromScratch(int alpha = 255) const {
        WindowImage fresh;
        fresh.setRect(renderer.windowRect());
        fresh.redraw(renderer.layers, QRegion(renderer.windowRect()), alpha);
        return fresh.image();
    }

    SkinFolder folder;
    Skin skin{folder.write(fullIni())};
    Settings options{folder.path("Compass.ini"), u'.'};
    UnitTable units{folder.path(""), QString(), u'.'};
    CompassModel model{options, units, u'.'};
    DesktopGeometry desktop{QRect(0, 0, 800, 600), {QRect(0, 0, 800, 600)}, QRect(0, 0, 800, 600)};
    CompassRenderer renderer;
};

} // namespace

TEST_F(CompassRendererTest, PlacesEveryPieceForTheState) {
    // Pivot (10, 10) at window (310, 210); the slide's edge 5 pixels into it.
    const auto places = [&](double angle) {
        const FrameGeometry g = frameGeometry(skin, {10, 10}, {300, 200}, 100, angle);
        EXPECT_EQ(g.centre, QPointF(310, 210));
        std::array<QPointF, 8> at{g.slidePosition, g.basePanelPosition, g.slidePanelPosition};
        const SkinControl controls[] = {SkinControl::Close, SkinControl::Menu, SkinControl::Flip,
                                        SkinControl::Angle};
        for (std::size_t i = 0; i < 4; ++i)
            at[3 + i] =
                controlPosition(skin, g, skin.control(controls[i]).rect(ControlRects::Placement),
                                renderer.layers.control(controls[i]).placement);
        at[7] = controlPosition(skin, g, skin.sizeRect.rect(ControlRects::Placement),
                                Placement::SlidePanel);
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

    state().angle = 90;
    render();
    const LayerStack& l = renderer.layers;
    EXPECT_EQ(l.slidePanelLayer->position, QPointF(295, 315));
    EXPECT_EQ(l.slidePanelLayer->angle, 0.0f);
    // Pieces on the beam turn about the pivot: the bar runs down.
    EXPECT_EQ(l.baseLayer->mapToWindow({60, 10}), QPointF(310, 260));
    EXPECT_EQ(l.control(SkinControl::Close).normal->mapToWindow({0, 0}), QPointF(290, 200));
}

TEST_F(CompassRendererTest, SpreadIsDrawnInWholePixels) {
    // Below one pixel and negative draw nothing; halves go to even; too long
    // is cut to the longest the desktop allows (-1).
    const std::pair<float, float> cases[] = {
        {0.6f, 0}, {-20, 0}, {100.5f, 100}, {101.5f, 102}, {1e7f, -1}};
    for (const auto& [spread, drawnOrMax] : cases) {
        state().measurement = spread;
        render();
        const float drawn = drawnOrMax < 0 ? float(state().maxLength) : drawnOrMax;
        EXPECT_EQ(state().measurement, drawn) << spread;
        EXPECT_EQ(options.measurement, drawn) << spread;
        EXPECT_EQ(renderer.layers.shapeLayer->side(), int(2 * drawn) + 4) << spread;
        // The slide's edge sits exactly the drawn spread from the pivot.
        EXPECT_EQ(renderer.layers.slideLayer->mapToWindow({5, 10}), QPointF(310 + drawn, 210));
    }
    EXPECT_FALSE(state().needsRepaint);
}

TEST(RenderGeometry, FiguresAndTheirCorners) {
    // Inscribed: a corner on the beam; around the circle: a side's middle there.
    EXPECT_EQ(polygonVertices(4, 1, 100, 0, 100),
              QPolygon({{101, 201}, {1, 101}, {101, 1}, {201, 101}}));
    EXPECT_EQ(polygonVertices(4, 0, 100, 0, 141),
              QPolygon({{42, 242}, {42, 42}, {242, 42}, {242, 242}}));
    EXPECT_EQ(polygonVertices(3, 1, 50, 90, 50).back(), QPoint(51, 101)); // straight down

    struct Case {
        int shape, scribe, spread;
        int side, k;
    };
    const Case cases[] = {
        {0, 0, 0, 4, 0},       {4, 1, 100, 204, 100}, {4, 0, 100, 287, 141}, {3, 0, 10, 44, 20},
        {6, 0, 100, 235, 115}, {2, 0, 100, 204, 100}, // degenerate: drawn as a circle
    };
    for (const Case& c : cases) {
        const FigurePath f = figurePath(c.shape, c.scribe, c.spread, 0);
        EXPECT_EQ(f.side, c.side) << c.shape << "/" << c.scribe;
        EXPECT_EQ(f.k, c.k) << c.shape << "/" << c.scribe;
        const QRectF box = f.outline.boundingRect();
        EXPECT_GE(box.left(), 0.0);
        EXPECT_LE(box.right(), f.side - 1.0);
    }
    const FigurePath circle = figurePath(0, 0, 100, 0);
    EXPECT_EQ(circle.side, 204);
    EXPECT_NEAR(circle.outline.boundingRect().left(), 1.0, 1e-9);
    EXPECT_NEAR(circle.outline.boundingRect().right(), 201.0, 1e-9);
}

TEST(RenderGeometry, BarTilesReachTheSlideAndTheBaseCutsThem) {
    SkinFolder folder;
    Skin skin(folder.write(fullIni()));
    const BarTiles t = barTiles(skin, 100, {30, 20});
    EXPECT_EQ(t.bitmapSize, QSize(112, 20));
    EXPECT_EQ(t.first, QPoint(30, 8));
    EXPECT_EQ(t.step, 10);
    EXPECT_EQ(t.count, 9);
    EXPECT_EQ(barTiles(skin, 0, {30, 20}).count, 0); // the base covers the bar

    QImage base(6, 4, QImage::Format_ARGB32);
    base.fill(0xff0000ff);
    base.setPixel(4, 1, 0x00123456); // a transparent hole over the bar
    QImage bar(3, 2, QImage::Format_ARGB32);
    bar.fill(0xff00ff00);
    QImage target;
    buildBaseBitmap(target, BarTiles{{10, 4}, {2, 1}, 3, 3}, base, bar);
    EXPECT_EQ(target.size(), QSize(10, 4));
    EXPECT_EQ(target.pixel(4, 1), 0x00123456u);
    EXPECT_EQ(target.pixel(6, 1), 0xff00ff00u);
    EXPECT_EQ(target.pixel(9, 2), 0xff00ff00u); // the last tile, clipped
    EXPECT_EQ(target.pixel(9, 3), 0u);
}

TEST(RenderGeometry, ReadoutTextIsCentredWithHalvesToEven) {
    EXPECT_EQ(readoutTextX(21, 10), 4);
    EXPECT_EQ(readoutTextX(23, 10), 6);
    EXPECT_EQ(readoutTextX(20, 30), 1); // never into the first column
}

TEST_F(CompassRendererTest, DrawsThePiecesTheReadoutAndTheFigure) {
    render();
    EXPECT_EQ(pixel(305, 201), kBaseColour);
    EXPECT_EQ(pixel(305, 205), kPanelColour); // the base panel hangs over the base
    EXPECT_EQ(qAlpha(pixel(321, 201)), 0);    // the notch in the base
    EXPECT_EQ(pixel(360, 209), kBarColour);
    EXPECT_EQ(pixel(415, 205), kSlideColour);
    EXPECT_EQ(pixel(303, 233), kNormalLook);
    EXPECT_EQ(state().displayText, QStringLiteral("100"));
    // The readout: black text, nothing in its first column.
    int ink = 0;
    for (int y = 200; y < 210; ++y) {
        for (int x = 445; x < 465; ++x)
            ink += qAlpha(pixel(x, y)) > 0x80 && qRed(pixel(x, y)) < 0x30;
        EXPECT_EQ(qAlpha(pixel(445, y)), 0);
    }
    EXPECT_GT(ink, 10);

    options.selectedBaseColor = 1; // the second colour, blue
    compose();
    options.shape = 4;
    options.scribe = Inscription::Inscribed;
    render();
    // Inscribed square around the pivot (310, 210) with spread 100.
    for (const QPoint p : {QPoint(310, 310), QPoint(210, 210), QPoint(360, 260), QPoint(260, 160)})
        EXPECT_EQ(pixel(p.x(), p.y()), 0xff0000ffu) << p.x() << "," << p.y();
    EXPECT_EQ(qAlpha(pixel(310, 300)), 0);
    EXPECT_EQ(qAlpha(pixel(310, 311)), 0);
}

TEST_F(CompassRendererTest, FrameByFrameTheWindowShowsWhatDrawingAfreshGives) {
    const Frame first = render();
    ASSERT_TRUE(first.rendered && first.pushed);
    EXPECT_EQ(first.window, renderer.windowRect());
    EXPECT_TRUE(renderer.windowRect().contains(renderer.bounds));

    // Moves, turns and spreads of every kind, each frame checked: the window
    // always holds the compass, and what the dirty regions built up is what
    // drawing everything afresh gives.
    struct Step {
        int dx, dy;
        float angle, spread;
        bool quality;
    };
    const Step steps[] = {
        {150, 0, 30, 60, false},  {0, 0, 30, 63, false},     {12, -7, 30, 63, false},
        {0, 0, 31.5f, 63, false}, {-37, 0, 33.3f, 80, true}, {-37, 0, 127, 80, true},
        {0, 0, 127, 200, true},   {5, 5, 200.5f, 200, true}, {0, 0, 200.5f, 199, true},
    };
    for (const Step& s : steps) {
        if (s.quality != options.quality) {
            options.quality = s.quality; // smoothing and antialiasing reach no further
            compose();
        }
        state().posX += s.dx;
        state().posY += s.dy;
        state().angle = s.angle;
        state().measurement = s.spread;
        state().needsRepaint = true;
        const Frame f = render();
        EXPECT_TRUE(renderer.windowRect().contains(renderer.bounds)) << s.angle;
        EXPECT_TRUE(f.dirty.isEmpty() || renderer.windowRect().contains(f.dirty.boundingRect()))
            << s.angle;
        // Smoothed layers are sampled a little differently where a redrawn
        // span starts; anything left over from an earlier frame is far more.
        EXPECT_LE(largestDifference(renderer.windowImage(), redrawnFromScratch()),
                  s.quality ? kSamplingNoise : 0)
            << s.angle << " " << s.spread;
    }
}

TEST_F(CompassRendererTest, ASlideDragFrameByFrameShowsWhatDrawingAfreshGives) {
    // The beam turning a little and the slide wobbling by a few pixels every
    // frame, as under a hand: the figure's outline is redrawn each frame
    // inside its own band, for circles and for polygons, which turn with it.
    // Then turns alone: a circle stays as it was, and only where the turned
    // pieces cross it is it drawn again.
    struct Case {
        int shape;
        bool quality;
    };
    for (const Case c : {Case{0, false}, Case{0, true}, Case{5, false}, Case{5, true}}) {
        options.shape = c.shape;
        options.quality = c.quality;
        compose();
        state().angle = 10.0f;
        state().measurement = 150;
        render();
        for (int frame = 1; frame <= 16; ++frame) {
            state().angle = 10.0f + 0.7f * float(frame);
            state().measurement = (frame & 1) && frame < 12 ? 153.0f : 150.0f;
            state().needsRepaint = true;
            const Frame f = render();
            ASSERT_TRUE(f.pushed) << frame;
            EXPECT_LE(largestDifference(renderer.windowImage(), redrawnFromScratch()),
                      c.quality ? kSamplingNoise : 0)
                << "shape " << c.shape << " quality " << c.quality << " frame " << frame;
        }
    }
}

TEST_F(CompassRendererTest, ACompassThatOnlyMovedTakesItsWindowAlongUntouched) {
    // Turned, so that the pieces lie between pixels and carry rounding.
    state().angle = 33.3f;
    state().measurement = 123;
    render();
    const QRect before = renderer.windowRect();
    const QImage pixels = renderer.windowImage();
    state().posX += 40;
    state().posY -= 10;
    state().needsRepaint = true;
    const Frame f = render();
    EXPECT_TRUE(f.moved);
    EXPECT_FALSE(f.pushed);
    EXPECT_TRUE(f.dirty.isEmpty());
    EXPECT_EQ(f.window, before.translated(40, -10));
    EXPECT_EQ(renderer.windowImage().constBits(), pixels.constBits()) << "the image was touched";
    EXPECT_EQ(renderer.windowImage(), redrawnFromScratch());

    // Nothing changed at all: nothing to push, nothing moved.
    state().needsRepaint = true;
    const Frame still = render();
    EXPECT_FALSE(still.moved || still.pushed);
}

TEST_F(CompassRendererTest, AWindowWithRoomToSpareIsFittedWhenTheCompassMoves) {
    render();
    const QRect first = renderer.windowRect();
    EXPECT_EQ(first, renderer.bounds.adjusted(-2, -2, 2, 2)) << "the first window fits";
    // A longer spread outgrows it: room is added, so the slide can go on.
    state().measurement = 160;
    state().needsRepaint = true;
    render();
    const QRect roomy = renderer.windowRect();
    EXPECT_GT(roomy.width(), renderer.bounds.width() + 40);
    // Moving the compass then fits the window to it again, drawn afresh once.
    state().posX += 7;
    state().needsRepaint = true;
    const Frame fitted = render();
    EXPECT_TRUE(fitted.pushed);
    EXPECT_FALSE(fitted.moved);
    EXPECT_EQ(fitted.window, renderer.bounds.adjusted(-2, -2, 2, 2));
    EXPECT_EQ(renderer.windowImage(), redrawnFromScratch());
    // And the next move carries it.
    state().posX += 7;
    state().needsRepaint = true;
    const Frame carried = render();
    EXPECT_TRUE(carried.moved);
    EXPECT_EQ(carried.window, fitted.window.translated(7, 0));
}

TEST_F(CompassRendererTest, ASpreadChangeRedrawsTheFigureBandNotItsSquare) {
    // A window that holds spreads up to 300.
    state().measurement = 300;
    render();
    state().measurement = 250;
    state().needsRepaint = true;
    render();
    state().measurement = 253;
    state().needsRepaint = true;
    const Frame f = render();
    ASSERT_TRUE(f.pushed);
    EXPECT_FALSE(f.moved);
    const QRect square = renderer.layers.shapeLayer->transformedBounds();
    qint64 dirty = 0;
    for (const QRect& r : f.dirty)
        dirty += qint64(r.width()) * r.height();
    EXPECT_LT(dirty, qint64(square.width()) * square.height() / 4);
    // Inside the circle, away from the compass's pieces, nothing is redrawn.
    EXPECT_FALSE(f.dirty.contains(QPoint(310, 210 - 150)));
    EXPECT_FALSE(f.dirty.contains(QPoint(310 - 150, 210)));
    // The outline's old and new pixels are.
    EXPECT_TRUE(f.dirty.contains(QPoint(310 - 250, 210)));
    EXPECT_TRUE(f.dirty.contains(QPoint(310 - 253, 210)));
    EXPECT_TRUE(f.dirty.contains(QPoint(310, 210 + 253)));
    EXPECT_EQ(renderer.windowImage(), redrawnFromScratch());
}

TEST_F(CompassRendererTest, LooksAndFocusRepushWithoutRendering) {
    RenderInput in{model, skin, desktop, true, false};
    EXPECT_TRUE(renderer.idleUpdate(in).rendered);
    EXPECT_FALSE(renderer.idleUpdate(in).pushed); // nothing asked for, nothing done

    renderer.layers.control(SkinControl::Close).hover->visible = true;
    renderer.needsWindowUpdate = true;
    Frame f = renderer.idleUpdate(in);
    EXPECT_TRUE(f.pushed && !f.rendered);
    EXPECT_EQ(pixel(303, 233), kHoverLook);

    // Another window takes the focus: 85 % opacity, then nothing more.
    in.foreground = false;
    f = renderer.idleUpdate(in);
    EXPECT_TRUE(f.pushed && !f.rendered);
    EXPECT_EQ(qAlpha(pixel(305, 201)), 217);
    EXPECT_FALSE(renderer.idleUpdate(in).pushed);
    EXPECT_FALSE(state().needsRepaint);
    EXPECT_EQ(renderer.windowImage(), redrawnFromScratch(217));
}

TEST_F(CompassRendererTest, AReadoutBroughtBackStaysClearOfTheCompassOnItsOwnBackground) {
    // The pivot 50 pixels from the right edge with the beam pointing off it:
    // the slide panel and its readout lie past the edge.
    state().posX = 740;
    render();
    const LayerStack& l = renderer.layers;
    const QRectF at = l.readoutLayer->footprint().boundingRect();
    EXPECT_TRUE(QRectF(0, 0, 800, 600).contains(at));
    const QPolygonF inside(at.adjusted(0.5, 0.5, -0.5, -0.5));
    for (const Layer* part : {l.baseLayer, l.slideLayer, l.basePanelLayer, l.slidePanelLayer})
        EXPECT_FALSE(part->footprint().intersects(inside));
    EXPECT_EQ(qAlpha(pixel(int(at.left()), int(at.top()))), 255);

    // Back in its place it is drawn without a background again.
    state().posX = 300;
    state().needsRepaint = true;
    render();
    EXPECT_EQ(qAlpha(pixel(445, 201)), 0);
    EXPECT_EQ(largestDifference(renderer.windowImage(), redrawnFromScratch()), 0);
}

TEST_F(CompassRendererTest, ALostCompassComesBackToThePrimaryScreen) {
    // Two screens, the primary one on the right: window x 0 is screen x -1920.
    desktop = DesktopGeometry{QRect(-1920, 0, 3840, 1080),
                              {QRect(0, 0, 1920, 1080), QRect(-1920, 0, 1920, 1080)},
                              QRect(0, 0, 1920, 1080)};
    state().posX = -5000;
    state().angle = 45;
    state().measurement = 700;
    const Frame lost = render();
    EXPECT_TRUE(lost.recentred && !lost.pushed);
    EXPECT_EQ(QPoint(state().posX, state().posY), QPoint(1920 + 960 - 10, 540 - 10));
    EXPECT_EQ(state().angle, 0.0f);
    EXPECT_EQ(state().measurement, 100.0f);

    // Wholly inside the gap beside a lower screen counts as lost too.
    desktop = DesktopGeometry{QRect(0, 0, 2000, 1000),
                              {QRect(0, 0, 1000, 1000), QRect(1000, 0, 1000, 500)},
                              QRect(0, 0, 1000, 1000)};
    state().posX = 1400;
    state().posY = 700;
    state().needsRepaint = true;
    EXPECT_TRUE(render().recentred);
    EXPECT_EQ(QPoint(state().posX, state().posY), QPoint(490, 490));
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
        EXPECT_EQ(windowAlpha(c.transparency, c.foreground), c.alpha) << c.transparency;

    QImage img(3, 1, QImage::Format_ARGB32_Premultiplied);
    img.setPixel(0, 0, 0xffff8000);
    img.setPixel(1, 0, 0x80800000);
    img.setPixel(2, 0, 0x00000000);
    applyOpacity(img, QRect(0, 0, 2, 1), 128);
    EXPECT_EQ(img.pixel(0, 0), 0x80804000u);
    EXPECT_EQ(img.pixel(1, 0), 0x40400000u);
    EXPECT_EQ(img.pixel(2, 0), 0u);
}
