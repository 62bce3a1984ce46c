// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The compass state: where the pivot is, which way the beam points, how far the
// measuring point is from the pivot, and what the readout shows. Input handlers,
// menu commands and automation change it and raise needsRepaint; the renderer
// normalises it, draws it and stores it back into the options.

#include "model/desktop.h"
#include "model/settings.h"

#include <QString>
#include <cstdint>

namespace orvanta {

class CompassState {
public:
    // Start-up: places the compass on the very first run (and saves the options
    // at once), copies the stored position, angle and spread, and derives the
    // longest spread from the desktop.
    void initialise(Settings& options, const DesktopGeometry& desktop);

    // The one entry through which drags, keys, typed radii, unit changes and
    // automation change the spread by an amount. No clamping here: the next
    // render normalises. Before the images are composed the change is silent.
    void changeMeasurement(float delta);

    // Brings an angle into (-90, 270] by removing at most one turn each way.
    [[nodiscard]] static float wrapAngle(float a);

    // The first step of every render: the spread becomes a whole number in
    // 0..maxLength and displayAngle the angle to draw. `ctrlDown` is the Ctrl
    // key at render time; it inverts the sticky-angle setting during a drag.
    void normalizeCompass(const Settings& options, bool ctrlDown);

    // The last step of every render: clears the redraw request and copies the
    // position, the (unsnapped) angle and the spread into the options.
    void storeCompassState(Settings& options);

    void moveTo(std::int32_t x, std::int32_t y);
    void setAngle(float angle);              // wraps, then redraws
    void turnBy(float degrees);              // wraps; the caller raises the redraw
    void setMeasurementPixels(float pixels); // typing goes on
    // Double-click: a beam pointing exactly right turns to point down, any other
    // turns back to point right.
    void toggleRightAngle();

    std::int32_t posX = 0;
    std::int32_t posY = 0;
    float angle = 0.0f;
    float measurement = 0.0f;
    std::int32_t maxLength = 0;
    float displayAngle = 0.0f;
    float externalZoom = 1.0f;
    bool typing = false;
    QString displayText;
    float displayValue = 0.0f;
    bool needsRepaint = false;
    bool dragging = false; // a drag of the compass body is in progress
    bool composed = false; // the compass images have been composed at least once
};

// The angle drawn while a drag snaps: within 5 degrees (exclusive) of a multiple
// of 45 it is that multiple (358 gives 360), otherwise `angle` itself.
[[nodiscard]] float snappedAngle(float angle);

// Longest allowed spread: the larger of the stored lower bound and the virtual
// desktop's diagonal (rounded, halves to even) plus 200.
[[nodiscard]] std::int32_t maxSpreadFor(std::int32_t storedMaxLength, const QRect& virtualRect);

// The menu toggles of the drag locks and sticky angles. At most one lock is on:
// switching one on switches the other off. Each saves the options file.
void setStickyAngle(Settings& options, bool on);
void setLockAngle(Settings& options, bool on);
void setLockMeasurement(Settings& options, bool on);

} // namespace orvanta
