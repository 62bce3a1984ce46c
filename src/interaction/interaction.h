#pragma once
// What the mouse and the keyboard do to the compass. The main window translates
// its Qt events into these calls (window coordinates, the modifiers of the
// event) and does what the flags ask afterwards: a full render when
// model.state.FNeedsRepaint is set, only a re-push of the window image when
// FNeedsWindowUpdate is set (a control's look was shown or hidden).

#include "interaction/controls.h"
#include "interaction/ports.h"
#include "model/compassmodel.h"

#include <QPoint>
#include <QString>
#include <Qt>
#include <cstdint>
#include <optional>

namespace orvanta {

struct InteractionPorts {
    ICompassLayers& layers;
    IWindowActions& window;
    ICursor& cursor;
    IClock& clock;
    IRepeatTimer& timer;
};

// How a stepping action was started. Keys step once; a held skin control repeats
// and carries the mouse cursor along so that it stays over the control.
struct StepFlags {
    bool repeat = false;
    bool moveCursor = false;
};
inline constexpr StepFlags kFromKey{false, false};
inline constexpr StepFlags kFromControl{true, true};

// What a drag or a press is working on.
enum DragMode : int { dmNothing = -1, dmBase = 0, dmSlide = 1, dmControl = 2 };

// What a held control repeats.
enum MoverMode : int { mmAlongBeam = 0, mmExtend = 1, mmMove = 2, mmTurn = 3 };

class CompassInteraction {
public:
    CompassInteraction(CompassModel& model, InteractionPorts ports);

    // The mouse over the compass, in window coordinates. Only the left button
    // presses controls and drags; any button's release ends a drag or a repeat,
    // but only the release of the left press clicks a control. A double-click's
    // second press is a MouseDown too, followed by DoubleClick.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint p);
    void MouseMove(Qt::KeyboardModifiers modifiers, QPoint p);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint p);
    // A double-click on the body flips the beam between right and down.
    void DoubleClick();

    // A key went down (`key` is a Qt::Key). Typed characters go to the model's
    // KeyPress afterwards; this handles the bindings only.
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // A key went up; `stillHeld` are the modifiers held after it.
    void KeyUp(Qt::KeyboardModifiers stillHeld);

    // The repeat timer fired.
    void MoverTick();

    // Hit regions. Each returns whether the control took the point.
    bool PressControl(SkinControl key, bool modifier, QPoint p);
    bool HoverControl(SkinControl key, bool modifier, bool alreadyFound, const QString& tooltip,
                      QPoint p);
    // Chooses the cursor for the part under `p`; `held` while the button is down.
    void UpdateCursor(Qt::KeyboardModifiers modifiers, QPoint p, bool held);

    // The stepping actions.
    void TurnToNext45(bool forward, StepFlags flags);
    void TurnBy(int degrees, StepFlags flags);
    void ExtendBy(int pixels, StepFlags flags);
    void MoveAlongBeam(int pixels, StepFlags flags);
    void MoveBy(int pixels, bool horizontal, StepFlags flags);

    // The menu's and the keys' toggles; at most one lock stays on. Each saves.
    void ToggleStickyAngle();
    void ToggleLockAngle();
    void ToggleLockMeasurement();

    // The pivot point in window coordinates.
    [[nodiscard]] QPointF PivotPoint() const;

    CompassModel& model;

    int FCursor = cursors::Hand; // the cursor shown over the compass
    int FDragMode = dmNothing;
    bool FMouseDown = false;
    bool FJustReleased = false; // keeps the pointer for one move after a release
    bool FNeedsWindowUpdate = false;
    QString FHint;                    // the hint of the compass window
    bool FShowHint = false;           // whether that hint is displayed
    QString FLastHint;                // the hint last handed to the window
    QPoint FLast;                     // the previous mouse point
    QPoint FDown;                     // the mouse-down point
    QPoint FDownPos;                  // the compass position at mouse-down
    std::optional<float> FDragSpread; // the exact spread of the slide drag under way

    // The repeat of a held control.
    int FMoverMode = mmAlongBeam;
    int FMoverStep = 0;     // degrees (turn) or pixels (extend) per step
    int FMoverMoveStep = 0; // pixels per step of the moves
    bool FMoverHorizontal = false;
    int FMoverTotal = 0;              // steps summed since the repeat began
    QPoint FMoverOrigin;              // the compass position when a move along the beam began
    bool FMoverCarriesCursor = false; // the held control's steps move the cursor too
    QPoint FCursorStart;              // the cursor (window pixels) when the action began
    float FCursorRadius = 0;          // the cursor about the pivot, for turns
    float FCursorAngle = 0;           // degrees
    std::uint32_t FMoverLastTick = 0;
    int FMoverTag = 0;      // the shortest time between two steps, ms
    int FMoverInterval = 0; // the timer's interval, 0 while stopped

private:
    void HoverControls(Qt::KeyboardModifiers modifiers, QPoint p);
    void DragTo(Qt::KeyboardModifiers modifiers, QPoint p);
    void EndDrag(Qt::KeyboardModifiers modifiers);
    void ActOnRelease(QPoint p);
    void RunStepping(SkinControl key, int step);
    void HandleShiftKeys(int key, int step);
    void HandleArrows(int key, int step);
    void HandleCommandKeys(int key, Qt::KeyboardModifiers modifiers);
    void Step();
    void StartRepeat(int mode, int tag, bool carriesCursor);
    void ShowCursor();
    void SetLayerVisible(SkinControl key, ControlLayer layer, bool visible);
    void PublishHint(QPoint p);
    [[nodiscard]] bool ReleasedOn(SkinControl key, QPoint p) const;
    [[nodiscard]] bool CursorFollowsExtension(int step) const;
    [[nodiscard]] QPoint CursorPos() const;
    void SetCursorPos(QPoint windowPos);
    void TurnCursorBy(float degrees);

    ICompassLayers& m_layers;
    IWindowActions& m_window;
    ICursor& m_cursor;
    IClock& m_clock;
    IRepeatTimer& m_timer;
    bool m_hintShown = false; // what the window displays now
};

} // namespace orvanta
