// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The arithmetic of the stepping actions that keys and skin controls share:
// turning to the next multiple of 45 degrees, the arrows that lengthen or
// shorten the beam, and points on a circle about the pivot.

#include <QPoint>
#include <QPointF>

namespace orvanta {

// `angle` in the canonical range (-90, 270], whatever turns it holds; the
// decisions that depend on where the beam points read it this way.
[[nodiscard]] float canonicalAngle(float angle);

// The next multiple of 45 degrees after `angle` (forward) or before it
// (backward), in [0, 360): forward from 10 is 45, from 45 is 90, from 350 is 0;
// backward from 0 is 315, from 46 is 45.
[[nodiscard]] float nextMultipleOf45(float angle, bool forward);

enum class Arrow { Left, Up, Right, Down };

// With Shift the arrows open and close the compass: +1 when `arrow` points the
// way the beam at `angle` does (it lengthens), -1 when it points against it,
// 0 when it is square to the beam (Left and Right at 90, Up and Down at 0 and 180).
[[nodiscard]] int arrowExtension(Arrow arrow, float angle);

// `from` moved `distance` pixels in direction `degrees`, to the nearest pixel.
[[nodiscard]] QPoint pointAlong(QPointF from, double distance, double degrees);

} // namespace orvanta
