// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The fit to the figure beneath, on pictures drawn here whose truth is known
// to a thousandth of a pixel, and on screenshots of ordinary programs.

#include "vision/figurefit.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <numbers>
#include <random>

using namespace orvanta;

namespace {

constexpr double kPi = std::numbers::pi;

enum class Stroke { Thin, Thick, Filled };
enum class Ground { Plain, Noise, Texture };

struct Scene {
    const char* name;
    double spread; // the circle's radius, or the polygon's spread
    Stroke stroke = Stroke::Thin;
    Ground ground = Ground::Plain;
    int sides = 0;
    bool inscribed = false;
    double angle = 0.0;
    bool quarter = false;   // only a quarter of the outline is drawn
    bool neighbour = false; // a second circle beside it
};

void PrintTo(const Scene& s, std::ostream* os) {
    *os << s.name;
}

// The outline as many straight pieces that no pixel can tell from the exact
// curve (QPainter's own ellipses are cubic arcs, a fraction of a pixel off at
// large radii).
QPainterPath outline(QPointF c, const Scene& s) {
    QPainterPath path;
    if (s.sides >= 3) {
        const double turn = 2.0 * kPi / s.sides;
        const double v = s.inscribed ? s.spread : s.spread / std::cos(kPi / s.sides);
        const double a = s.angle * kPi / 180.0 + (s.inscribed ? 0.0 : 0.5 * turn);
        QPolygonF corners;
        for (int i = 0; i < s.sides; ++i)
            corners << c + v * QPointF(std::cos(a + i * turn), std::sin(a + i * turn));
        path.addPolygon(corners);
        path.closeSubpath();
        return path;
    }
    const int pieces = std::max(64, int(4.0 * kPi * s.spread));
    const double from = s.quarter ? 0.2 : 0.0;
    const double span = s.quarter ? 0.5 * kPi : 2.0 * kPi;
    for (int i = 0; i <= pieces; ++i) {
        const double t = from + span * i / pieces;
        const QPointF p = c + s.spread * QPointF(std::cos(t), std::sin(t));
        i == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    if (!s.quarter)
        path.closeSubpath();
    return path;
}

void paintGround(QImage& image, Ground ground) {
    image.fill(QColor(214, 218, 222));
    if (ground == Ground::Texture) {
        // Checks and a slow shading, as on a chart's grid or a photo's wall.
        QPainter p(&image);
        for (int y = 0; y < image.height(); y += 12)
            for (int x = (y / 12) % 2 * 12; x < image.width(); x += 24)
                p.fillRect(x, y, 12, 12, QColor(184, 190, 196));
        QLinearGradient shade(0, 0, image.width(), image.height());
        shade.setColorAt(0, QColor(0, 0, 0, 0));
        shade.setColorAt(1, QColor(0, 0, 40, 60));
        p.fillRect(image.rect(), shade);
    }
}

// Gaussian noise from a table walked by xorshift: drawing each of the large
// pictures' millions of values afresh would take seconds.
void addNoise(QImage& image, double sigma) {
    std::mt19937 random(7);
    std::normal_distribution<double> normal(0.0, sigma);
    std::vector<int> table(4096);
    for (int& v : table)
        v = int(std::lround(normal(random)));
    std::uint32_t state = 2463534242u;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int n = table[state & 4095u];
            const auto channel = [n](int v) { return std::clamp(v + n, 0, 255); };
            row[x] = qRgb(channel(qRed(row[x])), channel(qGreen(row[x])), channel(qBlue(row[x])));
        }
    }
}

struct Drawn {
    QImage image;
    QPointF centre;
};

Drawn draw(const Scene& s) {
    const int side = int(2.0 * (s.spread / std::cos(kPi / std::max(s.sides, 3))) + 80.0);
    Drawn d{QImage(side, side, QImage::Format_RGB32),
            QPointF(side / 2.0 + 0.37, side / 2.0 - 0.21)};
    paintGround(d.image, s.ground);
    QPainter p(&d.image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(32, 36, 48);
    if (s.neighbour) {
        p.setPen(QPen(ink, 2.0));
        p.drawPath(outline(d.centre + QPointF(1.9, 0.4) * s.spread, Scene{"", 0.9 * s.spread}));
    }
    if (s.stroke == Stroke::Filled) {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
    } else {
        p.setPen(QPen(ink, s.stroke == Stroke::Thin ? 1.0 : (s.spread >= 40 ? 8.0 : 3.0)));
    }
    p.drawPath(outline(d.centre, s));
    p.end();
    if (s.ground == Ground::Noise)
        addNoise(d.image, 12.0);
    return d;
}

// Where the compass stands when asked: a little off, a little too long.
FigureGuess guessFor(const Scene& s, QPointF centre) {
    FigureGuess g;
    g.centre = centre + QPointF(0.06 * s.spread + 1.3, -0.05 * s.spread - 0.8);
    g.spread = 1.1 * s.spread;
    g.sides = s.sides;
    g.inscribed = s.inscribed;
    g.angleDegrees = s.angle + (s.sides ? 4.0 : 0.0);
    return g;
}

class FigureFitAccuracy : public testing::TestWithParam<Scene> {};

TEST_P(FigureFitAccuracy, FindsTheFigureWithinAFractionOfAPixel) {
    const Scene s = GetParam();
    const Drawn d = draw(s);
    const auto fit = fitFigure(d.image, guessFor(s, d.centre));
    ASSERT_TRUE(fit.has_value());
    const double tolerance = s.spread >= 40 ? 0.25 : 0.5;
    const double centreError =
        std::hypot(fit->centre.x() - d.centre.x(), fit->centre.y() - d.centre.y());
    const double spreadError = std::abs(fit->spread - s.spread);
    std::printf("[ fit      ] %-28s centre %.3f px  spread %.3f px  confidence %.2f\n", s.name,
                centreError, spreadError, fit->confidence);
    EXPECT_LE(centreError, tolerance);
    EXPECT_LE(spreadError, tolerance);
    EXPECT_GT(fit->confidence, 0.2);
    if (s.sides) {
        EXPECT_NEAR(fit->angleDegrees, s.angle, 0.25);
    }
}

const Scene kScenes[] = {
    {"thin_r8", 8},
    {"thin_r40", 40},
    {"thin_r300", 300},
    {"thin_r1500", 1500},
    {"thick_r8", 8, Stroke::Thick},
    {"thick_r40", 40, Stroke::Thick},
    {"thick_r300", 300, Stroke::Thick},
    {"thick_r1500", 1500, Stroke::Thick},
    {"disc_r8", 8, Stroke::Filled},
    {"disc_r40", 40, Stroke::Filled},
    {"disc_r300", 300, Stroke::Filled},
    {"noisy_thin_r8", 8, Stroke::Thin, Ground::Noise},
    {"noisy_thin_r40", 40, Stroke::Thin, Ground::Noise},
    {"noisy_thick_r300", 300, Stroke::Thick, Ground::Noise},
    {"noisy_disc_r1500", 1500, Stroke::Filled, Ground::Noise},
    {"textured_thin_r40", 40, Stroke::Thin, Ground::Texture},
    {"textured_disc_r300", 300, Stroke::Filled, Ground::Texture},
    {"quarter_thin_r300", 300, Stroke::Thin, Ground::Plain, 0, false, 0.0, true},
    {"quarter_thick_r40", 40, Stroke::Thick, Ground::Noise, 0, false, 0.0, true},
    {"neighbour_r40", 40, Stroke::Thin, Ground::Plain, 0, false, 0.0, false, true},
    {"neighbour_r300", 300, Stroke::Thick, Ground::Texture, 0, false, 0.0, false, true},
    {"triangle_around_r300", 300, Stroke::Thin, Ground::Plain, 3, false, -30.0},
    {"square_inscribed_r40", 40, Stroke::Thick, Ground::Noise, 4, true, 12.0},
    {"hexagon_inscribed_r40", 40, Stroke::Thick, Ground::Plain, 6, true, 17.0},
    {"heptagon_disc_r300", 300, Stroke::Filled, Ground::Texture, 7, true, 5.0},
    {"dodecagon_around_r1500", 1500, Stroke::Thin, Ground::Plain, 12, false, 3.0},
    {"hexagon_inscribed_r1000", 1000, Stroke::Thin, Ground::Texture, 6, true, 25.0},
    {"triangle_inscribed_r8", 8, Stroke::Filled, Ground::Plain, 3, true, 90.0},
};

INSTANTIATE_TEST_SUITE_P(Scenes, FigureFitAccuracy, testing::ValuesIn(kScenes),
                         [](const auto& info) { return std::string(info.param.name); });

// Pictures with edges aplenty and no circle in the ring: nothing is found.
TEST(FigureFit, FindsNothingWhereNoCircleIs) {
    QImage noise(400, 400, QImage::Format_RGB32);
    paintGround(noise, Ground::Plain);
    addNoise(noise, 20.0);
    QImage texture(400, 400, QImage::Format_RGB32);
    paintGround(texture, Ground::Texture);
    QImage boxes(400, 400, QImage::Format_RGB32);
    paintGround(boxes, Ground::Plain);
    {
        QPainter p(&boxes);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 2.0));
        p.drawRect(QRectF(60.3, 80.6, 250, 170));
        p.drawLine(QPointF(20, 390), QPointF(390, 30));
        p.drawText(QPointF(150, 200), QStringLiteral("Orvanta 1234"));
    }
    FigureGuess g;
    g.centre = QPointF(200, 200);
    g.spread = 100;
    for (const QImage* picture : {&noise, &texture, &boxes})
        EXPECT_FALSE(fitFigure(*picture, g).has_value());
}

// What the compass drew itself is not looked at: its own circle, darker and
// nearer than the one beneath, would win otherwise.
TEST(FigureFit, LeavesOutWhatItIsToldToIgnore) {
    Scene beneath{"", 100, Stroke::Thin};
    Drawn d = draw(beneath);
    // The compass's window lies 30 pixels into the screen's grab and draws
    // its own circle over what the grab shows.
    const QPoint window(30, 30);
    QImage drawn(d.image.size() - QSize(60, 60), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    const QPointF own = d.centre + QPointF(4.0, -3.0);
    for (QImage* target : {&d.image, &drawn}) {
        QPainter p(target);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 3.0));
        p.drawPath(outline(own - (target == &drawn ? QPointF(window) : QPointF()), Scene{"", 104}));
    }
    const QImage ignore = ignoredPixels(d.image, QPoint(0, 0), drawn, QRect(window, drawn.size()));
    FigureGuess g;
    g.centre = own;
    g.spread = 104;
    const auto fit = fitFigure(d.image, g, ignore);
    ASSERT_TRUE(fit.has_value());
    EXPECT_NEAR(fit->centre.x(), d.centre.x(), 0.25);
    EXPECT_NEAR(fit->centre.y(), d.centre.y(), 0.25);
    EXPECT_NEAR(fit->spread, 100.0, 0.25);
}

} // namespace

namespace {

struct Circle {
    QPointF centre;
    double radius = 0.0;
};

// A disc's truth from its pixels (those `inside` takes): each row's run from
// the first to the last of them, whose lengths sum to the disc's area and
// whose middles, weighed by them, give its centre.
Circle measuredDisc(const QImage& shot, bool (*inside)(QRgb)) {
    double area = 0.0, sx = 0.0, sy = 0.0;
    for (int y = 0; y < shot.height(); ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < shot.width(); ++x)
            if (inside(shot.pixel(x, y))) {
                first = first < 0 ? x : first;
                last = x;
            }
        if (first < 0)
            continue;
        const double run = last - first + 1;
        area += run;
        sx += run * (first + last + 1) / 2.0;
        sy += run * (y + 0.5);
    }
    return {QPointF(sx / area, sy / area), std::sqrt(area / kPi)};
}

// Screenshots of ordinary programs taken under Xvfb by
// tools/fit-screenshots.sh (oclock by hand, the same way).
struct RealShot {
    const char* name;
    const char* file;
    bool (*inside)(QRgb); // the disc whose pixels give the truth, or
    Circle known;         // the truth from the program's own geometry
    QPointF off;          // where the compass stands, from the truth
    double spread;
};

void PrintTo(const RealShot& s, std::ostream* os) {
    *os << s.name;
}

class FigureFitOnScreenshots : public testing::TestWithParam<RealShot> {};

TEST_P(FigureFitOnScreenshots, FindsTheCircleWithinAQuarterPixel) {
    const RealShot s = GetParam();
    const QImage shot(QStringLiteral(ORVANTA_SOURCE_DIR "/tests/data/") + QLatin1String(s.file));
    ASSERT_FALSE(shot.isNull()) << s.file;
    const Circle truth = s.inside ? measuredDisc(shot, s.inside) : s.known;
    FigureGuess g;
    g.centre = truth.centre + s.off;
    g.spread = s.spread;
    const auto fit = fitFigure(shot, g);
    ASSERT_TRUE(fit.has_value());
    std::printf("[ fit      ] %-14s centre %.3f px  radius %.3f px (r %.2f)\n", s.name,
                std::hypot(fit->centre.x() - truth.centre.x(), fit->centre.y() - truth.centre.y()),
                fit->spread - truth.radius, truth.radius);
    EXPECT_NEAR(fit->centre.x(), truth.centre.x(), 0.25);
    EXPECT_NEAR(fit->centre.y(), truth.centre.y(), 0.25);
    EXPECT_NEAR(fit->spread, truth.radius, 0.25);
}

const RealShot kShots[] = {
    // oclock's face is a round window cut by the X server's shape, without
    // anti-aliasing: a white disc on the black root, the hands inside.
    {"oclock", "oclock.png", [](QRgb c) { return qGray(c) > 128; }, {}, {4.0, -3.0}, 80.0},
    // gnuplot's x11 terminal fills the pie's slices without anti-aliasing,
    // on white. The radius measured from its pixels is gnuplot's own: 1204.06
    // of the terminal's 4096 units across the 560-px window, 164.62 px.
    {"gnuplot_pie",
     "gnuplot-pie.png",
     [](QRgb c) { return qGray(c) < 245; },
     {},
     {-9.0, 6.0},
     140.0},
    // The program's icon in ImageMagick's display: its red circle is drawn
    // at 106, 146 with radius 86, under the beam and the slide.
    {"icon_display", "icon-display.png", nullptr, {{106.0, 146.0}, 86.0}, {5.0, 4.0}, 78.0},
    // The coffee of the README's photograph, rendered by ImageMagick in the
    // script, in display: a disc drawn with radius 108 about 124.5, 124.5,
    // whose anti-aliased pixels cover the area of one of radius 108.33 (as
    // the same drawing alone measures), under grain and a slight blur.
    {"photo_cup", "photo-cup.png", nullptr, {{124.5, 124.5}, 108.33}, {10.0, -7.0}, 97.0},
};

INSTANTIATE_TEST_SUITE_P(Programs, FigureFitOnScreenshots, testing::ValuesIn(kShots),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
