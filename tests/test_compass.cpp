#include "model/compass.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace orvanta;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

} // namespace

TEST(Compass, InitialisePlacesFirstRunAndDerivesMaxLength) {
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
        TDervikOptions options(dir.filePath("Compass.ini"), u'.');
        options.FirstTime = c.firstTime;
        options.X = 7;
        options.Y = 9;
        options.MaxLength = c.storedMaxLength;
        TCompass compass;
        compass.Initialise(options, DesktopGeometry{c.virtualRect, c.monitors, hd});
        EXPECT_EQ(QPoint(compass.FPosX, compass.FPosY), QPoint(c.x, c.y)) << c.x;
        EXPECT_EQ(compass.FMaxLength, c.maxLength) << c.x;
        // The first placement is saved at once; later runs do not write.
        EXPECT_EQ(TDervikOptions(options.FileName, u'.').X, c.firstTime ? c.x : 200) << c.x;
    }
}

TEST(Compass, WrapAngleRemovesOneTurnAtMost) {
    const std::pair<float, float> cases[] = {{-90, 270},       {271, -89}, {700, 340}, {270, 270},
                                             {-89.5f, -89.5f}, {0, 0},     {-450, -90}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(TCompass::WrapAngle(in), out) << in;
}

TEST(Compass, NormalizeMakesTheSpreadWholeAndBounded) {
    const std::pair<float, float> cases[] = {{0.7f, 0},    {-12, 0},  {kNaN, 0}, {kInf, 2403},
                                             {5000, 2403}, {2.5f, 2}, {3.5f, 4}, {2402.6f, 2403}};
    TDervikOptions options(QString(), u'.');
    for (const auto& [in, out] : cases) {
        TCompass compass;
        compass.FMaxLength = 2403;
        compass.FMeasurement = in;
        compass.NormalizeCompass(options, false);
        EXPECT_EQ(compass.FMeasurement, out) << in;
    }
}

TEST(Compass, StickySnapOnlyWhileDraggingAndCtrlInvertsIt) {
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
        TDervikOptions options(QString(), u'.');
        options.StickyAngle = c.sticky;
        TCompass compass;
        compass.FAngle = c.angle;
        compass.FDragging = c.dragging;
        compass.NormalizeCompass(options, c.ctrl);
        EXPECT_EQ(compass.FDisplayAngle, c.shown) << c.angle;
        if (std::isfinite(c.angle)) {
            EXPECT_EQ(compass.FAngle, c.angle); // the drag keeps its own angle
        }
    }
}

TEST(Compass, ChangeMeasurementIsSilentUntilComposed) {
    TCompass compass;
    compass.FMeasurement = 100;
    compass.FTyping = true;
    compass.ChangeMeasurement(-150);
    EXPECT_EQ(std::tuple(compass.FMeasurement, compass.FTyping, compass.FNeedsRepaint),
              std::tuple(-50.0f, true, false));
    compass.FComposed = true;
    compass.ChangeMeasurement(0);
    EXPECT_EQ(std::pair(compass.FTyping, compass.FNeedsRepaint), std::pair(false, true));
}

TEST(Compass, AtMostOneLockIsOnAndTogglesAreSaved) {
    QTemporaryDir dir;
    TDervikOptions options(dir.filePath("Compass.ini"), u'.');
    SetLockAngle(options, true);
    SetLockMeasurement(options, true);
    EXPECT_FALSE(options.LockAngle);
    SetLockAngle(options, true);
    SetStickyAngle(options, false);
    const TDervikOptions saved(options.FileName, u'.');
    EXPECT_EQ(std::tuple(saved.LockAngle, saved.LockMeasurement, saved.StickyAngle),
              std::tuple(true, false, false));
}
