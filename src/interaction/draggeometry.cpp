// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/draggeometry.h"

#include "model/numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvanta {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegrees = 180.0 / kPi;
constexpr double kFullTurn = 360.0;
constexpr double kDirectionStep = 45.0; // eight directions
// A closed compass opens only when the mouse moved at least this much further
// from the pivot than it was, so that jitter on the pivot does not open it.
constexpr double kOpeningMinimum = 0.1;
// A closed compass opens to this spread; the following moves carry it on.
constexpr double kOpeningSpread = 1.0;

[[nodiscard]] double clampUnit(double v) {
    return std::clamp(v, -1.0, 1.0);
}

// Into [0, 360] by at most one turn each way, as the lock rules compare.
[[nodiscard]] double oneTurnIntoCircle(double degrees) {
    if (degrees > kFullTurn)
        return degrees - kFullTurn;
    if (degrees < 0)
        return degrees + kFullTurn;
    return degrees;
}

// With the angle locked, only a spread on the beam's side of the pivot is taken.
// `w` is the direction the drag would give the beam, `a` the beam's direction,
// both in [0, 360]. Besides a direction close to the beam, three ranges of
// lower-left to upper-right beams accept wider differences; they keep the slide
// usable where the direction of the mouse wraps past 360.
[[nodiscard]] bool lockedSpreadAccepted(double w, double a) {
    const double diff = std::abs(w - a);
    if (diff < 10.0 || diff > 350.0)
        return true;
    if (a > 180.0 && a <= 270.0 && w > a && diff < a - 90.0)
        return true;
    if (a > 270.0 && a < 315.0 && w < a && diff < a - 135.0)
        return true;
    return a == 315.0 && (w > a || w < a - 180.0);
}

[[nodiscard]] double distance(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

} // namespace

double pointAngle(QPointF point, QPointF pivot) {
    const double dx = point.x() - pivot.x();
    const double dy = point.y() - pivot.y();
    if (dx > 0)
        return std::atan(dy / dx);
    if (dx < 0)
        return std::atan(dy / dx) + kPi;
    return dy > 0 ? kPi / 2 : 3 * kPi / 2;
}

QPoint constrainedMove(QPoint down, QPoint downPosition, QPoint mouse,
                       std::optional<float> beamAngle) {
    const double dx = mouse.x() - down.x();
    const double dy = mouse.y() - down.y();
    const double length = std::hypot(dx, dy);

    double theta;
    if (dx == 0)
        theta = dy < 0 ? 270.0 : 90.0;
    else
        theta = std::atan(dy / dx) * kDegrees - (dx < 0 ? 180.0 : 0.0);
    if (theta < 0)
        theta += kFullTurn;

    // The directions are offset so that one of them is the beam's: the offset is
    // the beam angle less whole steps, in (-45, 0]. Computed with fmod rather
    // than by repeated subtraction, so that any stored angle ends quickly.
    double offset = 0;
    if (beamAngle && std::isfinite(*beamAngle)) {
        offset = std::fmod(double(*beamAngle), kDirectionStep);
        if (offset > 0)
            offset -= kDirectionStep;
    }
    const double k = std::floor((theta - offset + kDirectionStep / 2) / kDirectionStep);
    const double direction = (offset + kDirectionStep * k) / kDegrees;

    const auto step = [](double v) { return static_cast<int>(roundHalfEven(v)); };
    return {downPosition.x() + step(std::cos(direction) * length),
            downPosition.y() + step(std::sin(direction) * length)};
}

SlidePose slideDrag(const SlideGrip& grip) {
    const QPointF c = grip.pivot;
    const double r = grip.spread;
    const double a = grip.angle;
    const double mouseAngle = pointAngle(grip.mouse, c);
    const double previousAngle = pointAngle(grip.previous, c);
    const QPointF measuringPoint = c + QPointF(std::cos(a / kDegrees), std::sin(a / kDegrees)) * r;

    // e is signed: negative when the previous mouse point lay on the
    // anticlockwise side of the beam, which flips the triangle below.
    double e = distance(measuringPoint, grip.previous);
    if (a > previousAngle * kDegrees)
        e = -e;
    const double g = distance(grip.previous, c);
    const double m = distance(grip.mouse, c);

    SlidePose pose{grip.angle, grip.spread};
    if (r != 0 && e != 0) {
        const double beta = std::acos(clampUnit((e * e + r * r - g * g) / (2 * r * e)));
        const double gamma = m == 0 ? 0.0 : std::asin(clampUnit(std::sin(beta) * e / m));
        const double turned = (mouseAngle - gamma) * kDegrees;
        if (!grip.lockAngle)
            pose.angle = turned;
        if (!grip.lockMeasurement) {
            // Rounding may take the square of a length a hair below zero.
            const double spread =
                std::sqrt(std::max(0.0, e * e + m * m - 2 * m * e * std::cos(kPi - gamma - beta)));
            const bool accepted = !grip.lockAngle || lockedSpreadAccepted(oneTurnIntoCircle(turned),
                                                                          oneTurnIntoCircle(a));
            pose.measurement = accepted ? spread : 0.0;
        }
        return pose;
    }

    if (r != 0) {
        // The mouse is held exactly on the measuring point.
        if (!grip.lockMeasurement)
            pose.measurement = m;
    } else if (!grip.lockMeasurement && m - g >= kOpeningMinimum) {
        bool opens = true;
        if (grip.lockAngle) {
            // A locked beam opens only towards the mouse's side of the pivot.
            const double diff =
                std::abs(oneTurnIntoCircle(mouseAngle * kDegrees) - oneTurnIntoCircle(a));
            opens = diff < 90.0 || diff > 270.0;
        }
        pose.measurement = opens ? kOpeningSpread : 0.0;
    }
    if (!grip.lockAngle)
        pose.angle = a + (mouseAngle - previousAngle) * kDegrees;
    return pose;
}

} // namespace orvanta
