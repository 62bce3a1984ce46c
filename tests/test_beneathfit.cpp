// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// "Fit to what is beneath" through the controller, with the screen read from
// a picture drawn here: the compass lands on the nearest pixel, the exact fit
// is kept, and the same key again puts the compass back.

#include "controllerharness.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace orvanta;
using namespace orvanta::test;

namespace {

// A desktop with one circle on it, read in whatever rectangle is asked.
class DrawnScreen final : public ScreenPixels {
public:
    DrawnScreen(QPointF centre, double radius) : m_centre(centre), m_radius(radius) {}
    void grab(const QRect& rect, Done done) override {
        asked = rect;
        QImage pixels(rect.size(), QImage::Format_ARGB32);
        pixels.fill(QColor(230, 232, 235));
        if (m_radius > 0) {
            QPainter p(&pixels);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(30, 30, 40), 2.0));
            p.drawEllipse(m_centre - QPointF(rect.topLeft()), m_radius, m_radius);
        }
        done(pixels, {});
    }
    QRect asked;

private:
    QPointF m_centre;
    double m_radius;
};

class BeneathFitTest : public testing::Test {
protected:
    void SetUp() override {
        if (!compass.ok())
            GTEST_SKIP() << "needs the built program folder";
        (void)c().render(true, false);
        c().moveTo(600, 400);
        c().setMeasurement(110);
        (void)c().render(true, false);
    }
    CompassController& c() { return *compass.controller; }
    [[nodiscard]] QPointF centre() {
        return QPointF(c().state().posX, c().state().posY) + c().layers().baseLayer->pivot;
    }
    ControllerHarness compass;
};

TEST_F(BeneathFitTest, LandsOnTheNearestPixelKeepsTheExactFitAndGoesBack) {
    const QPointF truth = centre() + QPointF(6.37, -4.81);
    auto screen = std::make_unique<DrawnScreen>(truth, 100.0);
    const DrawnScreen& seen = *screen;
    c().setScreenPixels(std::move(screen));
    const int x = c().state().posX, y = c().state().posY;

    std::optional<bool> fitted;
    c().fitToBeneath([&](bool ok) { fitted = ok; });
    ASSERT_EQ(fitted, true) << compass.view.toolTip.toStdString();
    EXPECT_TRUE(seen.asked.contains(QRect(centre().toPoint() - QPoint(170, 170), QSize(340, 340))));
    const auto fit = c().lastFit();
    ASSERT_TRUE(fit.has_value());
    EXPECT_NEAR(fit->centre.x(), truth.x(), 0.25);
    EXPECT_NEAR(fit->centre.y(), truth.y(), 0.25);
    EXPECT_NEAR(fit->spread, 100.0, 0.25);
    EXPECT_LE(std::abs(centre().x() - truth.x()), 0.5);
    EXPECT_LE(std::abs(centre().y() - truth.y()), 0.5);
    EXPECT_EQ(c().state().measurement, 100.0f);
    EXPECT_TRUE(compass.view.toolTip.startsWith("Fitted: centre "))
        << compass.view.toolTip.toStdString();

    c().toggleFit(); // the same key again
    EXPECT_EQ(c().state().posX, x);
    EXPECT_EQ(c().state().posY, y);
    EXPECT_EQ(c().state().measurement, 110.0f);
    c().undoFit(); // nothing more to undo
    EXPECT_EQ(c().state().posX, x);
}

TEST_F(BeneathFitTest, NothingMovesWhereNoCircleIs) {
    c().setScreenPixels(std::make_unique<DrawnScreen>(QPointF(), 0.0));
    const int x = c().state().posX;
    std::optional<bool> fitted;
    c().fitToBeneath([&](bool ok) { fitted = ok; });
    EXPECT_EQ(fitted, false);
    EXPECT_EQ(c().state().posX, x);
    EXPECT_EQ(c().state().measurement, 110.0f);
    EXPECT_EQ(compass.view.toolTip, "No circle beneath the compass.");
    EXPECT_FALSE(c().lastFit().has_value());
}

} // namespace
