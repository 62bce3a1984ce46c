#include "interaction/controls.h"

#include <algorithm>

namespace orvanta {

namespace {

using enum SkinControl;

// Indexed by SkinControl. The first five ignore modifier keys: closing, the
// colour, the menu and the 45-degree turns have no step to enlarge.
constexpr std::array<ControlInfo, kControlCount> kControls{{
    {false, false}, // Close
    {false, false}, // ColorBase
    {false, false}, // Menu
    {true, false},  // Flip
    {true, false},  // FlipMinus
    {true, true},   // Angle
    {true, true},   // AngleMinus
    {true, true},   // Left
    {true, true},   // Right
    {true, true},   // In
    {true, true},   // Out
    {true, true},   // MoveLeft
    {true, true},   // MoveUp
    {true, true},   // MoveRight
    {true, true},   // MoveDown
    {false, true},  // Radius
    {false, true},  // Circumference
    {false, true},  // Area
}};

constexpr std::array<SkinControl, kControlCount> kOrder = [] {
    std::array<SkinControl, kControlCount> order{};
    for (int i = 0; i < kControlCount; ++i)
        order[i] = static_cast<SkinControl>(i);
    return order;
}();

} // namespace

const std::array<SkinControl, kControlCount>& allControls() {
    return kOrder;
}

const ControlInfo& infoOf(SkinControl key) {
    return kControls[static_cast<int>(key)];
}

bool hidesToTray(const Settings& options) {
    return options.systemTrayIcon && options.rightClickMenu;
}

QString controlTooltip(SkinControl key, const Settings& options) {
    switch (key) {
    case Close:
        return hidesToTray(options) ? QStringLiteral("隐藏圆规到系统托盘 (H)")
                                    : QStringLiteral("退出圆规 (Q)");
    case ColorBase:
        return QStringLiteral("更改基础颜色条 (C)");
    case Menu:
        return QStringLiteral("显示菜单 (右键点击)");
    case Flip:
        return QStringLiteral("旋转到最近45 度 (F)");
    case FlipMinus:
        return QStringLiteral("旋转到最后45 度 (L)");
    case Angle:
        return QStringLiteral("顺时针旋转 (Shift + >)");
    case AngleMinus:
        return QStringLiteral("逆时针旋转 (Shift + <)");
    case Left:
        return QStringLiteral("向内移动");
    case Right:
        return QStringLiteral("向外移动");
    case In:
        return QStringLiteral("缩短距离 (shift + 箭头键)");
    case Out:
        return QStringLiteral("延长距离 (shift + 箭头键)");
    case MoveLeft:
        return QStringLiteral("左移 (左箭头)");
    case MoveUp:
        return QStringLiteral("上移 (上箭头)");
    case MoveRight:
        return QStringLiteral("右移 (右箭头)");
    case MoveDown:
        return QStringLiteral("下移 (下箭头)");
    case Radius:
        return QStringLiteral("半径测量 - 点击更改");
    case Circumference:
        return QStringLiteral("周长测量 - 点击更改");
    case Area:
        return QStringLiteral("面积测量 - 点击更改");
    }
    return {};
}

SkinControl selectorOf(int measureType) {
    const bool known = measureType >= 0 && measureType < int(kMeasureSelectors.size());
    return known ? kMeasureSelectors[std::size_t(measureType)] : Radius;
}

int measureTypeOf(SkinControl key) {
    const auto* found = std::find(kMeasureSelectors.begin(), kMeasureSelectors.end(), key);
    return found == kMeasureSelectors.end() ? -1 : int(found - kMeasureSelectors.begin());
}

bool isMeasureSelector(SkinControl key) {
    return measureTypeOf(key) >= 0;
}

QString readoutHint(const CompassModel& model) {
    const UnitTable& units = model.units;
    const std::int32_t unit = units.selectedUnit();
    return QStringLiteral(
               "键入一个数字, 按回车键跳转到新距离\r\n\r\n键入+, -, *, 或 / 和一个数字计算") +
           QStringLiteral("\r\n\r\n") +
           scaleDescription(units.name(unit), isPhysicalUnit(units, unit), model.monitor);
}

int releasedDragCursor(int cursor) {
    switch (cursor) {
    case cursors::grab:
    case cursors::grabExtend:
    case cursors::grabRotate:
    case cursors::grabMove:
    case cursors::grabRelative:
        return cursor - 1; // every "grab" follows its "hand" in the table
    default:
        return cursor;
    }
}

} // namespace orvanta
