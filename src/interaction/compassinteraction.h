// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What the mouse and the keyboard do to the compass. The main window translates
// its Qt events into these calls (desktop coordinates, the modifiers of the
// event) and the controller does what the flags ask afterwards: a full render
// when the model's state.needsRepaint is set, only a re-push of the window
// image when takeWindowUpdate() says so (a control's look was shown or hidden).

#include "interaction/controls.h"
#include "interaction/ports.h"
#include "interaction/stepper.h"
#include "model/compassmodel.h"

#include <QPoint>
#include <QString>
#include <Qt>
#include <cstdint>
#include <optional>
#include <utility>

namespace orvanta {

struct InteractionPorts {
    HitLayers& layers;
    CompassActions& actions;
    CompassSurface& surface;
    MousePointer& cursor;
    Clock& clock;
    RepeatTimer& timer;
};

// What a drag or a press is working on.
enum class DragMode { Nothing = -1, Base = 0, Slide = 1, Control = 2 };

class CompassInteraction {
public:
    CompassInteraction(CompassModel& model, InteractionPorts ports);

    // The mouse over the compass, in desktop coordinates. Only the left button
    // presses controls and drags; any button's release ends a drag or a repeat,
    // but only the release of the left press clicks a control. A double-click's
    // second press is a mouseDown too, followed by doubleClick.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint p);
    void mouseMove(Qt::KeyboardModifiers modifiers, QPoint p);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint p);
    // A double-click on the body flips the beam between right and down.
    void doubleClick();

    // A key went down (`key` is a Qt::Key). Typed characters go to the model's
    // keyPress afterwards; this handles the bindings only.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    // A key went up; `stillHeld` are the modifiers held after it.
    void keyUp(Qt::KeyboardModifiers stillHeld);

    // The repeat timer fired.
    void moverTick();

    // Hit regions. Each returns whether the control took the point.
    bool pressControl(SkinControl key, bool modifier, QPoint p);
    bool hoverControl(SkinControl key, bool modifier, bool alreadyFound, const QString& toolTip,
                      QPoint p);
    // Chooses the cursor for the part under `p`; `held` while the button is down.
    void updateCursor(Qt::KeyboardModifiers modifiers, QPoint p, bool held);

    // The stepping actions.
    void turnToNext45(bool forward, StepFlags flags);
    void turnBy(int degrees, StepFlags flags);
    void extendBy(int pixels, StepFlags flags);
    void moveAlongBeam(int pixels, StepFlags flags);
    void moveBy(int pixels, bool horizontal, StepFlags flags);

    // The menu's and the keys' toggles; at most one lock stays on. Each saves.
    void toggleStickyAngle();
    void toggleLockAngle();
    void toggleLockMeasurement();

    // What the drag under way (or the last one) works on.
    [[nodiscard]] DragMode dragMode() const { return m_dragMode; }

    // The pivot point in desktop coordinates.
    [[nodiscard]] QPointF pivotPoint() const;

    // A control's look was shown or hidden since the last call: the window
    // image must be pushed again though the state did not change.
    [[nodiscard]] bool needsWindowUpdate() const { return m_needsWindowUpdate; }
    bool takeWindowUpdate() { return std::exchange(m_needsWindowUpdate, false); }

private:
    void hoverControls(Qt::KeyboardModifiers modifiers, QPoint p);
    void dragTo(Qt::KeyboardModifiers modifiers, QPoint p);
    void endDrag(Qt::KeyboardModifiers modifiers);
    void actOnRelease(QPoint p);
    void runStepping(SkinControl key, int step);
    void handleShiftKeys(int key, int step);
    void handleArrows(int key, int step);
    void handleCommandKeys(int key, Qt::KeyboardModifiers modifiers);
    void showCursor();
    void setLayerVisible(SkinControl key, ControlLayer layer, bool visible);
    void publishToolTip(QPoint p);
    // The measure selector the user sees: the current type's, or on a skin
    // without one the selector on top.
    [[nodiscard]] SkinControl shownSelector() const;
    [[nodiscard]] bool releasedOn(SkinControl key, QPoint p) const;

    CompassModel& m_model;
    HitLayers& m_layers;
    CompassActions& m_actions;
    CompassSurface& m_surface;
    Stepper m_stepper;

    int m_cursorShape = cursors::hand; // the cursor shown over the compass
    DragMode m_dragMode = DragMode::Nothing;
    bool m_mouseDown = false;
    bool m_justReleased = false; // keeps the pointer for one move after a release
    bool m_needsWindowUpdate = false;
    QString m_toolTip;                  // the tool tip of the compass window
    bool m_showToolTip = false;         // whether that tool tip is displayed
    QString m_lastToolTip;              // the tool tip last handed to the window
    bool m_toolTipShown = false;        // what the window displays now
    QPoint m_last;                      // the previous mouse point
    QPoint m_down;                      // the mouse-down point
    QPoint m_downPos;                   // the compass position at mouse-down
    std::optional<double> m_dragSpread; // the exact spread of the slide drag under way
    std::optional<double> m_dragAngle;  // and its exact angle
};

} // namespace orvanta
