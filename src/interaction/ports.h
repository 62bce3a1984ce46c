// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What the interaction logic needs from the world around it. The controller
// implements the layers over the renderer's and the actions itself; the view
// that shows the compass is the surface; the window supplies the screen cursor
// and the timer; tests fake them all. Positions are desktop pixels unless a
// name says "screen": screen pixels less the virtual desktop's top-left corner,
// which need not be the screen origin. The window maps them to its own.

#include "interaction/controls.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

namespace orvanta {

// The compass as it lies on the desktop: which part is under a point. Hit tests
// ignore visibility; where a layer tests its alpha, transparent pixels miss.
class HitLayers {
public:
    virtual ~HitLayers() = default;

    // A control exists when the skin gives it a rectangle (all three layers).
    [[nodiscard]] virtual bool controlExists(SkinControl key) const = 0;
    // Whether `p` hits the control's normal layer.
    [[nodiscard]] virtual bool hitsControl(SkinControl key, QPoint p) const = 0;
    [[nodiscard]] virtual bool isVisible(SkinControl key, ControlLayer layer) const = 0;
    virtual void setVisible(SkinControl key, ControlLayer layer, bool visible) = 0;
    // The stacking position of the control's normal layer; higher lies above.
    [[nodiscard]] virtual int stackIndex(SkinControl key) const = 0;
    // The control sits on the base or the base panel, so it stays put when the
    // spread changes.
    [[nodiscard]] virtual bool anchoredToBase(SkinControl key) const = 0;

    // The slide or the slide panel.
    [[nodiscard]] virtual bool hitsSlide(QPoint p) const = 0;
    // The base or the base panel.
    [[nodiscard]] virtual bool hitsBase(QPoint p) const = 0;
    // The figure's layer (a press on its outline grabs the base).
    [[nodiscard]] virtual bool hitsShape(QPoint p) const = 0;
    // The readout's transformed bounds (right and bottom exclusive, as QRect's
    // contains() reads them), or nothing when the skin has no readout.
    [[nodiscard]] virtual std::optional<QRect> readoutBounds() const = 0;
    // The pivot inside the base's bitmap; the pivot point in the window is the
    // compass position plus this.
    [[nodiscard]] virtual QPointF basePivot() const = 0;
};

// What the interaction shows on whatever shows the compass: the cursor over
// it, the tool tip, and the clipboard the copy and paste keys use. The
// controller's view is one; tests fake it.
class CompassSurface {
public:
    virtual ~CompassSurface() = default;

    // Shows cursor `number` of the cursor table over the compass.
    virtual void setCursorShape(int number) = 0;
    virtual void showToolTip(const QString& text, QPoint screenPos) = 0;
    virtual void hideToolTip() = 0;
    [[nodiscard]] virtual QString clipboardText() const = 0;
    virtual void setClipboardText(const QString& text) = 0;
    // Whether a notification area shows our icon, to come back from hiding.
    [[nodiscard]] virtual bool hasTray() const = 0;
};

// What controls and keys ask for beyond the model: the controller carries it
// out, handing to the view what only the view can do.
class CompassActions {
public:
    virtual ~CompassActions() = default;

    // The virtual desktop's top-left corner in screen pixels: the desktop origin.
    [[nodiscard]] virtual QPoint virtualOrigin() const = 0;
    // Puts the window above the others again when it is set to stay on top.
    virtual void applyStayOnTop() = 0;

    virtual void popupMenu(QPoint screenPos) = 0;
    // Hides to the tray when the tray can bring the compass back, else quits.
    virtual void requestHide() = 0;
    // A close request: quits unless the window is set to hide instead.
    virtual void closeCompass() = 0;
    // Next base colour of the skin, stored in the options, then recomposes.
    virtual void nextBaseColor() = 0;
    // Reads the current skin's file again and recomposes.
    virtual void reloadSkin() = 0;
    // Selects a measure type: option, menu check and the selectors' stacking.
    virtual void setMeasureType(int type) = 0;
    virtual void startNewInstance() = 0;
    virtual void showHelp() = 0;
    // Sticky angle or a lock changed: the menu checks follow the options.
    virtual void optionsChanged() = 0;
    // Fits the compass to the figure beneath it, or puts it back when it still
    // stands where the last fit put it; Ctrl+Z only puts it back.
    virtual void toggleFit() {}
    virtual void undoFit() {}
};

// The mouse cursor's position, in screen pixels.
class MousePointer {
public:
    virtual ~MousePointer() = default;
    [[nodiscard]] virtual QPoint position() const = 0;
    virtual void setPosition(QPoint screenPos) = 0;
};

// A monotonic millisecond clock that wraps around after 2^32 ms.
class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual std::uint32_t nowMs() const = 0;
};

// The repeat timer: once started it calls the interaction's moverTick every
// interval until stopped. Starting a running timer restarts it.
class RepeatTimer {
public:
    virtual ~RepeatTimer() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
};

// Desktop and screen pixels differ by the virtual desktop's origin.
[[nodiscard]] inline QPoint screenToDesktop(QPoint screen, QPoint virtualOrigin) {
    return screen - virtualOrigin;
}
[[nodiscard]] inline QPoint desktopToScreen(QPoint desktop, QPoint virtualOrigin) {
    return desktop + virtualOrigin;
}

} // namespace orvanta
