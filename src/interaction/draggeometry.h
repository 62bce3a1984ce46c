// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The geometry of dragging the compass: the direction of a point seen from the
// pivot, the constrained moves of the base and the slide that keeps its grab
// point under the mouse. Pure functions; angles grow clockwise on screen because
// window y grows downwards.

#include <QPoint>
#include <QPointF>
#include <optional>

namespace orvanta {

// The direction of `point` seen from `pivot`, in radians, in (-pi/2, 3pi/2].
// Straight up, and the pivot itself, give 3pi/2.
[[nodiscard]] double pointAngle(QPointF point, QPointF pivot);

// The base position after a constrained drag from `down` (the mouse-down point,
// when the base was at `downPosition`) to `mouse`. The move keeps its length but
// takes the nearest of eight directions: the screen's (multiples of 45 degrees)
// or, given `beamAngle` (Alt held), those at multiples of 45 degrees from the beam.
[[nodiscard]] QPoint constrainedMove(QPoint down, QPoint downPosition, QPoint mouse,
                                     std::optional<float> beamAngle);

// One step of dragging the slide: the mouse went from `previous` to `mouse`.
struct SlideGrip {
    QPointF pivot;
    QPointF mouse;
    QPointF previous;
    double spread = 0; // the spread before the step, pixels
    double angle = 0;  // the beam angle before the step, degrees
    bool lockMeasurement = false;
    bool lockAngle = false;
};

struct SlidePose {
    double angle;       // degrees, not wrapped
    double measurement; // pixels, not clamped or rounded
};

// The triangle formed by the previous mouse point, the pivot and the measuring
// point is carried over to the new mouse point, so the spot where the slide was
// grabbed stays under the mouse. A closed compass opens to 1 pixel when the mouse
// moves outwards. With the angle locked, a spread on the far side of the pivot
// is refused and the compass closes instead.
[[nodiscard]] SlidePose slideDrag(const SlideGrip& grip);

} // namespace orvanta
