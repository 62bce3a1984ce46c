#include "app/mainmenu.h"

#include "model/measurement.h"
#include "model/options.h"
#include "model/units.h"
#include "skins/skinlist.h"

#include <QIcon>

namespace orvanta {

namespace {

// The shape submenu's sides beyond the first row come in decades.
constexpr int kFirstPolygon = 3;
constexpr int kLastSingleDigit = 9;
constexpr int kDecades = 3;

QAction* check(QMenu* menu, const QString& caption, bool on = false) {
    QAction* a = menu->addAction(caption);
    a->setCheckable(true);
    a->setChecked(on);
    return a;
}

QAction* radio(QMenu* menu, QActionGroup* group, const QString& caption, int tag, bool on) {
    QAction* a = check(menu, caption, on);
    a->setData(tag);
    group->addAction(a);
    return a;
}

} // namespace

TMainMenu::TMainMenu(QWidget* parent) : PopupMenu1(new QMenu(parent)) {
    QMenu* m = PopupMenu1;
    mnuUnits = m->addMenu(QStringLiteral("单位"));

    mnuSkins = m->addMenu(QStringLiteral("皮肤"));
    mnuQuality = mnuSkins->addMenu(QStringLiteral("皮肤质量"));
    qualityGroup = new QActionGroup(m);
    mnuLow = radio(mnuQuality, qualityGroup, QStringLiteral("低"), 0, false);
    mnuHigh = radio(mnuQuality, qualityGroup, QStringLiteral("高"), 1, true);
    mnuSkins->addSeparator();
    skinGroup = new QActionGroup(m);
    mnuDefaultSkin = radio(mnuSkins, skinGroup, QStringLiteral("基础皮肤"), 0, true);
    mnuSkins->addSeparator();
    mnuAboutThisSkin = mnuSkins->addAction(QStringLiteral("关于此皮肤"));
    MoreSkins1 = mnuSkins->addAction(QStringLiteral("获取更多皮肤"));

    mnuShape = m->addMenu(QStringLiteral("形状"));

    mnuOptions = m->addMenu(QStringLiteral("选项"));
    mnuStayOnTop = check(mnuOptions, QStringLiteral("总在最上面"), true);
    mnuShowTooltips = check(mnuOptions, QStringLiteral("显示工具提示"), true);
    mnuRunatStartUp = check(mnuOptions, QStringLiteral("开机时运行"));
    mnuHideSplash = check(mnuOptions, QStringLiteral("隐藏初始屏幕"));
    mnuOptions->addSeparator();
    mnuTransparency = mnuOptions->addAction(QStringLiteral("透明度"));
    mnuLupenix = mnuOptions->addAction(QStringLiteral("放大镜"));
    mnuCenterOnScreen = mnuOptions->addAction(QStringLiteral("在屏幕中心"));
    mnuOptions->addSeparator();
    mnuHelp = mnuOptions->addAction(QStringLiteral("帮助"));
    mnuWebLink = mnuOptions->addAction(QIcon::fromTheme(QStringLiteral("internet-web-browser")),
                                       QStringLiteral("访问网站"));

    m->addSeparator();
    mnuStickyAngle = check(m, QStringLiteral("粘性角度"));
    mnuLockAngle = check(m, QStringLiteral("锁定角度"));
    mnuLockMeasurement = check(m, QStringLiteral("锁定测量"));
    m->addSeparator();
    measureGroup = new QActionGroup(m);
    mnuRadius = radio(m, measureGroup, QStringLiteral("半径"), 0, false);
    mnuCircumference = radio(m, measureGroup, QStringLiteral("周长"), 1, false);
    mnuArea = radio(m, measureGroup, QStringLiteral("面积"), 2, false);
    m->addSeparator();
    mnuExit = m->addAction(QStringLiteral("退出"));
    mnuOpen = m->addAction(QStringLiteral("显示圆规"));
    m->setDefaultAction(mnuOpen);
    mnuOpen->setVisible(false);
}

void BuildUnitsMenu(TMainMenu& menu, const TMeasurements& units) {
    menu.mnuUnits->clear();
    delete menu.unitGroup;
    menu.unitGroup = new QActionGroup(menu.PopupMenu1);
    menu.mnuCalibrate = menu.mnuUnits->addAction(QStringLiteral("校准单位"));
    menu.mnuCalibrate->setData(-1);
    menu.mnuUnits->addSeparator();
    for (int i = 0; i < units.UnitsCount(); ++i)
        radio(menu.mnuUnits, menu.unitGroup, units.Name(i), i, i == units.SelectedUnit());
}

void BuildShapeMenu(TMainMenu& menu, const TDervikOptions& options) {
    QMenu* m = menu.mnuShape;
    m->clear();
    delete menu.shapeGroup;
    delete menu.scribeGroup;
    menu.shapeGroup = new QActionGroup(menu.PopupMenu1);
    menu.scribeGroup = new QActionGroup(menu.PopupMenu1);
    auto shapeItem = [&](QMenu* into, int n) {
        radio(into, menu.shapeGroup, n == 0 ? ShapeName(0) : ShapeMenuCaption(n), n,
              options.Shape == n);
    };
    shapeItem(m, 0);
    m->addSeparator();
    for (int n = kFirstPolygon; n <= kLastSingleDigit; ++n)
        shapeItem(m, n);
    for (int g = 1; g <= kDecades; ++g) {
        QMenu* decade = m->addMenu(QStringLiteral("%1s").arg(g * 10));
        for (int j = 0; j <= 9; ++j)
            shapeItem(decade, g * 10 + j);
    }
    m->addSeparator();
    radio(m, menu.scribeGroup, PolygonModeName(false), 0, options.Scribe == 0);
    radio(m, menu.scribeGroup, PolygonModeName(true), 1, options.Scribe == 1);
}

QList<QAction*> ShapeActions(const TMainMenu& menu) {
    return menu.shapeGroup ? menu.shapeGroup->actions() : QList<QAction*>();
}

void BuildSkinMenu(TMainMenu& menu, const TSkinList& list) {
    QMenu* m = menu.mnuSkins;
    // Six fixed items; everything between the default skin and the second
    // separator is from the previous build.
    constexpr int kFixedItems = 6;
    constexpr int kFirstDynamic = 3;
    while (m->actions().size() > kFixedItems) {
        QAction* old = m->actions().at(kFirstDynamic);
        m->removeAction(old);
        delete old;
    }
    menu.mnuDefaultSkin->setChecked(list.SelectedIndex == 0);
    for (int i = 1; i < list.Names.size(); ++i) {
        auto* item = new QAction(list.Names.at(i), m);
        item->setCheckable(true);
        item->setData(i);
        menu.skinGroup->addAction(item);
        item->setChecked(list.SelectedIndex == i);
        m->insertAction(m->actions().at(m->actions().size() - 3), item);
    }
}

} // namespace orvanta
