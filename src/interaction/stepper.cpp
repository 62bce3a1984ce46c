// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/stepper.h"

#include "interaction/draggeometry.h"
#include "interaction/stepping.h"
#include "model/numbers.h"

#include <cmath>
#include <numbers>

namespace orvanta {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

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

} // namespace

Stepper::Stepper(CompassModel& model, HitLayers& layers, CompassActions& actions,
                 MousePointer& cursor, Clock& clock, RepeatTimer& timer)
    : m_model(model), m_layers(layers), m_actions(actions), m_cursor(cursor), m_clock(clock),
      m_timer(timer) {}

QPointF Stepper::pivot() const {
    return QPointF(m_model.state.posX, m_model.state.posY) + m_layers.basePivot();
}

void Stepper::stop() {
    m_timer.stop();
    m_moverInterval = 0;
}

// The actions write the repeat's fields only when they start a repeat: a key
// pressed while a control is held must not change what the held control does.

void Stepper::turnToNext45(bool forward, StepFlags flags) {
    CompassState& state = m_model.state;
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

void Stepper::turnBy(int degrees, StepFlags flags) {
    m_model.state.turnBy(float(degrees));
    if (flags.moveCursor)
        turnCursorBy(float(degrees));
    if (flags.repeat) {
        m_moverStep = degrees;
        startRepeat(MoverMode::Turn, kFineRepeatMs, flags.moveCursor);
    }
    m_model.state.needsRepaint = true;
}

void Stepper::extendBy(int pixels, StepFlags flags) {
    CompassState& state = m_model.state;
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

void Stepper::moveAlongBeam(int pixels, StepFlags flags) {
    CompassState& state = m_model.state;
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

void Stepper::moveBy(int pixels, bool horizontal, StepFlags flags) {
    CompassState& state = m_model.state;
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

void Stepper::startRepeat(MoverMode mode, int tag, bool carriesCursor) {
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

void Stepper::tick() {
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
    m_model.state.needsRepaint = true;
}

void Stepper::step() {
    CompassState& state = m_model.state;
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
            setCursorPos(pointAlong(pivot(), m_cursorRadius, m_cursorAngle));
        break;
    default:
        break;
    }
}

bool Stepper::cursorFollowsExtension(int step) const {
    // The cursor follows only a control that moves with the slide; shortening
    // a closed compass moves nothing.
    if (step >= 1)
        return !m_layers.anchoredToBase(SkinControl::Out);
    return step < 0 && m_model.state.measurement > 0 && !m_layers.anchoredToBase(SkinControl::In);
}

// ---------------------------------------------------------------------------
// The mouse cursor. The screen's cursor position is in screen pixels; the
// compass works in window pixels, which start at the virtual desktop's corner.

QPoint Stepper::cursorPos() const {
    return screenToDesktop(m_cursor.position(), m_actions.virtualOrigin());
}

void Stepper::setCursorPos(QPoint desktopPos) {
    m_cursor.setPosition(desktopToScreen(desktopPos, m_actions.virtualOrigin()));
}

void Stepper::turnCursorBy(float degrees) {
    m_cursorStart = cursorPos();
    const QPointF centre = pivot();
    m_cursorAngle = float(pointAngle(m_cursorStart, centre) * kDegrees) + degrees;
    m_cursorRadius =
        float(std::hypot(m_cursorStart.x() - centre.x(), m_cursorStart.y() - centre.y()));
    setCursorPos(pointAlong(centre, m_cursorRadius, m_cursorAngle));
}

} // namespace orvanta
