// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The compass's context menu, which is also the tray icon's menu. The window
// owns it; the menu wires its items to the controller and keeps its checks in
// step with the controller's news. Building and rebuilding the submenus from
// the units, shapes and skins lives here so that tests can check texts, radio
// groups and checks without a window. The texts are in the user's language:
// retranslate() relabels the menu when the language changes.

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QObject>

namespace orvanta {

class CompassController;
class KeyValueStore;
class Settings;
class Shell;
class MessageSink;
class UnitTable;
enum class LanguageChoice;
class SkinCatalog;

// The menu's items, named as the window refers to them.
struct CompassMenu {
    explicit CompassMenu(QWidget* parent);

    // Builds the units, shape and skin menus from `controller`, checks the
    // items its options choose, carries every item out through it and follows
    // its changes. The magnifier item turns the compass's own loupe on and off.
    void connectTo(CompassController& controller);
    // Checks the items that follow the options while the program runs: the
    // locks, always-on-top, the measure type, the language and polygon mode.
    void syncChecks(const Settings& settings);

    QMenu* contextMenu;
    QMenu* unitsMenu;
    QAction* calibrateScreenAction;
    QMenu* skinsMenu;
    QMenu* qualityMenu;
    QAction* lowQualityAction;
    QAction* highQualityAction;
    QAction* defaultSkinAction;
    QAction* aboutSkinAction;
    QAction* moreSkinsAction;
    QMenu* shapeMenu;
    QMenu* optionsMenu;
    QAction* stayOnTopAction;
    QAction* tooltipsAction;
    QAction* runAtStartupAction;
    QAction* hideSplashAction;
    QMenu* languageMenu;
    QAction* automaticLanguageAction; // data: the LanguageChoice of each item
    QAction* englishAction;
    QAction* chineseAction;
    QAction* physicalUnitsAction;
    QAction* transparencyAction;
    QAction* magnifierAction;
    QAction* centreAction;
    QAction* fitAction;             // fit the compass to the figure beneath it
    QAction* copyMeasurementAction; // every quantity on one line (Ctrl+Shift+C)
    QAction* helpAction;
    QAction* webLinkAction;
    QAction* stickyAngleAction;
    QAction* lockAngleAction;
    QAction* lockMeasurementAction;
    QAction* radiusAction;
    QAction* circumferenceAction;
    QAction* areaAction;
    QAction* diameterAction;
    QAction* angleAction;
    QAction* exitAction;
    QAction* openAction;

    QActionGroup* qualityGroup;  // lowQualityAction, highQualityAction
    QActionGroup* skinGroup;     // defaultSkinAction and the installed skins
    QActionGroup* measureGroup;  // the measure types; data: the stored MeasureKind
    QActionGroup* languageGroup; // automatic, English, Chinese; triggered gives the choice
    QActionGroup* unitGroup = nullptr;
    QActionGroup* shapeGroup = nullptr;
    QActionGroup* scribeGroup = nullptr;
    QAction* calibrateAction = nullptr; // "Calibrate units…", first item of the units menu
};

// The units menu: "Calibrate units…", a separator, then one radio item per unit
// (data = its index, text its display name), the selected one checked.
// Called at start and after calibration.
void buildUnitsMenu(CompassMenu& menu, const UnitTable& units);

// Relabels every item in the current language: the fixed items, the units
// (shipped units have names in every language), the shapes and polygon
// modes. Checks, data and the installed skins' names stay as they are. Call it
// on QEvent::LanguageChange.
void retranslate(CompassMenu& menu, const UnitTable& units);

// Checks the language item of `choice`.
void checkLanguage(CompassMenu& menu, LanguageChoice choice);

// The shape menu: the circle, 3 to 9 sides, the 10s/20s/30s submenus, then the
// two polygon modes. Shape items carry the number of sides as data, the mode
// items 0 (around the circle) or 1 (inscribed).
void buildShapeMenu(CompassMenu& menu, const Settings& options);

// Replaces the installed skins' items (after "Basic skin") by the list's entries
// 1..n in order, each a radio item with its index as data; checks the selected.
void buildSkinMenu(CompassMenu& menu, const SkinCatalog& list);

// The shape items of the shape menu and its submenus, in menu order.
[[nodiscard]] QList<QAction*> shapeActions(const CompassMenu& menu);

} // namespace orvanta
