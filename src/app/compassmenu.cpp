#include "app/compassmenu.h"

#include "model/measurement.h"
#include "model/settings.h"
#include "model/unittable.h"
#include "skins/skincatalog.h"

#include <QCoreApplication>
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

CompassMenu::CompassMenu(QWidget* parent) : contextMenu(new QMenu(parent)) {
    QMenu* m = contextMenu;
    unitsMenu = m->addMenu(QStringLiteral("单位"));
    calibrateScreenAction =
        m->addAction(QCoreApplication::translate("CompassMenu", "Calibrate this screen…"));

    skinsMenu = m->addMenu(QStringLiteral("皮肤"));
    qualityMenu = skinsMenu->addMenu(QStringLiteral("皮肤质量"));
    qualityGroup = new QActionGroup(m);
    lowQualityAction = radio(qualityMenu, qualityGroup, QStringLiteral("低"), 0, false);
    highQualityAction = radio(qualityMenu, qualityGroup, QStringLiteral("高"), 1, true);
    skinsMenu->addSeparator();
    skinGroup = new QActionGroup(m);
    defaultSkinAction = radio(skinsMenu, skinGroup, QStringLiteral("基础皮肤"), 0, true);
    skinsMenu->addSeparator();
    aboutSkinAction = skinsMenu->addAction(QStringLiteral("关于此皮肤"));
    moreSkinsAction = skinsMenu->addAction(QStringLiteral("获取更多皮肤"));

    shapeMenu = m->addMenu(QStringLiteral("形状"));

    optionsMenu = m->addMenu(QStringLiteral("选项"));
    stayOnTopAction = check(optionsMenu, QStringLiteral("总在最上面"), true);
    tooltipsAction = check(optionsMenu, QStringLiteral("显示工具提示"), true);
    runAtStartupAction = check(optionsMenu, QStringLiteral("开机时运行"));
    hideSplashAction = check(optionsMenu, QStringLiteral("隐藏初始屏幕"));
    physicalUnitsAction = check(
        optionsMenu,
        QCoreApplication::translate("CompassMenu", "Physical units use each monitor's size"), true);
    optionsMenu->addSeparator();
    transparencyAction = optionsMenu->addAction(QStringLiteral("透明度"));
    magnifierAction = optionsMenu->addAction(QStringLiteral("放大镜"));
    centreAction = optionsMenu->addAction(QStringLiteral("在屏幕中心"));
    optionsMenu->addSeparator();
    helpAction = optionsMenu->addAction(QStringLiteral("帮助"));
    webLinkAction = optionsMenu->addAction(QIcon::fromTheme(QStringLiteral("internet-web-browser")),
                                           QStringLiteral("访问网站"));

    m->addSeparator();
    stickyAngleAction = check(m, QStringLiteral("粘性角度"));
    lockAngleAction = check(m, QStringLiteral("锁定角度"));
    lockMeasurementAction = check(m, QStringLiteral("锁定测量"));
    m->addSeparator();
    measureGroup = new QActionGroup(m);
    radiusAction = radio(m, measureGroup, QStringLiteral("半径"), 0, false);
    circumferenceAction = radio(m, measureGroup, QStringLiteral("周长"), 1, false);
    areaAction = radio(m, measureGroup, QStringLiteral("面积"), 2, false);
    m->addSeparator();
    exitAction = m->addAction(QStringLiteral("退出"));
    openAction = m->addAction(QStringLiteral("显示圆规"));
    m->setDefaultAction(openAction);
    openAction->setVisible(false);
}

void buildUnitsMenu(CompassMenu& menu, const UnitTable& units) {
    menu.unitsMenu->clear();
    delete menu.unitGroup;
    menu.unitGroup = new QActionGroup(menu.contextMenu);
    menu.calibrateAction = menu.unitsMenu->addAction(QStringLiteral("校准单位"));
    menu.calibrateAction->setData(-1);
    menu.unitsMenu->addSeparator();
    for (int i = 0; i < units.unitsCount(); ++i)
        radio(menu.unitsMenu, menu.unitGroup, units.name(i), i, i == units.selectedUnit());
}

void buildShapeMenu(CompassMenu& menu, const Settings& options) {
    QMenu* m = menu.shapeMenu;
    m->clear();
    delete menu.shapeGroup;
    delete menu.scribeGroup;
    menu.shapeGroup = new QActionGroup(menu.contextMenu);
    menu.scribeGroup = new QActionGroup(menu.contextMenu);
    auto shapeItem = [&](QMenu* into, int n) {
        radio(into, menu.shapeGroup, n == 0 ? shapeName(0) : shapeMenuCaption(n), n,
              options.shape == n);
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
    radio(m, menu.scribeGroup, polygonModeName(false), 0, options.scribe == 0);
    radio(m, menu.scribeGroup, polygonModeName(true), 1, options.scribe == 1);
}

QList<QAction*> shapeActions(const CompassMenu& menu) {
    return menu.shapeGroup ? menu.shapeGroup->actions() : QList<QAction*>();
}

void buildSkinMenu(CompassMenu& menu, const SkinCatalog& list) {
    QMenu* m = menu.skinsMenu;
    // Six fixed items; everything between the default skin and the second
    // separator is from the previous build.
    constexpr int kFixedItems = 6;
    constexpr int kFirstDynamic = 3;
    while (m->actions().size() > kFixedItems) {
        QAction* old = m->actions().at(kFirstDynamic);
        m->removeAction(old);
        delete old;
    }
    menu.defaultSkinAction->setChecked(list.selectedIndex == 0);
    for (int i = 1; i < list.names.size(); ++i) {
        auto* item = new QAction(list.names.at(i), m);
        item->setCheckable(true);
        item->setData(i);
        menu.skinGroup->addAction(item);
        item->setChecked(list.selectedIndex == i);
        m->insertAction(m->actions().at(m->actions().size() - 3), item);
    }
}

} // namespace orvanta
