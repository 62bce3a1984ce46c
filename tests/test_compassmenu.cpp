// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The context menu and the window's menu commands, offscreen.
#include "app/compasswindow.h"
#include "controllerharness.h"
#include "platform/windowpixels.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

QAction* find(const QMenu* menu, const QString& caption) {
    for (QAction* a : menu->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

} // namespace

// The window stores a choice's tag: each group's items carry the numbers the
// options file uses, and a choice unchecks the rest of its group.
TEST(CompassMenu, RadioGroupsAreExclusiveAndTaggedWithTheStoredNumbers) {
    QWidget owner;
    CompassMenu m(&owner);
    const std::pair<QActionGroup*, QList<QAction*>> groups[] = {
        {m.qualityGroup, {m.lowQualityAction, m.highQualityAction}},
        {m.measureGroup,
         {m.radiusAction, m.circumferenceAction, m.areaAction, m.diameterAction, m.angleAction}},
    };
    for (const auto& [group, items] : groups) {
        ASSERT_EQ(group->actions().size(), items.size()); // in menu order, here by tag
        for (QAction* item : items)
            ASSERT_TRUE(group->actions().contains(item));
        for (int tag = 0; tag < items.size(); ++tag) {
            EXPECT_EQ(items[tag]->data().toInt(), tag);
            items[tag]->trigger();
            for (const QAction* a : items)
                EXPECT_EQ(a->isChecked(), a == items[tag]) << a->text().toStdString();
        }
    }
    EXPECT_EQ(m.defaultSkinAction->data().toInt(), 0);
    EXPECT_TRUE(m.skinGroup->isExclusive());
    EXPECT_TRUE(m.languageGroup->isExclusive());
    EXPECT_TRUE(m.automaticLanguageAction->isChecked());
    checkLanguage(m, LanguageChoice::Chinese);
    EXPECT_EQ(m.languageGroup->checkedAction(), m.chineseAction);
    EXPECT_EQ(LanguageChoice(m.chineseAction->data().toInt()), LanguageChoice::Chinese);
    // Opening the compass is the tray menu's default and hidden while it shows.
    EXPECT_EQ(m.contextMenu->defaultAction(), m.openAction);
    EXPECT_FALSE(m.openAction->isVisible());
}

TEST(CompassMenu, UnitsAndShapeMenusCheckTheCurrentChoice) {
    QTemporaryDir dir;
    UnitTable units(dir.path() + "/", QString(), u'.');
    units.setName(7, QStringLiteral("英尺"));
    units.select(2);
    Settings options(dir.filePath("Compass.ini"), u'.');
    options.shape = 24;
    options.scribe = Inscription::Inscribed;
    QWidget owner;
    CompassMenu m(&owner);
    buildUnitsMenu(m, units);
    buildUnitsMenu(m, units); // rebuilding replaces, never appends
    EXPECT_EQ(m.calibrateAction->data().toInt(), -1);
    const QList<QAction*> unitItems = m.unitGroup->actions();
    ASSERT_EQ(unitItems.size(), 8);
    EXPECT_EQ(m.unitsMenu->actions().last(), unitItems.last());
    EXPECT_EQ(unitItems.last()->text(), QStringLiteral("英尺"));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(unitItems[i]->data().toInt(), i);
        EXPECT_EQ(unitItems[i]->isChecked(), i == 2);
    }

    buildShapeMenu(m, options);
    QList<int> tags;
    for (const QAction* a : shapeActions(m)) {
        tags << a->data().toInt();
        EXPECT_EQ(a->isChecked(), a->data().toInt() == 24) << a->text().toStdString();
    }
    QList<int> expected{0};
    for (int n = 3; n < 40; ++n)
        expected << n;
    EXPECT_EQ(tags, expected);
    const QList<QAction*> scribes = m.scribeGroup->actions();
    ASSERT_EQ(scribes.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(scribes[i]->data().toInt(), i);
        EXPECT_EQ(scribes[i]->isChecked(), i == int(options.scribe));
    }
}

// A window on a copy of the built program folder, with every service faked.
struct CompassWindowMenu : ::testing::Test {
    void SetUp() override {
        if (!program.ok())
            GTEST_SKIP() << "needs the built program folder";
    }
    // Starts from these options ("[Options]" and the first-start keys added).
    [[nodiscard]] CompassWindowDeps deps(const QByteArray& options,
                                         WindowPixels* pixels = nullptr) {
        program.writeFile("Compass.ini", "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\n" + options);
        return CompassWindowDeps(ProgramPaths::portableIn(program.path()), program.binary(), fakes,
                                 fakes, fakes, fakes, false, nullptr, pixels);
    }
    test::ProgramCopy program;
    test::FakeServices fakes;
};

TEST_F(CompassWindowMenu, MenuCommandsChangeOptionsAndExitSavesBothFiles) {
    const CompassWindowDeps windowDeps = deps("X=321\r\n");
    QFile::remove(program.path("distances.ini"));
    CompassWindow w(windowDeps);
    CompassMenu& m = w.menu();
    CompassController& c = w.controller();
    const auto saved = [&](const char* line) {
        return program.readFile("Compass.ini").contains(line);
    };

    m.lowQualityAction->trigger();
    EXPECT_FALSE(c.settings().quality);
    EXPECT_TRUE(saved("Quality=0"));
    m.runAtStartupAction->trigger();
    EXPECT_EQ(fakes.autostartCalls, QList<bool>({true}));
    EXPECT_TRUE(c.settings().runAtStart);
    m.angleAction->trigger();
    EXPECT_EQ(c.settings().measureType, MeasureKind::Angle);
    m.diameterAction->trigger();
    EXPECT_EQ(c.settings().measureType, MeasureKind::Diameter);
    c.setMeasureType(int(MeasureKind::Angle)); // from elsewhere: the menu follows
    EXPECT_TRUE(m.angleAction->isChecked());
    find(m.shapeMenu, "Square - 4")->trigger();
    EXPECT_EQ(c.settings().shape, 4);
    EXPECT_TRUE(saved("Shape=4"));
    // The lock checks follow the options, whatever one lock does to the other.
    m.lockAngleAction->trigger();
    m.lockMeasurementAction->trigger();
    EXPECT_EQ(m.lockAngleAction->isChecked(), c.settings().lockAngle);
    EXPECT_EQ(m.lockMeasurementAction->isChecked(), c.settings().lockMeasurement);
    EXPECT_TRUE(c.settings().lockMeasurement);

    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(10, 10));
    QApplication::sendEvent(&w, &rightClick);
    EXPECT_TRUE(m.contextMenu->isVisible());
    m.contextMenu->hide();

    c.model().state.angle = 33;
    m.centreAction->trigger();
    EXPECT_EQ(c.model().state.angle, 0.0f);
    EXPECT_EQ(c.model().state.measurement, 100.0f);
    EXPECT_TRUE(fakes.messages.isEmpty()) << fakes.messages.join('\n').toStdString();

    QSignalSpy quitting(&c, &CompassController::quitting);
    c.model().state.posX = 400;
    w.idleUpdate();
    w.show();
    w.idleUpdate();
    m.exitAction->trigger();
    EXPECT_EQ(quitting.count(), 1);
    EXPECT_TRUE(saved("X=400\r\n"));
    EXPECT_TRUE(program.readFile("distances.ini").contains("UnitsCount=7"));
}

TEST_F(CompassWindowMenu, TheTitleFollowsADragsReadoutSparinglyAndEndsOnTheLastValue) {
    CompassWindow w(deps({}));
    CompassController& c = w.controller();
    const auto title = [](int spread) { return QStringLiteral("Compass %1 Pixels").arg(spread); };
    // Whatever the start showed has settled.
    Q_EMIT c.titleChanged(title(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.windowTitle() == title(0); }, 2000));
    QTest::qWait(400);

    QSignalSpy shown(&w, &QWidget::windowTitleChanged);
    for (int spread = 1; spread <= 40; ++spread)
        Q_EMIT c.titleChanged(title(spread));
    EXPECT_EQ(w.windowTitle(), title(1)) << "the first change shows at once";
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.windowTitle() == title(40); }, 2000));
    EXPECT_EQ(shown.count(), 2);
    // Settled again, a single change shows at once.
    QTest::qWait(400);
    Q_EMIT c.titleChanged(title(41));
    EXPECT_EQ(w.windowTitle(), title(41));
}

// A drag's frames go to the X server past Qt's backing store; when the window
// is exposed, Qt shows what that store holds, so it is painted anew first.
TEST_F(CompassWindowMenu, FramesPutPastQtArePaintedIntoItBeforeAnExpose) {
    struct Puts : WindowPixels {
        bool put(WId, const QImage& image, const QRegion& region) override {
            frames.append(region & image.rect());
            return true;
        }
        QList<QRegion> frames;
    } puts;
    struct Paints : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
        QRegion painted;
    } paints;
    CompassWindow w(deps("Measurement=200\r\n", &puts));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.idleUpdate();
    QApplication::processEvents();
    w.installEventFilter(&paints);

    // A shorter spread keeps the window: the frame is put, not painted.
    CompassState& state = w.controller().model().state;
    state.measurement = 190;
    state.needsRepaint = true;
    w.idleUpdate();
    QApplication::processEvents();
    ASSERT_EQ(puts.frames.size(), 1);
    EXPECT_FALSE(puts.frames.first().isEmpty());
    EXPECT_TRUE(paints.painted.isEmpty());

    QExposeEvent expose(QRegion(QRect(QPoint(0, 0), w.size())));
    QApplication::sendEvent(w.windowHandle(), &expose);
    QApplication::processEvents();
    EXPECT_EQ(paints.painted, QRegion(w.rect()));
}

// Under XWayland one press can reach the window twice, the second as a
// double-click; a double-click flips the beam. Only presses the hand made
// count, and a real double-click still flips it.
TEST_F(CompassWindowMenu, APressDeliveredTwiceIsOneClick) {
    CompassWindow w(deps("X=300\r\nY=250\r\nAngle=0\r\n"));
    w.idleUpdate();
    const float& angle = w.controller().model().state.angle;
    const QPointF onBase = w.mapFromGlobal(QPoint(326, 278));
    const auto twice = [&](QEvent::Type type, ulong time) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        for (const QEvent::Type each :
             {type, type == QEvent::MouseButtonPress ? QEvent::MouseButtonDblClick : type}) {
            QMouseEvent event(each, onBase, w.mapToGlobal(onBase), Qt::LeftButton, held, {});
            event.setTimestamp(time);
            QApplication::sendEvent(&w, &event);
        }
    };
    const ulong start = 100000;
    const auto later = [&](int ms) { return start + ulong(ms); };
    twice(QEvent::MouseButtonPress, start);
    twice(QEvent::MouseButtonRelease, later(60));
    EXPECT_EQ(angle, 0.0f) << "one click flipped the beam";

    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    twice(QEvent::MouseButtonPress, later(interval + 100));
    twice(QEvent::MouseButtonRelease, later(interval + 160));
    twice(QEvent::MouseButtonPress, later(interval + 220));
    twice(QEvent::MouseButtonRelease, later(interval + 280));
    EXPECT_EQ(angle, 90.0f) << "a double-click did not flip the beam";
}
