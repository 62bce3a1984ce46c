// The context menu and the window's menu commands, offscreen.
#include "app/compasswindow.h"
#include "platform/autostart.h"
#include "platform/x11shape.h"
#include "xdesktop.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QAction* find(const QMenu* menu, const QString& caption) {
    for (QAction* a : menu->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

struct Fakes : MessageSink, Autostart, DesktopShape {
    QStringList texts;
    QList<bool> autostartCalls;
    void showMessage(const QString& text) override { texts << text; }
    bool setRunAtStart(bool on, const QString&) override {
        autostartCalls << on;
        return true;
    }
    bool compositorRunning() const override { return true; }
    bool setInputShape(WId, const QVector<QRect>&) override { return true; }
};

} // namespace

TEST(MainMenu, TopLevelItemsInOrder) {
    QWidget owner;
    CompassMenu m(&owner);
    EXPECT_EQ(captions(m.contextMenu),
              QStringList({"单位", "Calibrate this screen…", "皮肤", "形状", "选项", "-",
                           "粘性角度", "锁定角度", "锁定测量", "-", "半径", "周长", "面积", "-",
                           "退出", "显示圆规"}));
    EXPECT_EQ(captions(m.skinsMenu),
              QStringList({"皮肤质量", "-", "基础皮肤", "-", "关于此皮肤", "获取更多皮肤"}));
    EXPECT_EQ(captions(m.optionsMenu),
              QStringList({"总在最上面", "显示工具提示", "开机时运行", "隐藏初始屏幕",
                           "Physical units use each monitor's size", "-", "透明度", "放大镜",
                           "在屏幕中心", "-", "帮助", "访问网站"}));
    EXPECT_FALSE(m.openAction->isVisible());
    EXPECT_EQ(m.contextMenu->defaultAction(), m.openAction);
    EXPECT_TRUE(m.highQualityAction->isChecked());
    EXPECT_TRUE(m.qualityGroup->isExclusive());
}

TEST(MainMenu, UnitsAndShapeMenusCheckTheCurrentChoice) {
    QTemporaryDir dir;
    UnitTable units(dir.path() + "/", QString(), u'.');
    units.setName(7, QStringLiteral("英尺"));
    units.select(2);
    Settings options(dir.filePath("Compass.ini"), u'.');
    options.shape = 24;
    options.scribe = 1;
    QWidget owner;
    CompassMenu m(&owner);
    buildUnitsMenu(m, units);
    buildUnitsMenu(m, units); // rebuilding replaces, never appends
    const QStringList c = captions(m.unitsMenu);
    ASSERT_EQ(c.size(), 2 + 8);
    EXPECT_EQ(c.mid(0, 2), QStringList({"校准单位", "-"}));
    EXPECT_EQ(c.last(), QStringLiteral("英尺"));
    EXPECT_EQ(m.calibrateAction->data().toInt(), -1);
    for (int i = 0; i < 8; ++i) {
        const QAction* a = m.unitsMenu->actions().at(2 + i);
        EXPECT_EQ(a->data().toInt(), i);
        EXPECT_EQ(a->isChecked(), i == 2);
    }

    buildShapeMenu(m, options);
    const QStringList s = captions(m.shapeMenu);
    EXPECT_EQ(s.mid(0, 4), QStringList({"圆形", "-", "三角形 - 3", "正方形 - 4"}));
    EXPECT_EQ(s.mid(8),
              QStringList({"九边形 - 9", "10s", "20s", "30s", "-", "直角多边形", "内切多边形"}));
    const QList<QAction*> shapes = shapeActions(m);
    ASSERT_EQ(shapes.size(), 1 + 7 + 30);
    for (QAction* a : shapes)
        EXPECT_EQ(a->isChecked(), a->data().toInt() == 24) << a->text().toStdString();
    EXPECT_EQ(captions(find(m.shapeMenu, "20s")->menu()).at(4), QStringLiteral("二十四边形 - 24"));
    EXPECT_TRUE(find(m.shapeMenu, "内切多边形")->isChecked());
}

TEST(MainWindow, MenuCommandsChangeOptionsAndExitSavesBothFiles) {
    test::ProgramCopy program;
    if (!program.ok())
        GTEST_SKIP() << "needs the built program folder";
    program.writeFile("Compass.ini", "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=321\r\n");
    QFile::remove(program.path("distances.ini"));
    Fakes fakes;
    CompassWindow w(CompassWindowDeps{ProgramPaths::portableIn(program.path()), program.binary(),
                                      fakes, fakes, fakes, false});
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
    m.areaAction->trigger();
    EXPECT_EQ(c.settings().measureType, 2);
    find(m.shapeMenu, "正方形 - 4")->trigger();
    EXPECT_EQ(c.settings().shape, 4);
    EXPECT_TRUE(saved("Shape=4"));
    m.lockAngleAction->trigger();
    m.lockMeasurementAction->trigger();
    EXPECT_FALSE(m.lockAngleAction->isChecked()); // at most one lock at a time
    EXPECT_TRUE(m.lockMeasurementAction->isChecked());

    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(10, 10));
    QApplication::sendEvent(&w, &rightClick);
    EXPECT_TRUE(m.contextMenu->isVisible());
    m.contextMenu->hide();

    c.setOpacity(70);
    EXPECT_EQ(c.settings().transparency, 30);
    EXPECT_EQ(c.opacity(), 70);
    EXPECT_FALSE(saved("Transparency=30")); // a preview is not saved

    c.model().state.angle = 33;
    m.centreAction->trigger();
    EXPECT_EQ(c.model().state.angle, 0.0f);
    EXPECT_EQ(c.model().state.measurement, 100.0f);
    EXPECT_TRUE(fakes.texts.isEmpty()) << fakes.texts.join('\n').toStdString();

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
