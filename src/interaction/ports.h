#pragma once
// What the interaction logic needs from the world around it. The main window
// implements these over the renderer's layers, the screen cursor, its timer and
// its menus; tests fake them. Positions are window pixels unless a name says
// "screen": the window covers the virtual desktop, whose top-left corner need
// not be the screen origin.

#include "interaction/controls.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

namespace orvanta {

// The compass as it lies in the window: which part is under a point. Hit tests
// ignore visibility; where a layer tests its alpha, transparent pixels miss.
class ICompassLayers {
public:
    virtual ~ICompassLayers() = default;

    // A control exists when the skin gives it a rectangle (all three layers).
    [[nodiscard]] virtual bool ControlExists(SkinControl key) const = 0;
    // Whether `p` hits the control's normal layer.
    [[nodiscard]] virtual bool HitsControl(SkinControl key, QPoint p) const = 0;
    [[nodiscard]] virtual bool IsVisible(SkinControl key, ControlLayer layer) const = 0;
    virtual void SetVisible(SkinControl key, ControlLayer layer, bool visible) = 0;
    // The stacking position of the control's normal layer; higher lies above.
    [[nodiscard]] virtual int StackIndex(SkinControl key) const = 0;
    // The control sits on the base or the base panel, so it stays put when the
    // spread changes.
    [[nodiscard]] virtual bool AnchoredToBase(SkinControl key) const = 0;

    // The slide or the slide panel.
    [[nodiscard]] virtual bool HitsSlide(QPoint p) const = 0;
    // The base or the base panel.
    [[nodiscard]] virtual bool HitsBase(QPoint p) const = 0;
    // The figure's layer (a press on its outline grabs the base).
    [[nodiscard]] virtual bool HitsShape(QPoint p) const = 0;
    // The readout's transformed bounds (right and bottom exclusive, as QRect's
    // contains() reads them), or nothing when the skin has no readout.
    [[nodiscard]] virtual std::optional<QRect> ReadoutBounds() const = 0;
    // The pivot inside the base's bitmap; the pivot point in the window is the
    // compass position plus this.
    [[nodiscard]] virtual QPointF BasePivot() const = 0;
};

// The window's side of what controls and keys do.
class IWindowActions {
public:
    virtual ~IWindowActions() = default;

    // The virtual desktop's top-left corner in screen pixels: the window origin.
    [[nodiscard]] virtual QPoint VirtualOrigin() const = 0;
    // Shows cursor `number` of the cursor table over the compass.
    virtual void SetCursorShape(int number) = 0;
    virtual void ShowHint(const QString& text, QPoint screenPos) = 0;
    virtual void HideHint() = 0;
    // Puts the window above the others again when it is set to stay on top.
    virtual void ApplyStayOnTop() = 0;

    virtual void PopupMenu(QPoint screenPos) = 0;
    // Hides to the tray when the tray can bring the compass back, else quits.
    virtual void RequestHide() = 0;
    // A close request: quits unless the window is set to hide instead.
    virtual void Close() = 0;
    // Next base colour of the skin, stored in the options, then recomposes.
    virtual void NextBaseColor() = 0;
    // Reads the current skin's file again and recomposes.
    virtual void ReloadSkin() = 0;
    // Selects a measure type: option, menu check and the selectors' stacking.
    virtual void SetMeasureType(int type) = 0;
    virtual void StartNewInstance() = 0;
    virtual void ShowHelp() = 0;
    [[nodiscard]] virtual QString ClipboardText() const = 0;
    virtual void SetClipboardText(const QString& text) = 0;
    // Sticky angle or a lock changed: the menu checks follow the options.
    virtual void OptionsChanged() = 0;
};

// The mouse cursor's position, in screen pixels.
class ICursor {
public:
    virtual ~ICursor() = default;
    [[nodiscard]] virtual QPoint Position() const = 0;
    virtual void SetPosition(QPoint screenPos) = 0;
};

// A monotonic millisecond clock that wraps around after 2^32 ms.
class IClock {
public:
    virtual ~IClock() = default;
    [[nodiscard]] virtual std::uint32_t NowMs() const = 0;
};

// The repeat timer: once started it calls the interaction's MoverTick every
// interval until stopped. Starting a running timer restarts it.
class IRepeatTimer {
public:
    virtual ~IRepeatTimer() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
};

// Window and screen pixels differ by the virtual desktop's origin.
[[nodiscard]] inline QPoint ScreenToWindow(QPoint screen, QPoint virtualOrigin) {
    return screen - virtualOrigin;
}
[[nodiscard]] inline QPoint WindowToScreen(QPoint window, QPoint virtualOrigin) {
    return window + virtualOrigin;
}

} // namespace orvanta
