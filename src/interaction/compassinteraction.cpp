#include "interaction/compassinteraction.h"

#include "interaction/draggeometry.h"
#include "interaction/stepping.h"
#include "model/numbers.h"

#include <cmath>
#include <numbers>

namespace orvanta {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

// A held Ctrl, Alt or Shift makes a step this many degrees or pixels.
constexpr int kBigStep = 10;
constexpr int kSmallStep = 1;

// The repeat waits this long before the first repeated step, so that a click
// makes exactly one step.
constexpr int kRepeatDelayMs = 400;
// Then it fires as often as it can and steps whenever more than the action's
// shortest time has passed: turning to the next 45 degrees must be slow enough
// to stop at the wanted one, the fine steps fast.
constexpr int kRepeatTickMs = 1;
constexpr int kQuarterTurnRepeatMs = 300;
constexpr int kFineRepeatMs = 16;
constexpr int kQuarterTurn = 45;

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
    : model(model), m_layers(ports.layers), m_actions(ports.actions), m_cursor(ports.cursor),
      m_clock(ports.clock), m_timer(ports.timer) {}

QPointF CompassInteraction::pivotPoint() const {
    return QPointF(model.state.posX, model.state.posY) + m_layers.basePivot();
}

// ---------------------------------------------------------------------------
// Mouse

void CompassInteraction::mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                   QPoint p) {
    if (button != Qt::LeftButton)
        return;
    CompassState& state = model.state;
    m_mouseDown = true;
    m_dragMode = DragMode::Nothing;
    state.dragging = false;
    m_down = p;
    m_downPos = {state.posX, state.posY};
    m_last = p;

    const bool modifier = anyModifier(modifiers);
    const SkinControl currentSelector = selectorOf(model.options.measureType);
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
    if (m_layers.hitsSlide(p))
        m_dragMode = DragMode::Slide;
    else if (m_layers.hitsBase(p) || m_layers.hitsShape(p))
        m_dragMode = DragMode::Base;
    updateCursor(modifiers, p, true);
}

void CompassInteraction::mouseMove(Qt::KeyboardModifiers modifiers, QPoint p) {
    if (model.state.dragging)
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
    m_timer.stop();
    m_moverInterval = 0;
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
    model.state.needsRepaint = true;
}

void CompassInteraction::doubleClick() {
    if (m_dragMode != DragMode::Control)
        model.state.toggleRightAngle();
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
        // Each selector shows the current type; a click moves on to the next.
        m_actions.setMeasureType((measureTypeOf(key) + 1) % int(kMeasureSelectors.size()));
        return;
    }
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
                                      const QString& tooltip, QPoint p) {
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
        if (model.options.tooltips) {
            m_hint = tooltip;
            m_showHint = true;
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
    const SkinControl currentSelector = selectorOf(model.options.measureType);
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
        if (hoverControl(key, keyModifier, found, controlTooltip(key, model.options), p))
            found = true;
    }

    if (!m_justReleased && !found) {
        m_dragMode = DragMode::Nothing;
        updateCursor(modifiers, p, false);
        m_showHint = false;
    }
    m_justReleased = false;

    const std::optional<QRect> readout = m_layers.readoutBounds();
    if (model.options.tooltips && readout && readout->contains(p)) {
        m_hint = readoutHint();
        m_showHint = true;
    }
    publishHint(p);
}

void CompassInteraction::publishHint(QPoint p) {
    // Switching tooltips off hides a hint that is already up, too.
    const bool show = m_showHint && model.options.tooltips && !m_hint.isEmpty();
    const bool changed = m_hint != m_lastHint;
    if (changed)
        m_lastHint = m_hint;
    if (show && (changed || !m_hintShown))
        m_actions.showHint(m_hint, desktopToScreen(p, m_actions.virtualOrigin()));
    else if (!show && m_hintShown)
        m_actions.hideHint();
    m_hintShown = show;
}

void CompassInteraction::updateCursor(Qt::KeyboardModifiers modifiers, QPoint p, bool held) {
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const bool lockAngle = model.options.lockAngle;
    const bool lockMeasurement = model.options.lockMeasurement;
    const bool dragging = model.state.dragging;

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
    m_actions.setCursorShape(m_cursorShape);
}

void CompassInteraction::setLayerVisible(SkinControl key, ControlLayer layer, bool visible) {
    // Only a real change needs the window pushed again.
    if (m_layers.isVisible(key, layer) == visible)
        return;
    m_layers.setVisible(key, layer, visible);
    needsWindowUpdate = true;
}

// ---------------------------------------------------------------------------
// Dragging

void CompassInteraction::dragTo(Qt::KeyboardModifiers modifiers, QPoint p) {
    CompassState& state = model.state;
    state.typing = false; // the readout returns to the live measurement
    m_showHint = false;
    publishHint(p);
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
    // that spread rounded; a spread changed by anything else (a key, the length
    // limit) is taken as it is.
    const bool exactHolds = m_dragSpread && roundHalfEven(*m_dragSpread) == state.measurement;
    SlideGrip grip{pivotPoint(),
                   p,
                   m_last,
                   exactHolds ? *m_dragSpread : state.measurement,
                   state.angle,
                   model.options.lockMeasurement,
                   model.options.lockAngle};
    if (alt) {
        grip.lockMeasurement = true; // turn only
        grip.lockAngle = false;
    } else if (shift) {
        grip.lockMeasurement = false; // extend only
        grip.lockAngle = true;
    }
    const SlidePose pose = slideDrag(grip);
    state.angle = pose.angle;
    state.measurement = pose.measurement;
    m_dragSpread = pose.measurement;
    if (state.composed)
        state.needsRepaint = true;
}

void CompassInteraction::endDrag(Qt::KeyboardModifiers modifiers) {
    CompassState& state = model.state;
    if (!state.dragging)
        return;
    state.dragging = false;
    // The snap is taken from the angle at release, with the rule the renderer
    // draws by, so a release that comes before the last move was drawn still
    // keeps that move.
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (model.options.stickyAngle != ctrl)
        state.angle = snappedAngle(state.angle);
}

// ---------------------------------------------------------------------------
// Keyboard

void CompassInteraction::keyDown(int key, Qt::KeyboardModifiers modifiers) {
    updateCursor(modifiers, m_last, model.state.dragging);
    int step = kSmallStep;
    if (modifiers & Qt::ControlModifier) {
        if (key == Qt::Key_C)
            m_actions.setClipboardText(model.copyText());
        else if (key == Qt::Key_V)
            model.paste(m_actions.clipboardText());
        else
            step = kBigStep;
    }
    if (modifiers & Qt::ShiftModifier)
        handleShiftKeys(key, step);
    else
        handleArrows(key, step);
    handleCommandKeys(key, modifiers);
    model.state.needsRepaint = true;
}

void CompassInteraction::handleShiftKeys(int key, int step) {
    if (const std::optional<Arrow> arrow = arrowOf(key)) {
        // The arrow pointing the beam's way lengthens it. The beam is read in
        // its canonical range: a snapped 360 or a 315 from L points where 0 and
        // -45 do.
        if (const int sign = arrowExtension(*arrow, model.state.angle))
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
        if (hidesToTray(model.options))
            m_actions.requestHide();
        break;
    case Qt::Key_N:
        m_actions.startNewInstance();
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
    updateCursor(stillHeld, m_last, model.state.dragging);
}

void CompassInteraction::toggleStickyAngle() {
    model.setStickyAngle(!model.options.stickyAngle);
    m_actions.optionsChanged();
}

void CompassInteraction::toggleLockAngle() {
    model.setLockAngle(!model.options.lockAngle);
    m_actions.optionsChanged();
}

void CompassInteraction::toggleLockMeasurement() {
    model.setLockMeasurement(!model.options.lockMeasurement);
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

// The actions write the repeat's fields only when they start a repeat: a key
// pressed while a control is held must not change what the held control does.

void CompassInteraction::turnToNext45(bool forward, StepFlags flags) {
    CompassState& state = model.state;
    const float target = nextMultipleOf45(state.angle, forward);
    if (flags.moveCursor)
        turnCursorBy(float(roundHalfEven(target - state.angle)));
    if (flags.repeat) {
        m_moverStep = forward ? kQuarterTurn : -kQuarterTurn;
        startRepeat(MoverMode::Turn, kQuarterTurnRepeatMs, flags.moveCursor);
    }
    state.angle = target;
    state.needsRepaint = true;
}

void CompassInteraction::turnBy(int degrees, StepFlags flags) {
    model.state.turnBy(float(degrees));
    if (flags.moveCursor)
        turnCursorBy(float(degrees));
    if (flags.repeat) {
        m_moverStep = degrees;
        startRepeat(MoverMode::Turn, kFineRepeatMs, flags.moveCursor);
    }
    model.state.needsRepaint = true;
}

void CompassInteraction::extendBy(int pixels, StepFlags flags) {
    CompassState& state = model.state;
    const bool carry = flags.moveCursor && cursorFollowsExtension(pixels);
    if (carry) {
        m_cursorStart = cursorPos();
        setCursorPos(pointAlong(m_cursorStart, pixels, state.angle));
    }
    state.changeMeasurement(float(pixels));
    if (flags.repeat) {
        m_moverStep = pixels;
        m_moverTotal = pixels;
        startRepeat(MoverMode::Extend, kFineRepeatMs, carry);
    }
    state.needsRepaint = true;
}

void CompassInteraction::moveAlongBeam(int pixels, StepFlags flags) {
    CompassState& state = model.state;
    if (flags.moveCursor) {
        m_cursorStart = cursorPos();
        setCursorPos(pointAlong(m_cursorStart, pixels, state.angle));
    }
    const QPoint origin(state.posX, state.posY);
    const QPoint pos = pointAlong(origin, pixels, state.angle);
    state.posX = pos.x();
    state.posY = pos.y();
    if (flags.repeat) {
        m_moverMoveStep = pixels;
        m_moverTotal = pixels;
        m_moverOrigin = origin;
        startRepeat(MoverMode::AlongBeam, kFineRepeatMs, flags.moveCursor);
    }
    state.needsRepaint = true;
}

void CompassInteraction::moveBy(int pixels, bool horizontal, StepFlags flags) {
    CompassState& state = model.state;
    const QPoint delta = horizontal ? QPoint(pixels, 0) : QPoint(0, pixels);
    if (flags.moveCursor)
        setCursorPos(cursorPos() + delta);
    state.posX += delta.x();
    state.posY += delta.y();
    if (flags.repeat) {
        m_moverMoveStep = pixels;
        m_moverHorizontal = horizontal;
        startRepeat(MoverMode::Move, kFineRepeatMs, flags.moveCursor);
    }
    state.needsRepaint = true;
}

void CompassInteraction::startRepeat(MoverMode mode, int tag, bool carriesCursor) {
    // The press counts as the last step. The first tick, 400 ms later, is past
    // every shortest time and steps; a time left from an earlier repeat could
    // lie more than 2^31 ms back and read as a future one.
    m_moverMode = mode;
    m_moverTag = tag;
    m_moverCarriesCursor = carriesCursor;
    m_moverLastTick = m_clock.nowMs();
    m_moverInterval = kRepeatDelayMs;
    m_timer.start(kRepeatDelayMs);
}

void CompassInteraction::moverTick() {
    if (m_moverInterval == 0)
        return; // a tick already queued when the repeat stopped
    if (m_moverInterval != kRepeatTickMs) {
        m_moverInterval = kRepeatTickMs;
        m_timer.start(kRepeatTickMs);
    }
    const std::uint32_t now = m_clock.nowMs();
    // Signed, so that the clock wrapping around 2^32 ms does not stall the repeat.
    if (static_cast<std::int32_t>(now - m_moverLastTick) <= m_moverTag)
        return;
    m_moverLastTick = now;
    step();
    model.state.needsRepaint = true;
}

void CompassInteraction::step() {
    CompassState& state = model.state;
    switch (m_moverMode) {
    case MoverMode::AlongBeam: {
        m_moverTotal += m_moverMoveStep;
        const QPoint pos = pointAlong(m_moverOrigin, m_moverTotal, state.angle);
        state.posX = pos.x();
        state.posY = pos.y();
        if (m_moverCarriesCursor)
            setCursorPos(pointAlong(m_cursorStart, m_moverTotal, state.angle));
        break;
    }
    case MoverMode::Extend:
        state.changeMeasurement(float(m_moverStep));
        m_moverTotal += m_moverStep;
        if (m_moverCarriesCursor && cursorFollowsExtension(m_moverStep))
            setCursorPos(pointAlong(m_cursorStart, m_moverTotal, state.angle));
        break;
    case MoverMode::Move: {
        const QPoint delta =
            m_moverHorizontal ? QPoint(m_moverMoveStep, 0) : QPoint(0, m_moverMoveStep);
        state.posX += delta.x();
        state.posY += delta.y();
        if (m_moverCarriesCursor)
            setCursorPos(cursorPos() + delta);
        break;
    }
    case MoverMode::Turn:
        state.turnBy(float(m_moverStep));
        m_cursorAngle = CompassState::wrapAngle(m_cursorAngle + float(m_moverStep));
        if (m_moverCarriesCursor)
            setCursorPos(pointAlong(pivotPoint(), m_cursorRadius, m_cursorAngle));
        break;
    default:
        break;
    }
}

bool CompassInteraction::cursorFollowsExtension(int step) const {
    // The cursor follows only a control that moves with the slide; shortening
    // a closed compass moves nothing.
    if (step >= 1)
        return !m_layers.anchoredToBase(SkinControl::Out);
    return step < 0 && model.state.measurement > 0 && !m_layers.anchoredToBase(SkinControl::In);
}

// ---------------------------------------------------------------------------
// The mouse cursor. The screen's cursor position is in screen pixels; the
// compass works in desktop pixels, which start at the virtual desktop's corner.

QPoint CompassInteraction::cursorPos() const {
    return screenToDesktop(m_cursor.position(), m_actions.virtualOrigin());
}

void CompassInteraction::setCursorPos(QPoint windowPos) {
    m_cursor.setPosition(desktopToScreen(windowPos, m_actions.virtualOrigin()));
}

void CompassInteraction::turnCursorBy(float degrees) {
    m_cursorStart = cursorPos();
    const QPointF pivot = pivotPoint();
    m_cursorAngle = float(pointAngle(m_cursorStart, pivot) * kDegrees) + degrees;
    m_cursorRadius =
        float(std::hypot(m_cursorStart.x() - pivot.x(), m_cursorStart.y() - pivot.y()));
    setCursorPos(pointAlong(pivot, m_cursorRadius, m_cursorAngle));
}

} // namespace orvanta
