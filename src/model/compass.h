#pragma once
// The compass state: where the pivot is, which way the beam points, how far the
// measuring point is from the pivot, and what the readout shows. Input handlers,
// menu commands and automation change it and raise FNeedsRepaint; the renderer
// normalises it, draws it and stores it back into the options.

#include "model/desktop.h"
#include "model/options.h"

#include <QString>
#include <cstdint>

namespace orvanta {

class TCompass {
public:
    // Start-up: places the compass on the very first run (and saves the options
    // at once), copies the stored position, angle and spread, and derives the
    // longest spread from the desktop.
    void Initialise(TDervikOptions& options, const DesktopGeometry& desktop);

    // The one entry through which drags, keys, typed radii, unit changes and
    // automation change the spread by an amount. No clamping here: the next
    // render normalises. Before the images are composed the change is silent.
    void ChangeMeasurement(float delta);

    // Brings an angle into (-90, 270] by removing at most one turn each way.
    [[nodiscard]] static float WrapAngle(float a);

    // The first step of every render: the spread becomes a whole number in
    // 0..FMaxLength and FDisplayAngle the angle to draw. `ctrlDown` is the Ctrl
    // key at render time; it inverts the sticky-angle setting during a drag.
    void NormalizeCompass(const TDervikOptions& options, bool ctrlDown);

    // The last step of every render: clears the redraw request and copies the
    // position, the (unsnapped) angle and the spread into the options.
    void StoreCompassState(TDervikOptions& options);

    void MoveTo(std::int32_t x, std::int32_t y);
    void SetAngle(float angle);              // wraps, then redraws
    void TurnBy(float degrees);              // wraps; the caller raises the redraw
    void SetMeasurementPixels(float pixels); // typing goes on
    // Double-click: a beam pointing exactly right turns to point down, any other
    // turns back to point right.
    void ToggleRightAngle();

    std::int32_t FPosX = 0;
    std::int32_t FPosY = 0;
    float FAngle = 0.0f;
    float FMeasurement = 0.0f;
    std::int32_t FMaxLength = 0;
    float FDisplayAngle = 0.0f;
    float FExternalZoom = 1.0f;
    bool FTyping = false;
    QString FDisplayText;
    float FDisplayValue = 0.0f;
    bool FNeedsRepaint = false;
    bool FDragging = false; // a drag of the compass body is in progress
    bool FComposed = false; // the compass images have been composed at least once
};

// The angle drawn while a drag snaps: within 5 degrees (exclusive) of a multiple
// of 45 it is that multiple (358 gives 360), otherwise `angle` itself.
[[nodiscard]] float SnappedAngle(float angle);

// Longest allowed spread: the larger of the stored lower bound and the virtual
// desktop's diagonal (rounded, halves to even) plus 200.
[[nodiscard]] std::int32_t MaxSpreadFor(std::int32_t storedMaxLength, const QRect& virtualRect);

// The menu toggles of the drag locks and sticky angles. At most one lock is on:
// switching one on switches the other off. Each saves the options file.
void SetStickyAngle(TDervikOptions& options, bool on);
void SetLockAngle(TDervikOptions& options, bool on);
void SetLockMeasurement(TDervikOptions& options, bool on);

} // namespace orvanta
