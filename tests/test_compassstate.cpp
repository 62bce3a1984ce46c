// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/compassstate.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace orvanta;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

} // namespace

TEST(CompassState, InitialisePlacesFirstRunAndDerivesMaxLength) {
    struct Case {
        QList<QRect> monitors;
        QRect virtualRect;
        bool firstTime;
        std::int32_t storedMaxLength;
        int x, y, maxLength;
    };
    const QRect hd(0, 0, 1920, 1080), right(1920, 0, 1280, 1024), left(-1280, -100, 1280, 1024);
    const Case cases[] = {{{hd}, hd, true, 0, 200, 150, 2403},
                          {{right, hd}, QRect(0, 0, 3200, 1080), true, 0, 2120, 150, 3577},
                          {{hd, left}, QRect(-1280, -100, 3200, 1180), true, 0, 1480, 250, 3611},
                          {{}, hd, true, 5000, 200, 150, 5000},
                          {{hd}, hd, false, 0, 7, 9, 2403}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        Settings options(dir.filePath("Compass.ini"), u'.');
        options.firstTime = c.firstTime;
        options.x = 7;
        options.y = 9;
        options.maxLength = c.storedMaxLength;
        CompassState compass;
        compass.initialise(options, DesktopGeometry{c.virtualRect, c.monitors, hd});
        EXPECT_EQ(QPoint(compass.posX, compass.posY), QPoint(c.x, c.y)) << c.x;
        EXPECT_EQ(compass.maxLength, c.maxLength) << c.x;
        // The first placement is saved at once; later runs do not write.
        EXPECT_EQ(Settings(options.fileName, u'.').x, c.firstTime ? c.x : 200) << c.x;
    }
}

TEST(CompassState, WrapAngleRemovesOneTurnAtMost) {
    const std::pair<float, float> cases[] = {{-90, 270},       {271, -89}, {700, 340}, {270, 270},
                                             {-89.5f, -89.5f}, {0, 0},     {-450, -90}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(CompassState::wrapAngle(in), out) << in;
}

TEST(CompassState, NormalizeMakesTheSpreadWholeAndBounded) {
    const std::pair<float, float> cases[] = {{0.7f, 0},    {-12, 0},  {kNaN, 0}, {kInf, 2403},
                                             {5000, 2403}, {2.5f, 2}, {3.5f, 4}, {2402.6f, 2403}};
    Settings options(QString(), u'.');
    for (const auto& [in, out] : cases) {
        CompassState compass;
        compass.maxLength = 2403;
        compass.measurement = in;
        compass.normalizeCompass(options, false);
        EXPECT_EQ(compass.measurement, out) << in;
    }
}

TEST(CompassState, StickySnapOnlyWhileDraggingAndCtrlInvertsIt) {
    struct Case {
        float angle;
        bool sticky, ctrl, dragging;
        float shown;
    };
    const Case cases[] = {{47, true, false, true, 45},    {40, true, false, true, 40},
                          {47, true, true, true, 47},     {47, false, true, true, 45},
                          {47, true, false, false, 47},   {-3, true, false, true, 360},
                          {-133, true, false, true, 225}, {1127, true, false, true, 45},
                          {kNaN, true, false, true, 0}};
    for (const auto& c : cases) {
        Settings options(QString(), u'.');
        options.stickyAngle = c.sticky;
        CompassState compass;
        compass.angle = c.angle;
        compass.dragging = c.dragging;
        compass.normalizeCompass(options, c.ctrl);
        EXPECT_EQ(compass.displayAngle, c.shown) << c.angle;
        if (std::isfinite(c.angle)) {
            EXPECT_EQ(compass.angle, c.angle); // the drag keeps its own angle
        }
    }
}

TEST(CompassState, ChangeMeasurementIsSilentUntilComposed) {
    CompassState compass;
    compass.measurement = 100;
    compass.typing = true;
    compass.changeMeasurement(-150);
    EXPECT_EQ(std::tuple(compass.measurement, compass.typing, compass.needsRepaint),
              std::tuple(-50.0f, true, false));
    compass.composed = true;
    compass.changeMeasurement(0);
    EXPECT_EQ(std::pair(compass.typing, compass.needsRepaint), std::pair(false, true));
}

TEST(CompassState, AtMostOneLockIsOnAndTogglesAreSaved) {
    QTemporaryDir dir;
    Settings options(dir.filePath("Compass.ini"), u'.');
    setLockAngle(options, true);
    setLockMeasurement(options, true);
    EXPECT_FALSE(options.lockAngle);
    setLockAngle(options, true);
    setStickyAngle(options, false);
    const Settings saved(options.fileName, u'.');
    EXPECT_EQ(std::tuple(saved.lockAngle, saved.lockMeasurement, saved.stickyAngle),
              std::tuple(true, false, false));
}
