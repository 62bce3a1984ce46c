// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

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

constexpr char kContext[] = "CompassMenu";

// The fixed items and their English captions, set again on each change of
// language. Items that open a dialog end in an ellipsis.
struct MenuCaption {
    QMenu* CompassMenu::*menu;
    const char* text;
};
constexpr MenuCaption kMenuCaptions[] = {
    {&CompassMenu::unitsMenu, QT_TRANSLATE_NOOP("CompassMenu", "Units")},
    {&CompassMenu::skinsMenu, QT_TRANSLATE_NOOP("CompassMenu", "Skins")},
    {&CompassMenu::qualityMenu, QT_TRANSLATE_NOOP("CompassMenu", "Skin quality")},
    {&CompassMenu::shapeMenu, QT_TRANSLATE_NOOP("CompassMenu", "Shape")},
    {&CompassMenu::optionsMenu, QT_TRANSLATE_NOOP("CompassMenu", "Options")},
    {&CompassMenu::languageMenu, QT_TRANSLATE_NOOP("CompassMenu", "Language")},
};
struct ActionCaption {
    QAction* CompassMenu::*action;
    const char* text;
};
constexpr ActionCaption kActionCaptions[] = {
    {&CompassMenu::lowQualityAction, QT_TRANSLATE_NOOP("CompassMenu", "Low")},
    {&CompassMenu::highQualityAction, QT_TRANSLATE_NOOP("CompassMenu", "High")},
    {&CompassMenu::defaultSkinAction, QT_TRANSLATE_NOOP("CompassMenu", "Basic skin")},
    {&CompassMenu::aboutSkinAction, QT_TRANSLATE_NOOP("CompassMenu", "About this skin…")},
    {&CompassMenu::moreSkinsAction, QT_TRANSLATE_NOOP("CompassMenu", "Get more skins")},
    {&CompassMenu::stayOnTopAction, QT_TRANSLATE_NOOP("CompassMenu", "Always on top")},
    {&CompassMenu::tooltipsAction, QT_TRANSLATE_NOOP("CompassMenu", "Show tooltips")},
    {&CompassMenu::runAtStartupAction, QT_TRANSLATE_NOOP("CompassMenu", "Run at startup")},
    {&CompassMenu::hideSplashAction, QT_TRANSLATE_NOOP("CompassMenu", "Hide splash screen")},
    {&CompassMenu::physicalUnitsAction,
     QT_TRANSLATE_NOOP("CompassMenu", "Physical units use each monitor's size")},
    {&CompassMenu::calibrateScreenAction,
     QT_TRANSLATE_NOOP("CompassMenu", "Calibrate this screen…")},
    {&CompassMenu::automaticLanguageAction, QT_TRANSLATE_NOOP("CompassMenu", "Automatic")},
    {&CompassMenu::transparencyAction, QT_TRANSLATE_NOOP("CompassMenu", "Transparency…")},
    {&CompassMenu::magnifierAction, QT_TRANSLATE_NOOP("CompassMenu", "Magnifier")},
    {&CompassMenu::centreAction, QT_TRANSLATE_NOOP("CompassMenu", "Centre on screen")},
    {&CompassMenu::fitAction, QT_TRANSLATE_NOOP("CompassMenu", "Fit to what is beneath")},
    {&CompassMenu::helpAction, QT_TRANSLATE_NOOP("CompassMenu", "Help")},
    {&CompassMenu::webLinkAction, QT_TRANSLATE_NOOP("CompassMenu", "Visit website")},
    {&CompassMenu::stickyAngleAction, QT_TRANSLATE_NOOP("CompassMenu", "Sticky angle")},
    {&CompassMenu::lockAngleAction, QT_TRANSLATE_NOOP("CompassMenu", "Lock angle")},
    {&CompassMenu::lockMeasurementAction, QT_TRANSLATE_NOOP("CompassMenu", "Lock measurement")},
    {&CompassMenu::exitAction, QT_TRANSLATE_NOOP("CompassMenu", "Exit")},
    {&CompassMenu::openAction, QT_TRANSLATE_NOOP("CompassMenu", "Show compass")},
};

QString calibrateCaption() {
    return QCoreApplication::translate("CompassMenu", "Calibrate units…");
}

QAction* check(QMenu* menu, bool on = false) {
    QAction* a = menu->addAction(QString());
    a->setCheckable(true);
    a->setChecked(on);
    return a;
}

QAction* radio(QMenu* menu, QActionGroup* group, int tag, bool on) {
    QAction* a = check(menu, on);
    a->setData(tag);
    group->addAction(a);
    return a;
}

// The polygons' decades carry their first number of sides, for relabelling.
void labelDecade(QMenu* decade) {
    decade->setTitle(shapeDecadeCaption(decade->menuAction()->data().toInt()));
}

void labelFixedItems(CompassMenu& menu) {
    for (const MenuCaption& c : kMenuCaptions)
        (menu.*c.menu)->setTitle(QCoreApplication::translate(kContext, c.text));
    for (const ActionCaption& c : kActionCaptions)
        (menu.*c.action)->setText(QCoreApplication::translate(kContext, c.text));
    menu.radiusAction->setText(measureTypeName(MeasureKind::Radius));
    menu.circumferenceAction->setText(measureTypeName(MeasureKind::Circumference));
    menu.areaAction->setText(measureTypeName(MeasureKind::Area));
}

} // namespace

CompassMenu::CompassMenu(QWidget* parent) : contextMenu(new QMenu(parent)) {
    QMenu* m = contextMenu;
    unitsMenu = m->addMenu(QString());
    calibrateScreenAction = m->addAction(QString());

    skinsMenu = m->addMenu(QString());
    qualityMenu = skinsMenu->addMenu(QString());
    qualityGroup = new QActionGroup(m);
    lowQualityAction = radio(qualityMenu, qualityGroup, 0, false);
    highQualityAction = radio(qualityMenu, qualityGroup, 1, true);
    skinsMenu->addSeparator();
    skinGroup = new QActionGroup(m);
    defaultSkinAction = radio(skinsMenu, skinGroup, 0, true);
    skinsMenu->addSeparator();
    aboutSkinAction = skinsMenu->addAction(QString());
    moreSkinsAction = skinsMenu->addAction(QString());

    shapeMenu = m->addMenu(QString());

    optionsMenu = m->addMenu(QString());
    stayOnTopAction = check(optionsMenu, true);
    tooltipsAction = check(optionsMenu, true);
    runAtStartupAction = check(optionsMenu);
    hideSplashAction = check(optionsMenu);
    languageMenu = optionsMenu->addMenu(QString());
    languageGroup = new QActionGroup(m);
    automaticLanguageAction =
        radio(languageMenu, languageGroup, int(LanguageChoice::Automatic), true);
    // Each language is named in its own words, so that a user who cannot read
    // the current one still finds theirs.
    englishAction = radio(languageMenu, languageGroup, int(LanguageChoice::English), false);
    englishAction->setText(QStringLiteral("English"));
    chineseAction = radio(languageMenu, languageGroup, int(LanguageChoice::Chinese), false);
    chineseAction->setText(QStringLiteral("中文"));
    physicalUnitsAction = check(optionsMenu, true);
    optionsMenu->addSeparator();
    transparencyAction = optionsMenu->addAction(QString());
    magnifierAction = optionsMenu->addAction(QString());
    centreAction = optionsMenu->addAction(QString());
    optionsMenu->addSeparator();
    helpAction = optionsMenu->addAction(QString());
    webLinkAction =
        optionsMenu->addAction(QIcon::fromTheme(QStringLiteral("internet-web-browser")), QString());

    m->addSeparator();
    stickyAngleAction = check(m);
    lockAngleAction = check(m);
    lockMeasurementAction = check(m);
    fitAction = m->addAction(QString());
    m->addSeparator();
    measureGroup = new QActionGroup(m);
    radiusAction = radio(m, measureGroup, 0, false);
    circumferenceAction = radio(m, measureGroup, 1, false);
    areaAction = radio(m, measureGroup, 2, false);
    m->addSeparator();
    exitAction = m->addAction(QString());
    openAction = m->addAction(QString());
    m->setDefaultAction(openAction);
    openAction->setVisible(false);

    labelFixedItems(*this);
}

void buildUnitsMenu(CompassMenu& menu, const UnitTable& units) {
    menu.unitsMenu->clear();
    delete menu.unitGroup;
    menu.unitGroup = new QActionGroup(menu.contextMenu);
    menu.calibrateAction = menu.unitsMenu->addAction(calibrateCaption());
    menu.calibrateAction->setData(-1);
    menu.unitsMenu->addSeparator();
    for (int i = 0; i < units.unitsCount(); ++i)
        radio(menu.unitsMenu, menu.unitGroup, i, i == units.selectedUnit())
            ->setText(units.displayName(i));
}

void buildShapeMenu(CompassMenu& menu, const Settings& options) {
    QMenu* m = menu.shapeMenu;
    m->clear();
    delete menu.shapeGroup;
    delete menu.scribeGroup;
    menu.shapeGroup = new QActionGroup(menu.contextMenu);
    menu.scribeGroup = new QActionGroup(menu.contextMenu);
    auto shapeItem = [&](QMenu* into, int n) {
        radio(into, menu.shapeGroup, n, options.shape == n)->setText(shapeMenuCaption(n));
    };
    shapeItem(m, kCircle);
    m->addSeparator();
    for (int n = kFirstPolygon; n <= kLastSingleDigit; ++n)
        shapeItem(m, n);
    for (int g = 1; g <= kDecades; ++g) {
        QMenu* decade = m->addMenu(QString());
        decade->menuAction()->setData(g * 10);
        labelDecade(decade);
        for (int j = 0; j <= 9; ++j)
            shapeItem(decade, g * 10 + j);
    }
    m->addSeparator();
    radio(m, menu.scribeGroup, 0, options.scribe == 0)->setText(polygonModeName(false));
    radio(m, menu.scribeGroup, 1, options.scribe == 1)->setText(polygonModeName(true));
}

void retranslate(CompassMenu& menu, const UnitTable& units) {
    labelFixedItems(menu);
    if (menu.calibrateAction)
        menu.calibrateAction->setText(calibrateCaption());
    if (menu.unitGroup)
        for (QAction* a : menu.unitGroup->actions())
            a->setText(units.displayName(a->data().toInt()));
    for (QAction* a : shapeActions(menu))
        a->setText(shapeMenuCaption(a->data().toInt()));
    if (menu.scribeGroup)
        for (QAction* a : menu.scribeGroup->actions())
            a->setText(polygonModeName(a->data().toInt() == 1));
    for (QAction* a : menu.shapeMenu->actions())
        if (a->menu())
            labelDecade(a->menu());
}

void checkLanguage(CompassMenu& menu, LanguageChoice choice) {
    for (QAction* a : menu.languageGroup->actions())
        if (a->data().toInt() == int(choice))
            a->setChecked(true);
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
