// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The controller: the one validator per value whatever asks, what it saves,
// and what it hands to the view.
#include "controllerharness.h"
#include "model/values.h"
#include "testfiles.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <limits>

using namespace orvanta;

namespace {

struct Controller : ::testing::Test {
    void SetUp() override {
        if (!compass.ok())
            GTEST_SKIP() << "needs the built program folder";
    }
    CompassController& c() { return *compass.controller; }
    test::ControllerHarness compass;
};

} // namespace

TEST(Values, ShapesOutsideTheMenuBecomeTheCircle) {
    // Menu, keys, automation and --render share this rule; one or two "sides"
    // have no figure (a polygon of 2 has an infinite perimeter).
    const std::pair<int, int> cases[] = {
        {0, 0}, {3, 3},  {39, 39}, {1, 0},
        {2, 0}, {40, 0}, {-1, 0},  {std::numeric_limits<int>::min(), 0}};
    for (const auto& [asked, taken] : cases)
        EXPECT_EQ(shapeOrCircle(asked), taken) << asked;
}

TEST(Values, OpacityRoundsHalfToEvenAndStaysVisible) {
    const std::pair<double, int> cases[] = {{55.5, 56}, {54.5, 54},   {150, 100},     {5, 10},
                                            {10.4, 10}, {-1e300, 10}, {HUGE_VAL, 100}};
    for (const auto& [asked, taken] : cases)
        EXPECT_EQ(clampedOpacity(asked), taken) << asked;
    EXPECT_THROW((void)clampedOpacity(std::nan("")), OrvantaError);
}

TEST(Values, NumbersMustFitAFloat) {
    EXPECT_EQ(finiteFloat(-90.0, u"Angle"), -90.0f);
    for (const double bad : {std::nan(""), HUGE_VAL, 1e39})
        EXPECT_TRUE(test::errorOf([&] { (void)finiteFloat(bad, u"Angle"); })
                        .startsWith("Angle must be a finite number within the range of a "
                                    "32-bit float, not "))
            << bad;
}

TEST_F(Controller, AClientsShapeChecksNoMenuItemAndIsSaved) {
    QSignalSpy cleared(&c(), &CompassController::shapeChosenByClient);
    c().setShapeForClient(2);
    EXPECT_EQ(c().settings().shape, 0);
    c().setShapeForClient(6);
    EXPECT_EQ(compass.saved().shape, 6);
    EXPECT_EQ(cleared.count(), 2);
    c().setShape(5); // the menu's path leaves its own check alone
    EXPECT_EQ(cleared.count(), 2);
}

TEST_F(Controller, ChoicesAreSavedAndReachTheirPorts) {
    c().setStayOnTop(false);
    EXPECT_FALSE(compass.view.onTop);
    c().setRunAtStart(true);
    EXPECT_EQ(compass.services.autostartCalls, QList<bool>({true}));
    c().setMeasureType(7); // not a measure: the radius
    EXPECT_EQ(c().settings().measureType, MeasureKind::Radius);
    c().setMeasureType(2);
    const Settings saved = compass.saved();
    EXPECT_FALSE(saved.stayOnTop);
    EXPECT_TRUE(saved.runAtStart);

    // Opacity from automation previews (the dialog's OK saves: the dialog's test).
    c().setOpacity(70);
    EXPECT_EQ(c().settings().transparency, 30);
    EXPECT_EQ(compass.saved().transparency, 0);
}

TEST_F(Controller, StateChangesAskForARenderAndRefuseWhatCannotBeDrawn) {
    compass.view.renders = 0;
    c().setAngle(-90);
    EXPECT_EQ(c().state().angle, 270.0f);
    EXPECT_TRUE(c().needsRender());
    EXPECT_GE(compass.view.renders, 1);
    EXPECT_THROW(c().setAngle(std::nan("")), OrvantaError);
    EXPECT_THROW(c().setMeasurement(1e39), OrvantaError);
    EXPECT_EQ(c().state().angle, 270.0f);

    const Frame frame = c().render(true, false);
    EXPECT_TRUE(frame.rendered);
    EXPECT_FALSE(c().needsRender());
}

// An installed program's first start, its options (none yet) apart from its
// assets: the shipped default skin shows and is stored, with no complaint
// about a skin beside the options.
TEST(ControllerOptions, AFirstStartApartFromTheAssetsShowsTheShippedDefaultSkin) {
    test::ControllerHarness compass("", true);
    if (!compass.ok())
        GTEST_SKIP() << "needs the built program folder";
    EXPECT_TRUE(compass.services.messages.isEmpty())
        << compass.services.messages.join(u'\n').toStdString();
    const QString shipped = compass.program.path(QStringLiteral("default/default.ini"));
    EXPECT_EQ(QFileInfo(compass.controller->settings().skinPath).canonicalFilePath(),
              QFileInfo(shipped).canonicalFilePath());
}

TEST_F(Controller, TypedEntryErrorsAreShownAndTypingGoesOn) {
    for (const QChar ch : QStringLiteral(".\r"))
        c().typeCharacter(ch);
    ASSERT_EQ(compass.services.messages.size(), 1);
    EXPECT_EQ(compass.services.messages[0], "'.' is not a valid floating point value");
    EXPECT_TRUE(c().state().typing);
}

TEST_F(Controller, HidingWithoutAWayBackIsQuitting) {
    c().requestHide();
    test::ControllerHarness noTray("[Options]\r\nFirstTime=0\r\nSystemTrayIcon=0\r\n");
    noTray.controller->requestHide();
    EXPECT_EQ(compass.view.calls, QStringList{"hideCompass tray"});
    EXPECT_EQ(noTray.view.calls, QStringList{"hideCompass quit"});
}

// It starts from the options as they are, a step beside this compass, which
// stays where it is.
TEST_F(Controller, ANewInstanceIsTheSameProgramStartedBesideThisOne) {
    c().setMeasurement(120);
    for (const auto& [x, y, newX, newY] :
         {std::tuple(240, 180, 288, 228), std::tuple(1900, 1070, 1852, 1022)}) {
        c().moveTo(x, y);
        c().startNewInstance();
        const Settings saved = compass.saved();
        EXPECT_EQ(std::tuple(saved.x, saved.y, saved.measurement), std::tuple(newX, newY, 120.0f));
        EXPECT_EQ(std::tuple(c().settings().x, c().settings().y), std::tuple(x, y));
    }
    EXPECT_EQ(compass.shell.started, QStringList(2, compass.program.binary()));
    EXPECT_TRUE(compass.shell.opened.isEmpty());
}

TEST_F(Controller, ChangesSinceTheLastFrameAreSavedOnTheWayOut) {
    ASSERT_TRUE(c().render(true, false).rendered);
    c().moveTo(240, 180);
    c().setAngle(-30);
    c().setMeasurement(120.4);
    c().shutDown();
    const Settings saved = compass.saved();
    EXPECT_EQ(std::tuple(saved.x, saved.y, saved.angle, saved.measurement),
              std::tuple(240, 180, -30.0f, 120.0f));
}

// A 24-inch 1080p monitor beside a 27-inch 4K one: the centimetres follow the
// monitor under the pivot, a calibration overrides the reported size and is
// stored, and the option brings back 96 px/in everywhere.
TEST_F(Controller, PhysicalUnitsFollowTheMonitorUnderThePivot) {
    EXPECT_TRUE(c().settings().physicalUnitsPerMonitor); // not in the file: on
    const MonitorIdentity office{"GSM", "24MK430", "101", "DP-1"};
    const MonitorIdentity fourK{"DEL", "U2720Q", "202", "DP-2"};
    compass.view.geometry = DesktopGeometry{QRect(0, 0, 5760, 2160),
                                            {QRect(0, 0, 1920, 1080), QRect(1920, 0, 3840, 2160)},
                                            QRect(0, 0, 1920, 1080)};
    c().setMonitors(MonitorList{
        {{office, {0, 0, 1920, 1080}, {531, 299}}, {fourK, {1920, 0, 3840, 2160}, {597, 336}}},
        {5760, 2160}});
    c().selectUnit(2);
    c().setMeasurement(200);
    const auto readoutAt = [&](int x) {
        c().moveTo(x, 500);
        (void)c().render(true, false);
        return c().state().displayText;
    };
    EXPECT_EQ(readoutAt(500), "5.53");  // 91.8 px/in
    EXPECT_EQ(readoutAt(2500), "3.11"); // 163.4 px/in
    ASSERT_TRUE(c().monitorUnderCompass());
    EXPECT_EQ(c().monitorUnderCompass()->scale.source, DensitySource::Reported);

    c().calibrateMonitor(fourK, PixelDensity{200, 200});
    EXPECT_EQ(readoutAt(2500), "2.54");
    EXPECT_EQ(c().monitorUnderCompass()->uncalibrated.source, DensitySource::Reported);
    EXPECT_TRUE(compass.program.readFile("calibration.ini").contains("PixelsPerInchX=200\r\n"));
    EXPECT_TRUE(compass.services.messages.isEmpty());

    c().setPhysicalUnitsPerMonitor(false);
    EXPECT_EQ(readoutAt(2500), "5.29");
    EXPECT_FALSE(compass.saved().physicalUnitsPerMonitor);
    c().setPhysicalUnitsPerMonitor(true);
    c().calibrateMonitor(fourK, std::nullopt);
    EXPECT_EQ(readoutAt(2500), "3.11");
}
