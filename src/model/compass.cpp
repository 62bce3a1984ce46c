#include "model/compass.h"

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

float SnappedAngle(float angle) {
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

std::int32_t MaxSpreadFor(std::int32_t storedMaxLength, const QRect& virtualRect) {
    const long double w = virtualRect.width();
    const long double h = virtualRect.height();
    const auto diagonal = static_cast<std::int64_t>(roundHalfEven(std::sqrt(w * w + h * h)));
    // Compared in 64 bits: the stored bound may be anything a hand edit put there.
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(storedMaxLength, diagonal + kSpreadMargin));
}

void TCompass::Initialise(TDervikOptions& options, const DesktopGeometry& desktop) {
    if (options.FirstTime) {
        options.FirstTime = false;
        // Without a monitor list the primary screen is the best guess.
        const QRect first = desktop.monitors.isEmpty() ? desktop.primary : desktop.monitors.front();
        options.X = first.left() - desktop.virtualRect.left() + kFirstRunOffsetX;
        options.Y = first.top() - desktop.virtualRect.top() + kFirstRunOffsetY;
        options.Save();
    }
    FPosX = options.X;
    FPosY = options.Y;
    FAngle = options.Angle;
    FMeasurement = options.Measurement;
    FDisplayAngle = FAngle;
    FExternalZoom = 1.0f;
    FTyping = false;
    FDisplayText.clear();
    FMaxLength = MaxSpreadFor(options.MaxLength, desktop.virtualRect);
    FNeedsRepaint = true;
}

void TCompass::ChangeMeasurement(float delta) {
    FMeasurement += delta;
    if (FComposed) {
        FTyping = false;
        FNeedsRepaint = true;
    }
}

float TCompass::WrapAngle(float a) {
    if (a <= -90.0f)
        a += kFullTurn;
    if (a > 270.0f)
        a -= kFullTurn;
    return a;
}

void TCompass::NormalizeCompass(const TDervikOptions& options, bool ctrlDown) {
    if (!(FMeasurement >= 1.0f)) // also catches NaN
        FMeasurement = 0.0f;
    if (float(FMaxLength) < FMeasurement)
        FMeasurement = float(FMaxLength);
    FMeasurement = float(roundHalfEven(FMeasurement));
    // An angle that is not a number (from automation) would make every layer
    // vanish; pointing right is the one sensible fallback.
    if (!std::isfinite(FAngle))
        FAngle = 0.0f;
    FDisplayAngle = FAngle;
    if (FDragging && options.StickyAngle != ctrlDown)
        FDisplayAngle = SnappedAngle(FAngle);
}

void TCompass::StoreCompassState(TDervikOptions& options) {
    FNeedsRepaint = false;
    options.X = FPosX;
    options.Y = FPosY;
    options.Angle = FAngle;
    options.Measurement = FMeasurement;
}

void TCompass::MoveTo(std::int32_t x, std::int32_t y) {
    FPosX = x;
    FPosY = y;
    FNeedsRepaint = true;
}

void TCompass::SetAngle(float angle) {
    FAngle = WrapAngle(angle);
    FNeedsRepaint = true;
}

void TCompass::TurnBy(float degrees) {
    FAngle = WrapAngle(FAngle + degrees);
}

void TCompass::SetMeasurementPixels(float pixels) {
    FMeasurement = pixels;
    FNeedsRepaint = true;
}

void TCompass::ToggleRightAngle() {
    FAngle = FAngle == 0.0f ? 90.0f : 0.0f;
    FNeedsRepaint = true;
}

void SetStickyAngle(TDervikOptions& options, bool on) {
    options.StickyAngle = on;
    options.Save();
}

void SetLockAngle(TDervikOptions& options, bool on) {
    options.LockAngle = on;
    if (on)
        options.LockMeasurement = false;
    options.Save();
}

void SetLockMeasurement(TDervikOptions& options, bool on) {
    options.LockMeasurement = on;
    if (on)
        options.LockAngle = false;
    options.Save();
}

} // namespace orvanta
