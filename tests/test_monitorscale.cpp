// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Pixels per inch per monitor: which reported sizes are believed, how the
// physical units convert with them, how a monitor is recognised, how the
// calibrations are kept, and what the readout's tooltip says about them.
#include "model/calibrationstore.h"
#include "model/compassmodel.h"
#include "model/monitorscale.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

constexpr double kInch = 25.4;

} // namespace

TEST(MonitorScale, ReportedSizesAreBelievedOnlyWhenPlausible) {
    struct Case {
        const char* what;
        QSize pixels;
        QSizeF mm;
        QSizeF desktopMm;
        std::optional<double> across; // px/in, when believed
    };
    const Case cases[] = {
        {"0 mm behind an adapter", {1920, 1080}, {0, 0}, {}, std::nullopt},
        {"1 x 1 mm", {1920, 1080}, {1, 1}, {}, std::nullopt},
        {"one axis missing", {1920, 1080}, {531, 0}, {}, std::nullopt},
        {"aspect mismatch", {1920, 1080}, {531, 400}, {}, std::nullopt},
        {"over 600 px/in", {1920, 1080}, {60, 34}, {}, std::nullopt},
        {"under 50 px/in", {1920, 1080}, {1100, 619}, {}, std::nullopt},
        {"Qt's stand-in: the desktop's millimetres",
         {1920, 1080},
         {508, 286},
         {508, 286},
         std::nullopt},
        {"24-inch 1080p", {1920, 1080}, {531, 299}, {1016, 286}, 1920 * kInch / 531},
        {"27-inch 4K", {3840, 2160}, {597, 336}, {}, 3840 * kInch / 597},
        {"13-inch 3K laptop", {3000, 2000}, {285, 190}, {}, 3000 * kInch / 285},
    };
    for (const Case& c : cases) {
        const auto d = reportedDensity(c.pixels, c.mm, c.desktopMm);
        ASSERT_EQ(d.has_value(), c.across.has_value()) << c.what;
        if (d) {
            EXPECT_NEAR(d->x, *c.across, 1e-9) << c.what;
            EXPECT_NEAR(d->y, c.pixels.height() * kInch / c.mm.height(), 1e-9) << c.what;
        }
    }
}

TEST(MonitorScale, ScaleComesFromCalibrationElseReportElseAssumption) {
    const MonitorInfo reported{{"GSM", "27UK850", "123", "DP-1"}, {0, 0, 3840, 2160}, {597, 336}};
    const MonitorInfo silent{{{}, {}, {}, "HDMI-1"}, {3840, 0, 1920, 1080}, {0, 0}};
    const PixelDensity calibrated{160, 161};
    const std::tuple<const MonitorInfo*, std::optional<PixelDensity>, DensitySource, double>
        cases[] = {{&reported, calibrated, DensitySource::Calibrated, 160},
                   {&reported, std::nullopt, DensitySource::Reported, 3840 * kInch / 597},
                   {&silent, std::nullopt, DensitySource::Assumed, 96},
                   {&silent, calibrated, DensitySource::Calibrated, 160}};
    for (const auto& [monitor, calibration, source, across] : cases) {
        const MonitorScale s = monitorScale(*monitor, {}, calibration);
        EXPECT_EQ(s.source, source) << monitor->identity.connector.toStdString();
        EXPECT_NEAR(s.density.x, across, 1e-9);
    }
    EXPECT_EQ(monitorScale(reported, {}, {}).monitorName, "27UK850 (DP-1)");
    EXPECT_EQ(monitorScale(silent, {}, {}).monitorName, "HDMI-1");
}

TEST(MonitorScale, PivotPicksItsMonitorOrTheNearest) {
    const MonitorList list{{{{{}, {}, {}, "A"}, {0, 0, 1920, 1080}, {}},
                            {{{}, {}, {}, "B"}, {1920, 200, 1280, 800}, {}}},
                           {}};
    const std::pair<QPoint, const char*> cases[] = {
        {{100, 100}, "A"},
        {{1919, 1079}, "A"},
        {{1920, 200}, "B"},
        {{2500, 100}, "B"}, // above B, in the gap no monitor shows
        {{-50, 500}, "A"}};
    for (const auto& [point, name] : cases)
        EXPECT_EQ(monitorAt(list, point)->identity.connector, name)
            << point.x() << "," << point.y();
    EXPECT_EQ(monitorAt(MonitorList{}, {0, 0}), nullptr);
}

// Every shipped physical unit on a 96 px/in office monitor and on a 27-inch
// 4K one: a spread of one inch of glass reads one inch in every unit, typed
// lengths come back as the same pixels, and pixels and the user's units keep
// their own ratios.
TEST(MonitorScale, PhysicalUnitsConvertWithTheMonitorsDensity) {
    QTemporaryDir dir;
    Settings options(dir.filePath("Compass.ini"), u'.');
    UnitTable units(ORVANTA_SOURCE_DIR "/assets/program", QString(), u'.');
    units.setPixelNum(6, 3); // the user's unit: 3 px are 1 unit, on any monitor
    units.setUnitNum(6, 1);
    units.setDecimalNum(6, 3);
    CompassModel model(options, units, u'.');
    options.measureType = MeasureKind::Radius;

    const std::pair<int, const char*> oneInch[] = {
        {1, "1"}, {2, "2.54"}, {3, "25.4"}, {4, "72"}, {5, "6"}};
    const std::tuple<PixelDensity, const char*, const char*> monitors[] = {
        {{96, 96}, "96", "32"}, {{163.4, 163.4}, "163", "54.467"}};
    for (const auto& [density, pixels, userUnits] : monitors) {
        model.monitor = MonitorScale{"M", density, DensitySource::Reported, 1};
        model.state.measurement = float(density.x);
        for (const auto& [unit, shown] : oneInch) {
            model.selectUnit(unit);
            EXPECT_EQ(model.formatMeasurement(), shown) << unit << " at " << density.x;
            EXPECT_NEAR(model.unitsToPixels(shown), density.x, 0.01) << unit;
        }
        model.selectUnit(0);
        EXPECT_EQ(model.formatMeasurement(), pixels);
        model.selectUnit(6);
        EXPECT_EQ(model.formatMeasurement(), userUnits);
    }
}

TEST(MonitorScale, NonSquarePixelsConvertAlongTheBeam) {
    const PixelDensity d{100, 200};
    const std::pair<double, double> cases[] = {{0, 100},
                                               {90, 200},
                                               {180, 100},
                                               {-90, 200},
                                               {45, std::sqrt(2.0) / std::hypot(0.01, 0.005)}};
    for (const auto& [angle, along] : cases)
        EXPECT_NEAR(densityAlong(d, angle), along, 1e-9) << angle;
}

TEST(MonitorScale, MonitorsAreKnownByEdidElseByConnector) {
    const MonitorIdentity dell{"DEL", "U2720Q", "CN0F1", "DP-1"};
    struct Case {
        const char* what;
        MonitorIdentity other;
        bool same;
    };
    const Case cases[] = {
        {"the same monitor on another connector", {"DEL", "U2720Q", "CN0F1", "HDMI-2"}, true},
        {"another of the same model", {"DEL", "U2720Q", "CN0F2", "DP-1"}, false},
        {"no EDID on the connector it had", {{}, {}, {}, "DP-1"}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sameMonitor(dell, c.other), c.same) << c.what;
        EXPECT_EQ(sameMonitor(c.other, dell), c.same) << c.what;
    }
    const MonitorIdentity bare{{}, {}, {}, "VGA-1"};
    EXPECT_TRUE(sameMonitor(bare, MonitorIdentity{{}, {}, {}, "VGA-1"}));
    EXPECT_FALSE(sameMonitor(bare, MonitorIdentity{{}, {}, {}, "VGA-2"}));
    EXPECT_FALSE(sameMonitor(MonitorIdentity{}, MonitorIdentity{}));
}

TEST(CalibrationStore, CalibrationsSurviveARestartAndFollowTheirMonitor) {
    QTemporaryDir dir;
    const QString file = dir.filePath("calibration.ini");
    const MonitorIdentity laptop{"BOE", "NE135FBM", "0x0000", "eDP-1"};
    const MonitorIdentity projector{{}, {}, {}, "HDMI-1"};
    {
        CalibrationStore store(file);
        store.set(laptop, {201.5, 200.25});
        store.set(projector, {40.5, 41});
        store.set(MonitorIdentity{"BOE", "NE135FBM", "0x0000", "DP-3"}, {201.75, 200.5});
        store.set(MonitorIdentity{"X", "Y", "Z", "DP-9"}, {120, 120});
        store.remove(MonitorIdentity{"X", "Y", "Z", "DP-4"});
        ASSERT_TRUE(store.save());
    }
    const CalibrationStore again(file);
    const auto onDock = again.find(MonitorIdentity{"BOE", "NE135FBM", "0x0000", "DP-5"});
    ASSERT_TRUE(onDock);
    EXPECT_EQ(*onDock, (PixelDensity{201.75, 200.5}));
    EXPECT_EQ(again.find(MonitorIdentity{"BOE", "NE135FBM", "0x0001", "eDP-1"}), std::nullopt);
    EXPECT_EQ(again.find(projector), (PixelDensity{40.5, 41}));
    EXPECT_EQ(again.find(MonitorIdentity{"X", "Y", "Z", "DP-9"}), std::nullopt);
}

TEST(CalibrationStore, BadEntriesAreSkippedAndAFailedSaveSaysWhy) {
    QTemporaryDir dir;
    const QString file = dir.filePath("calibration.ini");
    test::writeAll(
        file, "[Monitor1]\r\nConnector=DP-1\r\nPixelsPerInchX=abc\r\nPixelsPerInchY=96\r\n"
              "[Monitor2]\r\nConnector=DP-2\r\nPixelsPerInchX=-3\r\nPixelsPerInchY=96\r\n"
              "[Monitor3]\r\nConnector=DP-3\r\nPixelsPerInchX=110.5\r\nPixelsPerInchY=111\r\n");
    CalibrationStore store(file);
    EXPECT_EQ(store.find(MonitorIdentity{{}, {}, {}, "DP-1"}), std::nullopt);
    EXPECT_EQ(store.find(MonitorIdentity{{}, {}, {}, "DP-2"}), std::nullopt);
    EXPECT_EQ(store.find(MonitorIdentity{{}, {}, {}, "DP-3"}), (PixelDensity{110.5, 111}));

    CalibrationStore nowhere(dir.filePath("missing/folder/calibration.ini"));
    nowhere.set(MonitorIdentity{{}, {}, {}, "DP-1"}, {100, 100});
    QString why;
    EXPECT_FALSE(nowhere.save(&why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(nowhere.find(MonitorIdentity{{}, {}, {}, "DP-1"}), (PixelDensity{100, 100}));
}

TEST(MonitorScale, TooltipNamesUnitMonitorDensityAndSource) {
    const std::tuple<QString, bool, MonitorScale, QString> cases[] = {
        {"cm",
         true,
         {"DP-1", {163.4, 163.4}, DensitySource::Reported, 1},
         "cm on monitor DP-1: 163.4 px/in, reported by the monitor"},
        {"cm",
         true,
         {"U2720Q (DP-1)", {160, 158.25}, DensitySource::Calibrated, 1},
         "cm on monitor U2720Q (DP-1): 160.0 × 158.3 px/in, calibrated"},
        {"px",
         false,
         {"HDMI-1", {96, 96}, DensitySource::Assumed, 1},
         "px in device pixels of monitor HDMI-1 (96.0 px/in, assumed 96)"},
        {"in",
         true,
         {"eDP-1", {267.4, 267.4}, DensitySource::Reported, 2},
         "in on monitor eDP-1: 267.4 px/in, reported by the monitor\r\n"
         "The desktop scales its interface by 200 %: readings are in device pixels, "
         "100 device pixels are 50.0 logical pixels"},
    };
    for (const auto& [unit, physical, scale, text] : cases)
        EXPECT_EQ(scaleDescription(unit, physical, scale), text);
}
