#pragma once
// The compass's context menu, which is also the tray icon's menu. The window
// owns it and connects the commands; building and rebuilding the submenus from
// the units, shapes and skins lives here so that tests can check captions,
// radio groups and checks without a window.

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QObject>

namespace orvanta {

class TDervikOptions;
class TMeasurements;
class TSkinList;

// The menu's items, named as the window refers to them.
struct TMainMenu {
    explicit TMainMenu(QWidget* parent);

    QMenu* PopupMenu1;
    QMenu* mnuUnits;
    QMenu* mnuSkins;
    QMenu* mnuQuality;
    QAction* mnuLow;
    QAction* mnuHigh;
    QAction* mnuDefaultSkin;
    QAction* mnuAboutThisSkin;
    QAction* MoreSkins1;
    QMenu* mnuShape;
    QMenu* mnuOptions;
    QAction* mnuStayOnTop;
    QAction* mnuShowTooltips;
    QAction* mnuRunatStartUp;
    QAction* mnuHideSplash;
    QAction* mnuTransparency;
    QAction* mnuLupenix;
    QAction* mnuCenterOnScreen;
    QAction* mnuHelp;
    QAction* mnuWebLink;
    QAction* mnuStickyAngle;
    QAction* mnuLockAngle;
    QAction* mnuLockMeasurement;
    QAction* mnuRadius;
    QAction* mnuCircumference;
    QAction* mnuArea;
    QAction* mnuExit;
    QAction* mnuOpen;

    QActionGroup* qualityGroup; // mnuLow, mnuHigh
    QActionGroup* skinGroup;    // mnuDefaultSkin and the installed skins
    QActionGroup* measureGroup; // radius, circumference, area
    QActionGroup* unitGroup = nullptr;
    QActionGroup* shapeGroup = nullptr;
    QActionGroup* scribeGroup = nullptr;
    QAction* mnuCalibrate = nullptr; // "校准单位", first item of the units menu
};

// The units menu: "校准单位", a separator, then one radio item per unit (data =
// its index), the selected one checked. Called at start and after calibration.
void BuildUnitsMenu(TMainMenu& menu, const TMeasurements& units);

// The shape menu: the circle, 3 to 9 sides, the 10s/20s/30s submenus, then the
// two polygon modes. Shape items carry the number of sides as data, the mode
// items 0 (around the circle) or 1 (inscribed).
void BuildShapeMenu(TMainMenu& menu, const TDervikOptions& options);

// Replaces the installed skins' items (after "基础皮肤") by the list's entries
// 1..n in order, each a radio item with its index as data; checks the selected.
void BuildSkinMenu(TMainMenu& menu, const TSkinList& list);

// The shape items of the shape menu and its submenus, in menu order.
[[nodiscard]] QList<QAction*> ShapeActions(const TMainMenu& menu);

} // namespace orvanta
