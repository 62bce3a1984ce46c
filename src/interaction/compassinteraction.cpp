// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/compassinteraction.h"

#include "interaction/draggeometry.h"
#include "interaction/stepping.h"
#include "model/numbers.h"

#include <cmath>
#include <numbers>

namespace orvanta {

namespace {

// A held Ctrl, Alt or Shift makes a step this many degrees or pixels.
constexpr int kBigStep = 10;
constexpr int kSmallStep = 1;

[[nodiscard]] bool anyModifier(Qt::KeyboardModifiers m) {
    return m & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

[[nodiscard]] std::optional<Arrow> arrowOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return Arrow::Left;
    case Qt::Key_Up:
        return Arrow::Up;
    case Qt::Key_Right:
        return Arrow::Right;
    case Qt::Key_Down:
        return Arrow::Down;
    default:
        return std::nullopt;
    }
}

// Shift turns the comma and period keys into "<" and ">" on most layouts; the
// tooltips name them that way, so both codes count.
[[nodiscard]] bool isComma(int key) {
    return key == Qt::Key_Comma || key == Qt::Key_Less;
}
[[nodiscard]] bool isPeriod(int key) {
    return key == Qt::Key_Period || key == Qt::Key_Greater;
}

} // namespace

CompassInteraction::CompassInteraction(CompassModel& model, InteractionPorts ports)
    : m_model(model), m_layers(ports.layers), m_actions(ports.actions), m_surface(ports.surface),
      m_stepper(model, ports.layers, ports.actions, ports.cursor, ports.clock, ports.timer) {}

QPointF CompassInteraction::pivotPoint() const {
    return QPointF(m_model.state.posX, m_model.state.posY) + m_layers.basePivot();
}

// ---------------------------------------------------------------------------
// Mouse

void CompassInteraction::mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                   QPoint p) {
    if (button != Qt::LeftButton)
        return;
    CompassState& state = m_model.state;
    m_mouseDown = true;
    m_dragMode = DragMode::Nothing;
    state.dragging = false;
    m_down = p;
    m_downPos = {state.posX, state.posY};
    m_last = p;

    const bool modifier = anyModifier(modifiers);
    const SkinControl currentSelector = shownSelector();
    for (const SkinControl key : allControls()) {
        // The selectors lie on one another; only the current one, on top, is
        // the one the user sees and can press.
        if (isMeasureSelector(key) && key != currentSelector)
            continue;
        const ControlInfo& info = infoOf(key);
        const bool keyModifier = info.seesModifier && modifier;
        if (pressControl(key, keyModifier, p)) {
            if (info.steps)
                runStepping(key, keyModifier ? kBigStep : kSmallStep);
            return;
        }
    }

    state.dragging = true;
    m_dragSpread.reset();
    m_dragAngle.reset();
    if (m_layers.hitsSlide(p))
        m_dragMode = DragMode::Slide;
    else if (m_layers.hitsBase(p) || m_layers.hitsShape(p))
        m_dragMode = DragMode::Base;
    updateCursor(modifiers, p, true);
}

void CompassInteraction::mouseMove(Qt::KeyboardModifiers modifiers, QPoint p) {
    if (m_model.state.dragging)
        dragTo(modifiers, p);
    else
        hoverControls(modifiers, p);
    m_last = p;
    showCursor();
    m_actions.applyStayOnTop();
}

void CompassInteraction::mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                 QPoint p) {
    // Only the release of our own left press acts: a pressed look left over
    // from an earlier click must not turn a stray release into a click.
    const bool endsPress = m_mouseDown && button == Qt::LeftButton;
    m_mouseDown = false;
    m_stepper.stop();
    endDrag(modifiers);

    if (m_cursorShape == cursors::down || m_cursorShape == cursors::downPlus) {
        m_cursorShape = m_cursorShape == cursors::down ? cursors::pointer : cursors::pointerPlus;
        m_justReleased = true;
    } else {
        // A drag's "grab" cursor returns to its "hand" now, not at the next move.
        m_cursorShape = releasedDragCursor(m_cursorShape);
    }
    showCursor();

    if (endsPress)
        actOnRelease(p);
    m_model.state.needsRepaint = true;
}

void CompassInteraction::doubleClick() {
    if (m_dragMode != DragMode::Control)
        m_model.state.toggleRightAngle();
}

void CompassInteraction::actOnRelease(QPoint p) {
    if (releasedOn(SkinControl::Close, p))
        m_actions.requestHide();
    if (releasedOn(SkinControl::ColorBase, p))
        m_actions.nextBaseColor();
    if (releasedOn(SkinControl::Menu, p))
        m_actions.popupMenu(desktopToScreen(p, m_actions.virtualOrigin()));

    // Only the selector on top of the other two acts: it is the one shown.
    for (const SkinControl key : kMeasureSelectors) {
        if (!releasedOn(key, p))
            continue;
        bool onTop = true;
        for (const SkinControl other : kMeasureSelectors) {
            if (other != key && m_layers.controlExists(other) &&
                m_layers.stackIndex(other) > m_layers.stackIndex(key))
                onTop = false;
        }
        if (!onTop)
            continue;
        // A click moves on from the current type: a skin made before some types
        // existed has no selector of theirs and still shows an older one.
        m_actions.setMeasureType((int(m_model.options.measureType) + 1) % kMeasureKindCount);
        return;
    }
}

SkinControl CompassInteraction::shownSelector() const {
    const SkinControl current = selectorOf(m_model.options.measureType);
    if (m_layers.controlExists(current))
        return current;
    // A skin made before some types existed shows whichever selector is on top.
    SkinControl top = current;
    for (const SkinControl key : kMeasureSelectors)
        if (m_layers.controlExists(key) &&
            (!m_layers.controlExists(top) || m_layers.stackIndex(key) > m_layers.stackIndex(top)))
            top = key;
    return top;
}

bool CompassInteraction::releasedOn(SkinControl key, QPoint p) const {
    return m_layers.controlExists(key) && m_layers.hitsControl(key, p) &&
           m_layers.isVisible(key, ControlLayer::Pressed);
}

// ---------------------------------------------------------------------------
// Hover, press and cursors

bool CompassInteraction::pressControl(SkinControl key, bool modifier, QPoint p) {
    // A pressed look left from the previous release (the mouse has not moved
    // since) does not refuse the press: a second click in the same place must
    // press the control again rather than grab the body beneath it.
    if (!m_layers.controlExists(key) || !m_layers.hitsControl(key, p))
        return false;
    setLayerVisible(key, ControlLayer::Pressed, true);
    setLayerVisible(key, ControlLayer::Hover, false);
    m_cursorShape = modifier ? cursors::downPlus : cursors::down;
    showCursor();
    m_dragMode = DragMode::Control;
    return true;
}

bool CompassInteraction::hoverControl(SkinControl key, bool modifier, bool alreadyFound,
                                      const QString& toolTip, QPoint p) {
    if (!m_layers.controlExists(key))
        return false;
    const bool hit = m_layers.hitsControl(key, p);
    const auto visible = [&](ControlLayer layer) { return m_layers.isVisible(key, layer); };

    if (m_mouseDown && hit) {
        setLayerVisible(key, ControlLayer::Hover, false);
        setLayerVisible(key, ControlLayer::Pressed, true);
    } else if (!m_mouseDown) {
        setLayerVisible(key, ControlLayer::Pressed, false);
    }
    // A control beneath one that already took the point neither lights up nor
    // puts its tooltip over the other's highlight.
    if (!alreadyFound && !visible(ControlLayer::Hover) && !visible(ControlLayer::Pressed) && hit) {
        setLayerVisible(key, ControlLayer::Hover, true);
        if (m_model.options.tooltips) {
            m_toolTip = toolTip;
            m_showToolTip = true;
        }
    }
    if (alreadyFound || (visible(ControlLayer::Hover) && !hit))
        setLayerVisible(key, ControlLayer::Hover, false);
    if (alreadyFound || (visible(ControlLayer::Pressed) && !hit))
        setLayerVisible(key, ControlLayer::Pressed, false);

    if (hit) {
        m_dragMode = DragMode::Control;
        if (m_mouseDown)
            m_cursorShape = modifier ? cursors::downPlus : cursors::down;
        else
            m_cursorShape = modifier ? cursors::pointerPlus : cursors::pointer;
    }
    showCursor();
    return hit;
}

void CompassInteraction::hoverControls(Qt::KeyboardModifiers modifiers, QPoint p) {
    const bool modifier = anyModifier(modifiers);
    const SkinControl currentSelector = shownSelector();
    bool found = false;
    for (const SkinControl key : allControls()) {
        if (isMeasureSelector(key) && key != currentSelector) {
            // A selector that was pressed and then replaced by the next one is
            // no longer hovered; its looks must not stay behind.
            if (m_layers.controlExists(key)) {
                setLayerVisible(key, ControlLayer::Pressed, false);
                setLayerVisible(key, ControlLayer::Hover, false);
            }
            continue;
        }
        const bool keyModifier = infoOf(key).seesModifier && modifier;
        if (hoverControl(key, keyModifier, found,
                         controlTooltip(key, m_model.options, m_surface.hasTray()), p))
            found = true;
    }

    if (!m_justReleased && !found) {
        m_dragMode = DragMode::Nothing;
        updateCursor(modifiers, p, false);
        m_showToolTip = false;
    }
    m_justReleased = false;

    const std::optional<QRect> readout = m_layers.readoutBounds();
    if (m_model.options.tooltips && readout && readout->contains(p)) {
        m_toolTip = readoutToolTip(m_model);
        m_showToolTip = true;
    }
    publishToolTip(p);
}

void CompassInteraction::publishToolTip(QPoint p) {
    // Switching tooltips off hides a tool tip that is already up, too.
    const bool show = m_showToolTip && m_model.options.tooltips && !m_toolTip.isEmpty();
    const bool changed = m_toolTip != m_lastToolTip;
    if (changed)
        m_lastToolTip = m_toolTip;
    if (show && (changed || !m_toolTipShown))
        m_surface.showToolTip(m_toolTip, desktopToScreen(p, m_actions.virtualOrigin()));
    else if (!show && m_toolTipShown)
        m_surface.hideToolTip();
    m_toolTipShown = show;
}

void CompassInteraction::updateCursor(Qt::KeyboardModifiers modifiers, QPoint p, bool held) {
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const bool lockAngle = m_model.options.lockAngle;
    const bool lockMeasurement = m_model.options.lockMeasurement;
    const bool dragging = m_model.state.dragging;

    // The slide's cursor tells what a drag of it may change: turn only, extend
    // only, or both.
    const auto slideCursor = [&](int turnOnly, int free, int extendOnly) {
        if (alt || lockMeasurement)
            return turnOnly;
        return !shift && !lockAngle ? free : extendOnly;
    };
    const auto baseCursor = [&](int relative, int constrained, int free) {
        return alt ? relative : shift ? constrained : free;
    };

    if (held) {
        if ((m_dragMode == DragMode::Nothing || m_dragMode == DragMode::Slide) &&
            ((dragging && m_dragMode == DragMode::Slide) || m_layers.hitsSlide(p)))
            m_cursorShape = slideCursor(cursors::grabRotate, cursors::grab, cursors::grabExtend);
        else if ((m_dragMode == DragMode::Nothing || m_dragMode == DragMode::Base) &&
                 ((dragging && m_dragMode == DragMode::Base) || m_layers.hitsBase(p)))
            m_cursorShape = baseCursor(cursors::grabRelative, cursors::grabMove, cursors::grab);
    } else if (m_dragMode != DragMode::Control) {
        if (m_layers.hitsSlide(p))
            m_cursorShape = slideCursor(cursors::handRotate, cursors::hand, cursors::handExtend);
        else if (m_layers.hitsBase(p))
            m_cursorShape = baseCursor(cursors::handRelative, cursors::handMove, cursors::hand);
    }
    showCursor();
}

void CompassInteraction::showCursor() {
    m_surface.setCursorShape(m_cursorShape);
}

void CompassInteraction::setLayerVisible(SkinControl key, ControlLayer layer, bool visible) {
    // Only a real change needs the window pushed again.
    if (m_layers.isVisible(key, layer) == visible)
        return;
    m_layers.setVisible(key, layer, visible);
    m_needsWindowUpdate = true;
}

// ---------------------------------------------------------------------------
// Dragging

void CompassInteraction::dragTo(Qt::KeyboardModifiers modifiers, QPoint p) {
    CompassState& state = m_model.state;
    state.typing = false; // the readout returns to the live measurement
    m_showToolTip = false;
    publishToolTip(p);
    if (p == m_last)
        return;
    if (m_dragMode != DragMode::Base && m_dragMode != DragMode::Slide)
        return;
    if (m_cursorShape != cursors::down && m_cursorShape != cursors::downPlus)
        updateCursor(modifiers, p, true);

    const bool shift = modifiers & Qt::ShiftModifier;
    const bool alt = modifiers & Qt::AltModifier;
    if (m_dragMode == DragMode::Base) {
        if (!shift && !alt) {
            state.posX += p.x() - m_last.x();
            state.posY += p.y() - m_last.y();
        } else {
            const QPoint pos = constrainedMove(m_down, m_downPos, p,
                                               alt ? std::optional(state.angle) : std::nullopt);
            state.posX = pos.x();
            state.posY = pos.y();
        }
        state.needsRepaint = true;
        return;
    }

    // Each render rounds the spread to whole pixels. Fed back into the next step,
    // that rounding would let the slide creep away from its grab point over a long
    // drag, so the drag goes on from its own exact spread while the shown one is
    // that spread, rounded or not yet; a spread changed by anything else (a key,
    // the length limit) is taken as it is. The angle is carried the same way: kept
    // in single precision between steps, the beam's last digits would depend on
    // which of the pointer's moves arrived.
    const bool spreadHolds =
        m_dragSpread && (state.measurement == float(*m_dragSpread) ||
                         state.measurement == float(roundHalfEven(float(*m_dragSpread))));
    const bool angleHolds = m_dragAngle && state.angle == float(*m_dragAngle);
    SlideGrip grip{pivotPoint(),
                   p,
                   m_last,
                   spreadHolds ? *m_dragSpread : state.measurement,
                   angleHolds ? *m_dragAngle : state.angle,
                   m_model.options.lockMeasurement,
                   m_model.options.lockAngle};
    if (alt) {
        grip.lockMeasurement = true; // turn only
        grip.lockAngle = false;
    } else if (shift) {
        grip.lockMeasurement = false; // extend only
        grip.lockAngle = true;
    }
    const SlidePose pose = slideDrag(grip);
    state.angle = float(pose.angle);
    state.measurement = float(pose.measurement);
    m_dragSpread = pose.measurement;
    m_dragAngle = pose.angle;
    if (state.composed)
        state.needsRepaint = true;
}

void CompassInteraction::endDrag(Qt::KeyboardModifiers modifiers) {
    CompassState& state = m_model.state;
    if (!state.dragging)
        return;
    state.dragging = false;
    // The snap is taken from the angle at release, with the rule the renderer
    // draws by, so a release that comes before the last move was drawn still
    // keeps that move.
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (m_model.options.stickyAngle != ctrl)
        state.angle = snappedAngle(state.angle);
}

// ---------------------------------------------------------------------------
// Keyboard

void CompassInteraction::keyDown(int key, Qt::KeyboardModifiers modifiers) {
    updateCursor(modifiers, m_last, m_model.state.dragging);
    int step = kSmallStep;
    if (modifiers & Qt::ControlModifier) {
        if (key == Qt::Key_C && (modifiers & Qt::ShiftModifier))
            m_surface.setClipboardText(m_model.measurementLine());
        else if (key == Qt::Key_C)
            m_surface.setClipboardText(m_model.copyText());
        else if (key == Qt::Key_V)
            m_model.paste(m_surface.clipboardText());
        else if (key == Qt::Key_Z)
            m_actions.undoFit();
        else
            step = kBigStep;
    }
    if (modifiers & Qt::ShiftModifier)
        handleShiftKeys(key, step);
    else
        handleArrows(key, step);
    handleCommandKeys(key, modifiers);
    m_model.state.needsRepaint = true;
}

void CompassInteraction::handleShiftKeys(int key, int step) {
    if (const std::optional<Arrow> arrow = arrowOf(key)) {
        // The arrow pointing the beam's way lengthens it. The beam is read in
        // its canonical range: a snapped 360 or a 315 from L points where 0 and
        // -45 do.
        if (const int sign = arrowExtension(*arrow, m_model.state.angle))
            extendBy(sign * step, kFromKey);
    } else if (isComma(key)) {
        turnBy(-step, kFromKey);
    } else if (isPeriod(key)) {
        turnBy(step, kFromKey);
    }
}

void CompassInteraction::handleArrows(int key, int step) {
    switch (key) {
    case Qt::Key_Left:
        moveBy(-step, true, kFromKey);
        break;
    case Qt::Key_Right:
        moveBy(step, true, kFromKey);
        break;
    case Qt::Key_Up:
        moveBy(-step, false, kFromKey);
        break;
    case Qt::Key_Down:
        moveBy(step, false, kFromKey);
        break;
    default:
        break;
    }
}

void CompassInteraction::handleCommandKeys(int key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
    case Qt::Key_R:
        m_actions.reloadSkin();
        break;
    case Qt::Key_C:
        if (!(modifiers & Qt::ControlModifier))
            m_actions.nextBaseColor();
        break;
    case Qt::Key_F:
        turnToNext45(true, kFromKey);
        break;
    case Qt::Key_L:
        turnToNext45(false, kFromKey);
        break;
    case Qt::Key_S:
        toggleStickyAngle();
        break;
    case Qt::Key_A:
        toggleLockAngle();
        break;
    case Qt::Key_M:
        toggleLockMeasurement();
        break;
    case Qt::Key_Q:
        m_actions.closeCompass();
        break;
    case Qt::Key_H:
        // Without a tray to come back from, hiding would lose the compass.
        if (hidesToTray(m_model.options, m_surface.hasTray()))
            m_actions.requestHide();
        break;
    case Qt::Key_N:
        m_actions.startNewInstance();
        break;
    case Qt::Key_B:
        if (!(modifiers & Qt::ControlModifier))
            m_actions.toggleFit();
        break;
    case Qt::Key_F1:
        m_actions.showHelp();
        break;
    default:
        break;
    }
}

void CompassInteraction::keyUp(Qt::KeyboardModifiers stillHeld) {
    const bool modifier = anyModifier(stillHeld);
    if (!modifier && m_cursorShape == cursors::pointerPlus)
        m_cursorShape = cursors::pointer;
    else if (modifier && m_cursorShape == cursors::pointer)
        m_cursorShape = cursors::pointerPlus;
    updateCursor(stillHeld, m_last, m_model.state.dragging);
}

void CompassInteraction::toggleStickyAngle() {
    m_model.setStickyAngle(!m_model.options.stickyAngle);
    m_actions.optionsChanged();
}

void CompassInteraction::toggleLockAngle() {
    m_model.setLockAngle(!m_model.options.lockAngle);
    m_actions.optionsChanged();
}

void CompassInteraction::toggleLockMeasurement() {
    m_model.setLockMeasurement(!m_model.options.lockMeasurement);
    m_actions.optionsChanged();
}

// ---------------------------------------------------------------------------
// Stepping actions and their repeat

void CompassInteraction::runStepping(SkinControl key, int step) {
    switch (key) {
    case SkinControl::Flip:
        turnToNext45(true, kFromControl);
        break;
    case SkinControl::FlipMinus:
        turnToNext45(false, kFromControl);
        break;
    case SkinControl::Angle:
        turnBy(step, kFromControl);
        break;
    case SkinControl::AngleMinus:
        turnBy(-step, kFromControl);
        break;
    case SkinControl::Left:
        moveAlongBeam(-step, kFromControl);
        break;
    case SkinControl::Right:
        moveAlongBeam(step, kFromControl);
        break;
    case SkinControl::In:
        extendBy(-step, kFromControl);
        break;
    case SkinControl::Out:
        extendBy(step, kFromControl);
        break;
    case SkinControl::MoveLeft:
        moveBy(-step, true, kFromControl);
        break;
    case SkinControl::MoveUp:
        moveBy(-step, false, kFromControl);
        break;
    case SkinControl::MoveRight:
        moveBy(step, true, kFromControl);
        break;
    case SkinControl::MoveDown:
        moveBy(step, false, kFromControl);
        break;
    default:
        break; // acts at release
    }
}

void CompassInteraction::turnToNext45(bool forward, StepFlags flags) {
    m_stepper.turnToNext45(forward, flags);
}

void CompassInteraction::turnBy(int degrees, StepFlags flags) {
    m_stepper.turnBy(degrees, flags);
}

void CompassInteraction::extendBy(int pixels, StepFlags flags) {
    m_stepper.extendBy(pixels, flags);
}

void CompassInteraction::moveAlongBeam(int pixels, StepFlags flags) {
    m_stepper.moveAlongBeam(pixels, flags);
}

void CompassInteraction::moveBy(int pixels, bool horizontal, StepFlags flags) {
    m_stepper.moveBy(pixels, horizontal, flags);
}

void CompassInteraction::moverTick() {
    m_stepper.tick();
}

} // namespace orvanta
