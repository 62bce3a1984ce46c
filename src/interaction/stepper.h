// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The stepping actions (turn, extend, move along the beam or sideways) and the
// repeat of a held control: a key steps once; a held skin control steps again
// on the repeat timer and carries the mouse cursor along, so that the cursor
// stays over the control as it moves with the compass.

#include "interaction/ports.h"
#include "model/compassmodel.h"

#include <QPoint>
#include <QPointF>
#include <cstdint>

namespace orvanta {

// How a stepping action was started. Keys step once; a held skin control repeats
// and carries the mouse cursor along so that it stays over the control.
struct StepFlags {
    bool repeat = false;
    bool moveCursor = false;
};
inline constexpr StepFlags kFromKey{false, false};
inline constexpr StepFlags kFromControl{true, true};

// What a held control repeats.
enum class MoverMode { AlongBeam, Extend, Move, Turn };

class Stepper {
public:
    Stepper(CompassModel& model, HitLayers& layers, CompassActions& actions, MousePointer& cursor,
            Clock& clock, RepeatTimer& timer);

    void turnToNext45(bool forward, StepFlags flags);
    void turnBy(int degrees, StepFlags flags);
    void extendBy(int pixels, StepFlags flags);
    void moveAlongBeam(int pixels, StepFlags flags);
    void moveBy(int pixels, bool horizontal, StepFlags flags);

    // The repeat timer fired: steps when the action's shortest time has passed.
    void tick();
    // The held control was let go.
    void stop();

private:
    void step();
    void startRepeat(MoverMode mode, int tag, bool carriesCursor);
    [[nodiscard]] bool cursorFollowsExtension(int step) const;
    [[nodiscard]] QPointF pivot() const;
    [[nodiscard]] QPoint cursorPos() const;
    void setCursorPos(QPoint desktopPos);
    void turnCursorBy(float degrees);

    CompassModel& m_model;
    HitLayers& m_layers;
    CompassActions& m_actions;
    MousePointer& m_cursor;
    Clock& m_clock;
    RepeatTimer& m_timer;

    MoverMode m_moverMode = MoverMode::AlongBeam;
    int m_moverStep = 0;     // degrees (turn) or pixels (extend) per step
    int m_moverMoveStep = 0; // pixels per step of the moves
    bool m_moverHorizontal = false;
    int m_moverTotal = 0;              // steps summed since the repeat began
    QPoint m_moverOrigin;              // the compass position when a move along the beam began
    bool m_moverCarriesCursor = false; // the held control's steps move the cursor too
    QPoint m_cursorStart;              // the cursor (desktop pixels) when the action began
    float m_cursorRadius = 0;          // the cursor about the pivot, for turns
    float m_cursorAngle = 0;           // degrees
    std::uint32_t m_moverLastTick = 0;
    int m_moverTag = 0;      // the shortest time between two steps, ms
    int m_moverInterval = 0; // the timer's interval, 0 while stopped
};

} // namespace orvanta
