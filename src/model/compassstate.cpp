// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/compassstate.h"

#include "model/numbers.h"

#include <algorithm>
#include <cmath>

namespace orvanta {

namespace {

// The first run places the pivot this far right of and below the top-left
// corner of the first listed monitor, so that the whole compass is visible.
constexpr std::int32_t kFirstRunOffsetX = 200;
constexpr std::int32_t kFirstRunOffsetY = 150;
// Room beyond the desktop's diagonal, so the slide can reach every corner from
// a pivot that lies just off screen.
constexpr std::int64_t kSpreadMargin = 200;

constexpr float kFullTurn = 360.0f;
constexpr float kSnapStep = 45.0f;
constexpr float kSnapTolerance = 5.0f;
constexpr int kSnapTargets = 9; // 0, 45, ..., 360

} // namespace

float snappedAngle(float angle) {
    if (!std::isfinite(angle))
        return angle;
    float a = std::fmod(angle, kFullTurn);
    if (a < 0)
        a += kFullTurn;
    for (int k = 0; k < kSnapTargets; ++k) {
        const float target = float(k) * kSnapStep;
        if (target - kSnapTolerance < a && a < target + kSnapTolerance)
            return target;
    }
    return angle;
}

std::int32_t maxSpreadFor(std::int32_t storedMaxLength, const QRect& virtualRect) {
    const long double w = virtualRect.width();
    const long double h = virtualRect.height();
    const auto diagonal = static_cast<std::int64_t>(roundHalfEven(std::sqrt(w * w + h * h)));
    // Compared in 64 bits: the stored bound may be anything a hand edit put there.
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(storedMaxLength, diagonal + kSpreadMargin));
}

void CompassState::initialise(Settings& options, const DesktopGeometry& desktop) {
    if (options.firstTime) {
        options.firstTime = false;
        // Without a monitor list the primary screen is the best guess.
        const QRect first = desktop.monitors.isEmpty() ? desktop.primary : desktop.monitors.front();
        options.x = first.left() - desktop.virtualRect.left() + kFirstRunOffsetX;
        options.y = first.top() - desktop.virtualRect.top() + kFirstRunOffsetY;
        options.save();
    }
    posX = options.x;
    posY = options.y;
    angle = options.angle;
    measurement = options.measurement;
    displayAngle = angle;
    externalZoom = 1.0f;
    typing = false;
    displayText.clear();
    maxLength = maxSpreadFor(options.maxLength, desktop.virtualRect);
    needsRepaint = true;
}

void CompassState::changeMeasurement(float delta) {
    measurement += delta;
    if (composed) {
        typing = false;
        needsRepaint = true;
    }
}

float CompassState::wrapAngle(float a) {
    if (a <= -90.0f)
        a += kFullTurn;
    if (a > 270.0f)
        a -= kFullTurn;
    return a;
}

void CompassState::normalizeCompass(const Settings& options, bool ctrlDown) {
    if (!(measurement >= 1.0f)) // also catches NaN
        measurement = 0.0f;
    if (float(maxLength) < measurement)
        measurement = float(maxLength);
    measurement = float(roundHalfEven(measurement));
    // An angle that is not a number (from automation) would make every layer
    // vanish; pointing right is the one sensible fallback.
    if (!std::isfinite(angle))
        angle = 0.0f;
    displayAngle = angle;
    if (dragging && options.stickyAngle != ctrlDown)
        displayAngle = snappedAngle(angle);
}

void CompassState::storeCompassState(Settings& options) {
    needsRepaint = false;
    options.x = posX;
    options.y = posY;
    options.angle = angle;
    options.measurement = measurement;
}

void CompassState::moveTo(std::int32_t x, std::int32_t y) {
    posX = x;
    posY = y;
    needsRepaint = true;
}

void CompassState::setAngle(float degrees) {
    angle = wrapAngle(degrees);
    needsRepaint = true;
}

void CompassState::turnBy(float degrees) {
    angle = wrapAngle(angle + degrees);
}

void CompassState::setMeasurementPixels(float pixels) {
    measurement = pixels;
    needsRepaint = true;
}

void CompassState::toggleRightAngle() {
    angle = angle == 0.0f ? 90.0f : 0.0f;
    needsRepaint = true;
}

void setStickyAngle(Settings& options, bool on) {
    options.stickyAngle = on;
    options.save();
}

void setLockAngle(Settings& options, bool on) {
    options.lockAngle = on;
    if (on)
        options.lockMeasurement = false;
    options.save();
}

void setLockMeasurement(Settings& options, bool on) {
    options.lockMeasurement = on;
    if (on)
        options.lockAngle = false;
    options.save();
}

} // namespace orvanta
