#include "interaction/interaction.h"

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
    : model(model), m_layers(ports.layers), m_window(ports.window), m_cursor(ports.cursor),
      m_clock(ports.clock), m_timer(ports.timer) {}

QPointF CompassInteraction::PivotPoint() const {
    return QPointF(model.state.FPosX, model.state.FPosY) + m_layers.BasePivot();
}

// ---------------------------------------------------------------------------
// Mouse

void CompassInteraction::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                   QPoint p) {
    if (button != Qt::LeftButton)
        return;
    TCompass& state = model.state;
    FMouseDown = true;
    FDragMode = dmNothing;
    state.FDragging = false;
    FDown = p;
    FDownPos = {state.FPosX, state.FPosY};
    FLast = p;

    const bool modifier = anyModifier(modifiers);
    const SkinControl currentSelector = SelectorOf(model.options.MeasureType);
    for (const SkinControl key : AllControls()) {
        // The selectors lie on one another; only the current one, on top, is
        // the one the user sees and can press.
        if (IsMeasureSelector(key) && key != currentSelector)
            continue;
        const ControlInfo& info = InfoOf(key);
        const bool keyModifier = info.seesModifier && modifier;
        if (PressControl(key, keyModifier, p)) {
            if (info.steps)
                RunStepping(key, keyModifier ? kBigStep : kSmallStep);
            return;
        }
    }

    state.FDragging = true;
    FDragSpread.reset();
    if (m_layers.HitsSlide(p))
        FDragMode = dmSlide;
    else if (m_layers.HitsBase(p) || m_layers.HitsShape(p))
        FDragMode = dmBase;
    UpdateCursor(modifiers, p, true);
}

void CompassInteraction::MouseMove(Qt::KeyboardModifiers modifiers, QPoint p) {
    if (model.state.FDragging)
        DragTo(modifiers, p);
    else
        HoverControls(modifiers, p);
    FLast = p;
    ShowCursor();
    m_window.ApplyStayOnTop();
}

void CompassInteraction::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                 QPoint p) {
    // Only the release of our own left press acts: a pressed look left over
    // from an earlier click must not turn a stray release into a click.
    const bool endsPress = FMouseDown && button == Qt::LeftButton;
    FMouseDown = false;
    m_timer.Stop();
    FMoverInterval = 0;
    EndDrag(modifiers);

    if (FCursor == cursors::Down || FCursor == cursors::DownPlus) {
        FCursor = FCursor == cursors::Down ? cursors::Pointer : cursors::PointerPlus;
        FJustReleased = true;
    } else {
        // A drag's "grab" cursor returns to its "hand" now, not at the next move.
        FCursor = ReleasedDragCursor(FCursor);
    }
    ShowCursor();

    if (endsPress)
        ActOnRelease(p);
    model.state.FNeedsRepaint = true;
}

void CompassInteraction::DoubleClick() {
    if (FDragMode != dmControl)
        model.state.ToggleRightAngle();
}

void CompassInteraction::ActOnRelease(QPoint p) {
    if (ReleasedOn(SkinControl::Close, p))
        m_window.RequestHide();
    if (ReleasedOn(SkinControl::ColorBase, p))
        m_window.NextBaseColor();
    if (ReleasedOn(SkinControl::Menu, p))
        m_window.PopupMenu(WindowToScreen(p, m_window.VirtualOrigin()));

    // Only the selector on top of the other two acts: it is the one shown.
    for (const SkinControl key : kMeasureSelectors) {
        if (!ReleasedOn(key, p))
            continue;
        bool onTop = true;
        for (const SkinControl other : kMeasureSelectors) {
            if (other != key && m_layers.ControlExists(other) &&
                m_layers.StackIndex(other) > m_layers.StackIndex(key))
                onTop = false;
        }
        if (!onTop)
            continue;
        // Each selector shows the current type; a click moves on to the next.
        m_window.SetMeasureType((MeasureTypeOf(key) + 1) % int(kMeasureSelectors.size()));
        return;
    }
}

bool CompassInteraction::ReleasedOn(SkinControl key, QPoint p) const {
    return m_layers.ControlExists(key) && m_layers.HitsControl(key, p) &&
           m_layers.IsVisible(key, ControlLayer::Pressed);
}

// ---------------------------------------------------------------------------
// Hover, press and cursors

bool CompassInteraction::PressControl(SkinControl key, bool modifier, QPoint p) {
    // A pressed look left from the previous release (the mouse has not moved
    // since) does not refuse the press: a second click in the same place must
    // press the control again rather than grab the body beneath it.
    if (!m_layers.ControlExists(key) || !m_layers.HitsControl(key, p))
        return false;
    SetLayerVisible(key, ControlLayer::Pressed, true);
    SetLayerVisible(key, ControlLayer::Hover, false);
    FCursor = modifier ? cursors::DownPlus : cursors::Down;
    ShowCursor();
    FDragMode = dmControl;
    return true;
}

bool CompassInteraction::HoverControl(SkinControl key, bool modifier, bool alreadyFound,
                                      const QString& tooltip, QPoint p) {
    if (!m_layers.ControlExists(key))
        return false;
    const bool hit = m_layers.HitsControl(key, p);
    const auto visible = [&](ControlLayer layer) { return m_layers.IsVisible(key, layer); };

    if (FMouseDown && hit) {
        SetLayerVisible(key, ControlLayer::Hover, false);
        SetLayerVisible(key, ControlLayer::Pressed, true);
    } else if (!FMouseDown) {
        SetLayerVisible(key, ControlLayer::Pressed, false);
    }
    // A control beneath one that already took the point neither lights up nor
    // puts its tooltip over the other's highlight.
    if (!alreadyFound && !visible(ControlLayer::Hover) && !visible(ControlLayer::Pressed) && hit) {
        SetLayerVisible(key, ControlLayer::Hover, true);
        if (model.options.Tooltips) {
            FHint = tooltip;
            FShowHint = true;
        }
    }
    if (alreadyFound || (visible(ControlLayer::Hover) && !hit))
        SetLayerVisible(key, ControlLayer::Hover, false);
    if (alreadyFound || (visible(ControlLayer::Pressed) && !hit))
        SetLayerVisible(key, ControlLayer::Pressed, false);

    if (hit) {
        FDragMode = dmControl;
        if (FMouseDown)
            FCursor = modifier ? cursors::DownPlus : cursors::Down;
        else
            FCursor = modifier ? cursors::PointerPlus : cursors::Pointer;
    }
    ShowCursor();
    return hit;
}

void CompassInteraction::HoverControls(Qt::KeyboardModifiers modifiers, QPoint p) {
    const bool modifier = anyModifier(modifiers);
    const SkinControl currentSelector = SelectorOf(model.options.MeasureType);
    bool found = false;
    for (const SkinControl key : AllControls()) {
        if (IsMeasureSelector(key) && key != currentSelector) {
            // A selector that was pressed and then replaced by the next one is
            // no longer hovered; its looks must not stay behind.
            if (m_layers.ControlExists(key)) {
                SetLayerVisible(key, ControlLayer::Pressed, false);
                SetLayerVisible(key, ControlLayer::Hover, false);
            }
            continue;
        }
        const bool keyModifier = InfoOf(key).seesModifier && modifier;
        if (HoverControl(key, keyModifier, found, ControlTooltip(key, model.options), p))
            found = true;
    }

    if (!FJustReleased && !found) {
        FDragMode = dmNothing;
        UpdateCursor(modifiers, p, false);
        FShowHint = false;
    }
    FJustReleased = false;

    const std::optional<QRect> readout = m_layers.ReadoutBounds();
    if (model.options.Tooltips && readout && readout->contains(p)) {
        FHint = ReadoutHint();
        FShowHint = true;
    }
    PublishHint(p);
}

void CompassInteraction::PublishHint(QPoint p) {
    // Switching tooltips off hides a hint that is already up, too.
    const bool show = FShowHint && model.options.Tooltips && !FHint.isEmpty();
    const bool changed = FHint != FLastHint;
    if (changed)
        FLastHint = FHint;
    if (show && (changed || !m_hintShown))
        m_window.ShowHint(FHint, WindowToScreen(p, m_window.VirtualOrigin()));
    else if (!show && m_hintShown)
        m_window.HideHint();
    m_hintShown = show;
}

void CompassInteraction::UpdateCursor(Qt::KeyboardModifiers modifiers, QPoint p, bool held) {
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const bool lockAngle = model.options.LockAngle;
    const bool lockMeasurement = model.options.LockMeasurement;
    const bool dragging = model.state.FDragging;

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
        if ((FDragMode == dmNothing || FDragMode == dmSlide) &&
            ((dragging && FDragMode == dmSlide) || m_layers.HitsSlide(p)))
            FCursor = slideCursor(cursors::GrabRotate, cursors::Grab, cursors::GrabExtend);
        else if ((FDragMode == dmNothing || FDragMode == dmBase) &&
                 ((dragging && FDragMode == dmBase) || m_layers.HitsBase(p)))
            FCursor = baseCursor(cursors::GrabRelative, cursors::GrabMove, cursors::Grab);
    } else if (FDragMode != dmControl) {
        if (m_layers.HitsSlide(p))
            FCursor = slideCursor(cursors::HandRotate, cursors::Hand, cursors::HandExtend);
        else if (m_layers.HitsBase(p))
            FCursor = baseCursor(cursors::HandRelative, cursors::HandMove, cursors::Hand);
    }
    ShowCursor();
}

void CompassInteraction::ShowCursor() {
    m_window.SetCursorShape(FCursor);
}

void CompassInteraction::SetLayerVisible(SkinControl key, ControlLayer layer, bool visible) {
    // Only a real change needs the window pushed again.
    if (m_layers.IsVisible(key, layer) == visible)
        return;
    m_layers.SetVisible(key, layer, visible);
    FNeedsWindowUpdate = true;
}

// ---------------------------------------------------------------------------
// Dragging

void CompassInteraction::DragTo(Qt::KeyboardModifiers modifiers, QPoint p) {
    TCompass& state = model.state;
    state.FTyping = false; // the readout returns to the live measurement
    FShowHint = false;
    PublishHint(p);
    if (p == FLast)
        return;
    if (FDragMode != dmBase && FDragMode != dmSlide)
        return;
    if (FCursor != cursors::Down && FCursor != cursors::DownPlus)
        UpdateCursor(modifiers, p, true);

    const bool shift = modifiers & Qt::ShiftModifier;
    const bool alt = modifiers & Qt::AltModifier;
    if (FDragMode == dmBase) {
        if (!shift && !alt) {
            state.FPosX += p.x() - FLast.x();
            state.FPosY += p.y() - FLast.y();
        } else {
            const QPoint pos = ConstrainedMove(FDown, FDownPos, p,
                                               alt ? std::optional(state.FAngle) : std::nullopt);
            state.FPosX = pos.x();
            state.FPosY = pos.y();
        }
        state.FNeedsRepaint = true;
        return;
    }

    // Each render rounds the spread to whole pixels. Fed back into the next step,
    // that rounding would let the slide creep away from its grab point over a long
    // drag, so the drag goes on from its own exact spread while the shown one is
    // that spread rounded; a spread changed by anything else (a key, the length
    // limit) is taken as it is.
    const bool exactHolds = FDragSpread && roundHalfEven(*FDragSpread) == state.FMeasurement;
    SlideGrip grip{PivotPoint(),
                   p,
                   FLast,
                   exactHolds ? *FDragSpread : state.FMeasurement,
                   state.FAngle,
                   model.options.LockMeasurement,
                   model.options.LockAngle};
    if (alt) {
        grip.lockMeasurement = true; // turn only
        grip.lockAngle = false;
    } else if (shift) {
        grip.lockMeasurement = false; // extend only
        grip.lockAngle = true;
    }
    const SlidePose pose = SlideDrag(grip);
    state.FAngle = pose.angle;
    state.FMeasurement = pose.measurement;
    FDragSpread = pose.measurement;
    if (state.FComposed)
        state.FNeedsRepaint = true;
}

void CompassInteraction::EndDrag(Qt::KeyboardModifiers modifiers) {
    TCompass& state = model.state;
    if (!state.FDragging)
        return;
    state.FDragging = false;
    // The snap is taken from the angle at release, with the rule the renderer
    // draws by, so a release that comes before the last move was drawn still
    // keeps that move.
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (model.options.StickyAngle != ctrl)
        state.FAngle = SnappedAngle(state.FAngle);
}

// ---------------------------------------------------------------------------
// Keyboard

void CompassInteraction::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    UpdateCursor(modifiers, FLast, model.state.FDragging);
    int step = kSmallStep;
    if (modifiers & Qt::ControlModifier) {
        if (key == Qt::Key_C)
            m_window.SetClipboardText(model.CopyText());
        else if (key == Qt::Key_V)
            model.Paste(m_window.ClipboardText());
        else
            step = kBigStep;
    }
    if (modifiers & Qt::ShiftModifier)
        HandleShiftKeys(key, step);
    else
        HandleArrows(key, step);
    HandleCommandKeys(key, modifiers);
    model.state.FNeedsRepaint = true;
}

void CompassInteraction::HandleShiftKeys(int key, int step) {
    if (const std::optional<Arrow> arrow = arrowOf(key)) {
        // The arrow pointing the beam's way lengthens it. The beam is read in
        // its canonical range: a snapped 360 or a 315 from L points where 0 and
        // -45 do.
        if (const int sign = ArrowExtension(*arrow, model.state.FAngle))
            ExtendBy(sign * step, kFromKey);
    } else if (isComma(key)) {
        TurnBy(-step, kFromKey);
    } else if (isPeriod(key)) {
        TurnBy(step, kFromKey);
    }
}

void CompassInteraction::HandleArrows(int key, int step) {
    switch (key) {
    case Qt::Key_Left:
        MoveBy(-step, true, kFromKey);
        break;
    case Qt::Key_Right:
        MoveBy(step, true, kFromKey);
        break;
    case Qt::Key_Up:
        MoveBy(-step, false, kFromKey);
        break;
    case Qt::Key_Down:
        MoveBy(step, false, kFromKey);
        break;
    default:
        break;
    }
}

void CompassInteraction::HandleCommandKeys(int key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
    case Qt::Key_R:
        m_window.ReloadSkin();
        break;
    case Qt::Key_C:
        if (!(modifiers & Qt::ControlModifier))
            m_window.NextBaseColor();
        break;
    case Qt::Key_F:
        TurnToNext45(true, kFromKey);
        break;
    case Qt::Key_L:
        TurnToNext45(false, kFromKey);
        break;
    case Qt::Key_S:
        ToggleStickyAngle();
        break;
    case Qt::Key_A:
        ToggleLockAngle();
        break;
    case Qt::Key_M:
        ToggleLockMeasurement();
        break;
    case Qt::Key_Q:
        m_window.Close();
        break;
    case Qt::Key_H:
        // Without a tray to come back from, hiding would lose the compass.
        if (HidesToTray(model.options))
            m_window.RequestHide();
        break;
    case Qt::Key_N:
        m_window.StartNewInstance();
        break;
    case Qt::Key_F1:
        m_window.ShowHelp();
        break;
    default:
        break;
    }
}

void CompassInteraction::KeyUp(Qt::KeyboardModifiers stillHeld) {
    const bool modifier = anyModifier(stillHeld);
    if (!modifier && FCursor == cursors::PointerPlus)
        FCursor = cursors::Pointer;
    else if (modifier && FCursor == cursors::Pointer)
        FCursor = cursors::PointerPlus;
    UpdateCursor(stillHeld, FLast, model.state.FDragging);
}

void CompassInteraction::ToggleStickyAngle() {
    model.SetStickyAngle(!model.options.StickyAngle);
    m_window.OptionsChanged();
}

void CompassInteraction::ToggleLockAngle() {
    model.SetLockAngle(!model.options.LockAngle);
    m_window.OptionsChanged();
}

void CompassInteraction::ToggleLockMeasurement() {
    model.SetLockMeasurement(!model.options.LockMeasurement);
    m_window.OptionsChanged();
}

// ---------------------------------------------------------------------------
// Stepping actions and their repeat

void CompassInteraction::RunStepping(SkinControl key, int step) {
    switch (key) {
    case SkinControl::Flip:
        TurnToNext45(true, kFromControl);
        break;
    case SkinControl::FlipMinus:
        TurnToNext45(false, kFromControl);
        break;
    case SkinControl::Angle:
        TurnBy(step, kFromControl);
        break;
    case SkinControl::AngleMinus:
        TurnBy(-step, kFromControl);
        break;
    case SkinControl::Left:
        MoveAlongBeam(-step, kFromControl);
        break;
    case SkinControl::Right:
        MoveAlongBeam(step, kFromControl);
        break;
    case SkinControl::In:
        ExtendBy(-step, kFromControl);
        break;
    case SkinControl::Out:
        ExtendBy(step, kFromControl);
        break;
    case SkinControl::MoveLeft:
        MoveBy(-step, true, kFromControl);
        break;
    case SkinControl::MoveUp:
        MoveBy(-step, false, kFromControl);
        break;
    case SkinControl::MoveRight:
        MoveBy(step, true, kFromControl);
        break;
    case SkinControl::MoveDown:
        MoveBy(step, false, kFromControl);
        break;
    default:
        break; // acts at release
    }
}

// The actions write the repeat's fields only when they start a repeat: a key
// pressed while a control is held must not change what the held control does.

void CompassInteraction::TurnToNext45(bool forward, StepFlags flags) {
    TCompass& state = model.state;
    const float target = NextMultipleOf45(state.FAngle, forward);
    if (flags.moveCursor)
        TurnCursorBy(float(roundHalfEven(target - state.FAngle)));
    if (flags.repeat) {
        FMoverStep = forward ? kQuarterTurn : -kQuarterTurn;
        StartRepeat(mmTurn, kQuarterTurnRepeatMs, flags.moveCursor);
    }
    state.FAngle = target;
    state.FNeedsRepaint = true;
}

void CompassInteraction::TurnBy(int degrees, StepFlags flags) {
    model.state.TurnBy(float(degrees));
    if (flags.moveCursor)
        TurnCursorBy(float(degrees));
    if (flags.repeat) {
        FMoverStep = degrees;
        StartRepeat(mmTurn, kFineRepeatMs, flags.moveCursor);
    }
    model.state.FNeedsRepaint = true;
}

void CompassInteraction::ExtendBy(int pixels, StepFlags flags) {
    TCompass& state = model.state;
    const bool carry = flags.moveCursor && CursorFollowsExtension(pixels);
    if (carry) {
        FCursorStart = CursorPos();
        SetCursorPos(PointAlong(FCursorStart, pixels, state.FAngle));
    }
    state.ChangeMeasurement(float(pixels));
    if (flags.repeat) {
        FMoverStep = pixels;
        FMoverTotal = pixels;
        StartRepeat(mmExtend, kFineRepeatMs, carry);
    }
    state.FNeedsRepaint = true;
}

void CompassInteraction::MoveAlongBeam(int pixels, StepFlags flags) {
    TCompass& state = model.state;
    if (flags.moveCursor) {
        FCursorStart = CursorPos();
        SetCursorPos(PointAlong(FCursorStart, pixels, state.FAngle));
    }
    const QPoint origin(state.FPosX, state.FPosY);
    const QPoint pos = PointAlong(origin, pixels, state.FAngle);
    state.FPosX = pos.x();
    state.FPosY = pos.y();
    if (flags.repeat) {
        FMoverMoveStep = pixels;
        FMoverTotal = pixels;
        FMoverOrigin = origin;
        StartRepeat(mmAlongBeam, kFineRepeatMs, flags.moveCursor);
    }
    state.FNeedsRepaint = true;
}

void CompassInteraction::MoveBy(int pixels, bool horizontal, StepFlags flags) {
    TCompass& state = model.state;
    const QPoint delta = horizontal ? QPoint(pixels, 0) : QPoint(0, pixels);
    if (flags.moveCursor)
        SetCursorPos(CursorPos() + delta);
    state.FPosX += delta.x();
    state.FPosY += delta.y();
    if (flags.repeat) {
        FMoverMoveStep = pixels;
        FMoverHorizontal = horizontal;
        StartRepeat(mmMove, kFineRepeatMs, flags.moveCursor);
    }
    state.FNeedsRepaint = true;
}

void CompassInteraction::StartRepeat(int mode, int tag, bool carriesCursor) {
    // The press counts as the last step. The first tick, 400 ms later, is past
    // every shortest time and steps; a time left from an earlier repeat could
    // lie more than 2^31 ms back and read as a future one.
    FMoverMode = mode;
    FMoverTag = tag;
    FMoverCarriesCursor = carriesCursor;
    FMoverLastTick = m_clock.NowMs();
    FMoverInterval = kRepeatDelayMs;
    m_timer.Start(kRepeatDelayMs);
}

void CompassInteraction::MoverTick() {
    if (FMoverInterval == 0)
        return; // a tick already queued when the repeat stopped
    if (FMoverInterval != kRepeatTickMs) {
        FMoverInterval = kRepeatTickMs;
        m_timer.Start(kRepeatTickMs);
    }
    const std::uint32_t now = m_clock.NowMs();
    // Signed, so that the clock wrapping around 2^32 ms does not stall the repeat.
    if (static_cast<std::int32_t>(now - FMoverLastTick) <= FMoverTag)
        return;
    FMoverLastTick = now;
    Step();
    model.state.FNeedsRepaint = true;
}

void CompassInteraction::Step() {
    TCompass& state = model.state;
    switch (FMoverMode) {
    case mmAlongBeam: {
        FMoverTotal += FMoverMoveStep;
        const QPoint pos = PointAlong(FMoverOrigin, FMoverTotal, state.FAngle);
        state.FPosX = pos.x();
        state.FPosY = pos.y();
        if (FMoverCarriesCursor)
            SetCursorPos(PointAlong(FCursorStart, FMoverTotal, state.FAngle));
        break;
    }
    case mmExtend:
        state.ChangeMeasurement(float(FMoverStep));
        FMoverTotal += FMoverStep;
        if (FMoverCarriesCursor && CursorFollowsExtension(FMoverStep))
            SetCursorPos(PointAlong(FCursorStart, FMoverTotal, state.FAngle));
        break;
    case mmMove: {
        const QPoint delta =
            FMoverHorizontal ? QPoint(FMoverMoveStep, 0) : QPoint(0, FMoverMoveStep);
        state.FPosX += delta.x();
        state.FPosY += delta.y();
        if (FMoverCarriesCursor)
            SetCursorPos(CursorPos() + delta);
        break;
    }
    case mmTurn:
        state.TurnBy(float(FMoverStep));
        FCursorAngle = TCompass::WrapAngle(FCursorAngle + float(FMoverStep));
        if (FMoverCarriesCursor)
            SetCursorPos(PointAlong(PivotPoint(), FCursorRadius, FCursorAngle));
        break;
    default:
        break;
    }
}

bool CompassInteraction::CursorFollowsExtension(int step) const {
    // The cursor follows only a control that moves with the slide; shortening
    // a closed compass moves nothing.
    if (step >= 1)
        return !m_layers.AnchoredToBase(SkinControl::Out);
    return step < 0 && model.state.FMeasurement > 0 && !m_layers.AnchoredToBase(SkinControl::In);
}

// ---------------------------------------------------------------------------
// The mouse cursor. The screen's cursor position is in screen pixels; the
// compass works in window pixels, which start at the virtual desktop's corner.

QPoint CompassInteraction::CursorPos() const {
    return ScreenToWindow(m_cursor.Position(), m_window.VirtualOrigin());
}

void CompassInteraction::SetCursorPos(QPoint windowPos) {
    m_cursor.SetPosition(WindowToScreen(windowPos, m_window.VirtualOrigin()));
}

void CompassInteraction::TurnCursorBy(float degrees) {
    FCursorStart = CursorPos();
    const QPointF pivot = PivotPoint();
    FCursorAngle = float(PointAngle(FCursorStart, pivot) * kDegrees) + degrees;
    FCursorRadius = float(std::hypot(FCursorStart.x() - pivot.x(), FCursorStart.y() - pivot.y()));
    SetCursorPos(PointAlong(pivot, FCursorRadius, FCursorAngle));
}

} // namespace orvanta
