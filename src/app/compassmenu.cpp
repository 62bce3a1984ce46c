// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/compassmenu.h"

#include "app/weblinks.h"
#include "control/compasscontroller.h"
#include "model/measurement.h"
#include "model/settings.h"
#include "model/unittable.h"
#include "model/values.h"
#include "skins/skincatalog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>

namespace orvanta {

namespace {

// The shape submenu's sides beyond the first row come in decades.
constexpr int kFirstPolygon = 3;
constexpr int kLastSingleDigit = 9;
constexpr int kDecades = 3;

constexpr char kContext[] = "CompassMenu";

// The fixed items and their English texts, set again on each change of
// language. Items that open a dialog end in an ellipsis.
struct MenuText {
    QMenu* CompassMenu::*menu;
    const char* text;
};
constexpr MenuText kMenuTexts[] = {
    {&CompassMenu::unitsMenu, QT_TRANSLATE_NOOP("CompassMenu", "Units")},
    {&CompassMenu::skinsMenu, QT_TRANSLATE_NOOP("CompassMenu", "Skins")},
    {&CompassMenu::qualityMenu, QT_TRANSLATE_NOOP("CompassMenu", "Skin quality")},
    {&CompassMenu::shapeMenu, QT_TRANSLATE_NOOP("CompassMenu", "Shape")},
    {&CompassMenu::optionsMenu, QT_TRANSLATE_NOOP("CompassMenu", "Options")},
    {&CompassMenu::languageMenu, QT_TRANSLATE_NOOP("CompassMenu", "Language")},
};
struct ActionText {
    QAction* CompassMenu::*action;
    const char* text;
};
constexpr ActionText kActionTexts[] = {
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
    {&CompassMenu::copyMeasurementAction, QT_TRANSLATE_NOOP("CompassMenu", "Copy measurement")},
    {&CompassMenu::helpAction, QT_TRANSLATE_NOOP("CompassMenu", "Help")},
    {&CompassMenu::webLinkAction, QT_TRANSLATE_NOOP("CompassMenu", "Visit website")},
    {&CompassMenu::stickyAngleAction, QT_TRANSLATE_NOOP("CompassMenu", "Sticky angle")},
    {&CompassMenu::lockAngleAction, QT_TRANSLATE_NOOP("CompassMenu", "Lock angle")},
    {&CompassMenu::lockMeasurementAction, QT_TRANSLATE_NOOP("CompassMenu", "Lock measurement")},
    {&CompassMenu::exitAction, QT_TRANSLATE_NOOP("CompassMenu", "Exit")},
    {&CompassMenu::openAction, QT_TRANSLATE_NOOP("CompassMenu", "Show compass")},
};

QString calibrateText() {
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
    decade->setTitle(shapeDecadeText(decade->menuAction()->data().toInt()));
}

void labelFixedItems(CompassMenu& menu) {
    for (const MenuText& c : kMenuTexts)
        (menu.*c.menu)->setTitle(QCoreApplication::translate(kContext, c.text));
    for (const ActionText& c : kActionTexts)
        (menu.*c.action)->setText(QCoreApplication::translate(kContext, c.text));
    menu.radiusAction->setText(measureTypeName(MeasureKind::Radius));
    menu.circumferenceAction->setText(measureTypeName(MeasureKind::Circumference));
    menu.areaAction->setText(measureTypeName(MeasureKind::Area));
    menu.diameterAction->setText(measureTypeName(MeasureKind::Diameter));
    menu.angleAction->setText(measureTypeName(MeasureKind::Angle));
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
    magnifierAction = check(optionsMenu, false);
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
    copyMeasurementAction = m->addAction(QString());
    // Shown only: the key itself is read by the compass, which has the focus.
    copyMeasurementAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    copyMeasurementAction->setShortcutContext(Qt::WidgetShortcut);
    m->addSeparator();
    measureGroup = new QActionGroup(m);
    radiusAction = radio(m, measureGroup, int(MeasureKind::Radius), false);
    diameterAction = radio(m, measureGroup, int(MeasureKind::Diameter), false);
    circumferenceAction = radio(m, measureGroup, int(MeasureKind::Circumference), false);
    areaAction = radio(m, measureGroup, int(MeasureKind::Area), false);
    angleAction = radio(m, measureGroup, int(MeasureKind::Angle), false);
    m->addSeparator();
    exitAction = m->addAction(QString());
    openAction = m->addAction(QString());
    m->setDefaultAction(openAction);
    openAction->setVisible(false);

    labelFixedItems(*this);
}

void CompassMenu::connectTo(CompassController& controller) {
    CompassController* c = &controller;
    const Settings& settings = c->settings();
    buildUnitsMenu(*this, c->units());
    buildShapeMenu(*this, settings);
    buildSkinMenu(*this, c->skins());
    stayOnTopAction->setChecked(settings.stayOnTop);
    runAtStartupAction->setChecked(settings.runAtStart);
    hideSplashAction->setChecked(settings.hideSplash);
    physicalUnitsAction->setChecked(settings.physicalUnitsPerMonitor);
    (settings.quality ? highQualityAction : lowQualityAction)->setChecked(true);
    tooltipsAction->setChecked(settings.tooltips);
    magnifierAction->setChecked(settings.loupe);
    syncChecks(settings);

    // What the controller reports: the checks, the units and skins lists.
    QObject* context = contextMenu;
    QObject::connect(c, &CompassController::settingsChanged, context,
                     [this, c] { syncChecks(c->settings()); });
    QObject::connect(c, &CompassController::unitsChanged, context,
                     [this, c] { buildUnitsMenu(*this, c->units()); });
    QObject::connect(c, &CompassController::skinsChanged, context,
                     [this, c] { buildSkinMenu(*this, c->skins()); });
    QObject::connect(c, &CompassController::shapeChosenByClient, context, [this] {
        for (QAction* item : shapeActions(*this))
            item->setChecked(false);
    });

    // What the items ask of the controller.
    QObject::connect(contextMenu, &QMenu::aboutToShow, c, &CompassController::rescanSkinsIfNeeded);
    QObject::connect(unitsMenu, &QMenu::triggered, c, [c](QAction* a) {
        const int tag = a->data().toInt();
        if (tag < 0) {
            c->showCalibration();
            return;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        c->selectUnit(tag);
        QApplication::restoreOverrideCursor();
    });
    QObject::connect(lowQualityAction, &QAction::triggered, c, [c] { c->setQuality(false); });
    QObject::connect(highQualityAction, &QAction::triggered, c, [c] { c->setQuality(true); });
    QObject::connect(skinGroup, &QActionGroup::triggered, c, [c](QAction* a) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        c->selectSkin(a->data().toInt());
        QApplication::restoreOverrideCursor();
    });
    QObject::connect(shapeMenu, &QMenu::triggered, c, [this, c](QAction* a) {
        if (shapeGroup->actions().contains(a))
            c->setShape(a->data().toInt());
        else if (scribeGroup->actions().contains(a))
            c->setInscribed(a->data().toInt() == int(Inscription::Inscribed));
    });
    QObject::connect(stayOnTopAction, &QAction::triggered, c, &CompassController::setStayOnTop);
    QObject::connect(tooltipsAction, &QAction::triggered, c, &CompassController::setTooltips);
    QObject::connect(runAtStartupAction, &QAction::triggered, c, &CompassController::setRunAtStart);
    QObject::connect(hideSplashAction, &QAction::triggered, c, &CompassController::setHideSplash);
    QObject::connect(physicalUnitsAction, &QAction::triggered, c,
                     &CompassController::setPhysicalUnitsPerMonitor);
    QObject::connect(calibrateScreenAction, &QAction::triggered, c,
                     &CompassController::showScreenCalibration);
    QObject::connect(centreAction, &QAction::triggered, c, &CompassController::centreOnScreen);
    QObject::connect(fitAction, &QAction::triggered, c, &CompassController::toggleFit);
    QObject::connect(copyMeasurementAction, &QAction::triggered, c,
                     &CompassController::copyMeasurement);
    QObject::connect(helpAction, &QAction::triggered, c, &CompassController::showHelp);
    QObject::connect(stickyAngleAction, &QAction::triggered, c,
                     [c] { c->interaction().toggleStickyAngle(); });
    QObject::connect(lockAngleAction, &QAction::triggered, c,
                     [c] { c->interaction().toggleLockAngle(); });
    QObject::connect(lockMeasurementAction, &QAction::triggered, c,
                     [c] { c->interaction().toggleLockMeasurement(); });
    QObject::connect(measureGroup, &QActionGroup::triggered, c,
                     [c](QAction* a) { c->setMeasureType(a->data().toInt()); });
    QObject::connect(exitAction, &QAction::triggered, c, &CompassController::closeCompass);
    QObject::connect(openAction, &QAction::triggered, c, &CompassController::showCompass);
    QObject::connect(languageGroup, &QActionGroup::triggered, c,
                     [c](QAction* a) { c->setLanguage(LanguageChoice(a->data().toInt())); });
    QObject::connect(aboutSkinAction, &QAction::triggered, c, &CompassController::showAboutSkin);
    QObject::connect(moreSkinsAction, &QAction::triggered, c,
                     [c] { c->openWebLink(QStringLiteral("getskins")); });
    QObject::connect(transparencyAction, &QAction::triggered, c,
                     &CompassController::showTransparencyDialog);
    QObject::connect(magnifierAction, &QAction::triggered, c, &CompassController::setLoupe);
    QObject::connect(webLinkAction, &QAction::triggered, c, [c] { c->openWebLink(QString()); });
}

void CompassMenu::syncChecks(const Settings& settings) {
    stickyAngleAction->setChecked(settings.stickyAngle);
    lockAngleAction->setChecked(settings.lockAngle);
    lockMeasurementAction->setChecked(settings.lockMeasurement);
    stayOnTopAction->setChecked(settings.stayOnTop);
    for (QAction* item : measureGroup->actions())
        item->setChecked(item->data().toInt() == int(settings.measureType));
    // The polygon mode's items follow, so the menu never shows the other mode
    // as chosen.
    checkLanguage(*this, settings.language);
    if (scribeGroup)
        for (QAction* item : scribeGroup->actions())
            item->setChecked(item->data().toInt() == int(settings.scribe));
}

void buildUnitsMenu(CompassMenu& menu, const UnitTable& units) {
    menu.unitsMenu->clear();
    delete menu.unitGroup;
    menu.unitGroup = new QActionGroup(menu.contextMenu);
    menu.calibrateAction = menu.unitsMenu->addAction(calibrateText());
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
        radio(into, menu.shapeGroup, n, options.shape == n)->setText(shapeMenuText(n));
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
    radio(m, menu.scribeGroup, int(Inscription::AroundCircle),
          options.scribe == Inscription::AroundCircle)
        ->setText(polygonModeName(false));
    radio(m, menu.scribeGroup, int(Inscription::Inscribed),
          options.scribe == Inscription::Inscribed)
        ->setText(polygonModeName(true));
}

void retranslate(CompassMenu& menu, const UnitTable& units) {
    labelFixedItems(menu);
    if (menu.calibrateAction)
        menu.calibrateAction->setText(calibrateText());
    if (menu.unitGroup)
        for (QAction* a : menu.unitGroup->actions())
            a->setText(units.displayName(a->data().toInt()));
    for (QAction* a : shapeActions(menu))
        a->setText(shapeMenuText(a->data().toInt()));
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
        auto* item = new QAction(list.shownName(i), m);
        item->setCheckable(true);
        item->setData(i);
        menu.skinGroup->addAction(item);
        item->setChecked(list.selectedIndex == i);
        m->insertAction(m->actions().at(m->actions().size() - 3), item);
    }
}

} // namespace orvanta
