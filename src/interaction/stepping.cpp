// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/stepping.h"

#include "model/numbers.h"

#include <cmath>
#include <numbers>

namespace orvanta {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr float kFullTurn = 360.0f;
constexpr float kEighth = 45.0f;

[[nodiscard]] int roundToPixel(double v) {
    return static_cast<int>(roundHalfEven(v));
}

// Into [0, 360), by as many turns as it takes.
[[nodiscard]] float intoCircle(float angle) {
    float a = std::fmod(angle, kFullTurn);
    if (a < 0)
        a += kFullTurn;
    return a >= kFullTurn ? 0.0f : a; // fmod of a tiny negative may round up to 360
}

} // namespace

float canonicalAngle(float angle) {
    if (!std::isfinite(angle))
        return angle;
    const float a = intoCircle(angle);
    return a > 270.0f ? a - kFullTurn : a;
}

float nextMultipleOf45(float angle, bool forward) {
    const float a = intoCircle(angle);
    // Forward: the k with 45k <= a < 45(k+1) gives 45(k+1). Backward: the k with
    // 45k < a <= 45(k+1) gives 45k, so an exact multiple moves on to the previous.
    const float k = forward ? std::floor(a / kEighth) + 1 : std::ceil(a / kEighth) - 1;
    return intoCircle(k * kEighth);
}

int arrowExtension(Arrow arrow, float angle) {
    const float a = canonicalAngle(angle);
    int alongRight = 0; // +1 when the beam has a rightward part
    if (a < 90.0f)
        alongRight = 1;
    else if (a > 90.0f)
        alongRight = -1;
    int alongDown = 0; // +1 when the beam has a downward part
    if (a > 0.0f && a < 180.0f)
        alongDown = 1;
    else if (a > 180.0f || a < 0.0f)
        alongDown = -1;

    switch (arrow) {
    case Arrow::Left:
        return -alongRight;
    case Arrow::Right:
        return alongRight;
    case Arrow::Up:
        return -alongDown;
    case Arrow::Down:
        return alongDown;
    }
    return 0;
}

QPoint pointAlong(QPointF from, double distance, double degrees) {
    const double t = degrees * kRadians;
    return {roundToPixel(from.x() + distance * std::cos(t)),
            roundToPixel(from.y() + distance * std::sin(t))};
}

} // namespace orvanta
