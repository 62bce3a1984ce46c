// The context menu and the window's menu commands, offscreen.
#include "app/mainwindow.h"
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

struct Fakes : IMessageSink, IAutostart, IDesktopShape {
    QStringList texts;
    QList<bool> autostartCalls;
    void ShowMessage(const QString& text) override { texts << text; }
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
    TMainMenu m(&owner);
    EXPECT_EQ(captions(m.PopupMenu1),
              QStringList({"单位", "皮肤", "形状", "选项", "-", "粘性角度", "锁定角度", "锁定测量",
                           "-", "半径", "周长", "面积", "-", "退出", "显示圆规"}));
    EXPECT_EQ(captions(m.mnuSkins),
              QStringList({"皮肤质量", "-", "基础皮肤", "-", "关于此皮肤", "获取更多皮肤"}));
    EXPECT_EQ(captions(m.mnuOptions),
              QStringList({"总在最上面", "显示工具提示", "开机时运行", "隐藏初始屏幕", "-",
                           "透明度", "放大镜", "在屏幕中心", "-", "帮助", "访问网站"}));
    EXPECT_FALSE(m.mnuOpen->isVisible());
    EXPECT_EQ(m.PopupMenu1->defaultAction(), m.mnuOpen);
    EXPECT_TRUE(m.mnuHigh->isChecked());
    EXPECT_TRUE(m.qualityGroup->isExclusive());
}

TEST(MainMenu, UnitsAndShapeMenusCheckTheCurrentChoice) {
    QTemporaryDir dir;
    TMeasurements units(dir.path() + "/", QString(), u'.');
    units.SetName(7, QStringLiteral("英尺"));
    units.Select(2);
    TDervikOptions options(dir.filePath("Compass.ini"), u'.');
    options.Shape = 24;
    options.Scribe = 1;
    QWidget owner;
    TMainMenu m(&owner);
    BuildUnitsMenu(m, units);
    BuildUnitsMenu(m, units); // rebuilding replaces, never appends
    const QStringList c = captions(m.mnuUnits);
    ASSERT_EQ(c.size(), 2 + 8);
    EXPECT_EQ(c.mid(0, 2), QStringList({"校准单位", "-"}));
    EXPECT_EQ(c.last(), QStringLiteral("英尺"));
    EXPECT_EQ(m.mnuCalibrate->data().toInt(), -1);
    for (int i = 0; i < 8; ++i) {
        const QAction* a = m.mnuUnits->actions().at(2 + i);
        EXPECT_EQ(a->data().toInt(), i);
        EXPECT_EQ(a->isChecked(), i == 2);
    }

    BuildShapeMenu(m, options);
    const QStringList s = captions(m.mnuShape);
    EXPECT_EQ(s.mid(0, 4), QStringList({"圆形", "-", "三角形 - 3", "正方形 - 4"}));
    EXPECT_EQ(s.mid(8),
              QStringList({"九边形 - 9", "10s", "20s", "30s", "-", "直角多边形", "内切多边形"}));
    const QList<QAction*> shapes = ShapeActions(m);
    ASSERT_EQ(shapes.size(), 1 + 7 + 30);
    for (QAction* a : shapes)
        EXPECT_EQ(a->isChecked(), a->data().toInt() == 24) << a->text().toStdString();
    EXPECT_EQ(captions(find(m.mnuShape, "20s")->menu()).at(4), QStringLiteral("二十四边形 - 24"));
    EXPECT_TRUE(find(m.mnuShape, "内切多边形")->isChecked());
}

TEST(MainWindow, MenuCommandsChangeOptionsAndExitSavesBothFiles) {
    test::ProgramCopy program;
    if (!program.ok())
        GTEST_SKIP() << "needs the built program folder";
    program.writeFile("Compass.ini", "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=321\r\n");
    QFile::remove(program.path("distances.ini"));
    Fakes fakes;
    TfrmMain w(TMainWindowDeps{TProgramPaths::PortableIn(program.path()), program.binary(), fakes,
                               fakes, fakes, false});
    TMainMenu& m = w.Menu();
    const auto saved = [&](const char* line) {
        return program.readFile("Compass.ini").contains(line);
    };

    m.mnuLow->trigger();
    EXPECT_FALSE(w.Options().Quality);
    EXPECT_TRUE(saved("Quality=0"));
    m.mnuRunatStartUp->trigger();
    EXPECT_EQ(fakes.autostartCalls, QList<bool>({true}));
    EXPECT_TRUE(w.Options().RunAtStart);
    m.mnuArea->trigger();
    EXPECT_EQ(w.Options().MeasureType, 2);
    find(m.mnuShape, "正方形 - 4")->trigger();
    EXPECT_EQ(w.Options().Shape, 4);
    EXPECT_TRUE(saved("Shape=4"));
    m.mnuLockAngle->trigger();
    m.mnuLockMeasurement->trigger();
    EXPECT_FALSE(m.mnuLockAngle->isChecked()); // at most one lock at a time
    EXPECT_TRUE(m.mnuLockMeasurement->isChecked());

    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(10, 10));
    QApplication::sendEvent(&w, &rightClick);
    EXPECT_TRUE(m.PopupMenu1->isVisible());
    m.PopupMenu1->hide();

    w.SetOpacity(70);
    EXPECT_EQ(w.Options().Transparency, 30);
    EXPECT_EQ(w.GetOpacity(), 70);
    EXPECT_FALSE(saved("Transparency=30")); // a preview is not saved

    w.Model().state.FAngle = 33;
    m.mnuCenterOnScreen->trigger();
    EXPECT_EQ(w.Model().state.FAngle, 0.0f);
    EXPECT_EQ(w.Model().state.FMeasurement, 100.0f);
    EXPECT_TRUE(fakes.texts.isEmpty()) << fakes.texts.join('\n').toStdString();

    QSignalSpy quitting(&w, &TfrmMain::Quitting);
    w.Model().state.FPosX = 400;
    w.IdleUpdate();
    w.show();
    w.IdleUpdate();
    m.mnuExit->trigger();
    EXPECT_EQ(quitting.count(), 1);
    EXPECT_TRUE(saved("X=400\r\n"));
    EXPECT_TRUE(program.readFile("distances.ini").contains("UnitsCount=7"));
}
