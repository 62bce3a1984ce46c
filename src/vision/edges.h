// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Edge points of a picture inside a ring, to a fraction of a pixel: the
// picture's grey levels (box averages of factor × factor pixels, so a long
// ring is looked at coarsely first), their Sobel gradients, the pixels whose
// gradient is a maximum across the edge, and the edge's place between pixels
// from a parabola through the three magnitudes along the row or the column
// nearest to the gradient (Devernay's correction of Canny's points).

#include <QImage>
#include <QPointF>
#include <vector>

namespace orvanta {

struct EdgePoint {
    QPointF pos;     // picture coordinates
    double nx = 0.0; // the gradient's direction, towards the brighter side
    double ny = 0.0;
    double phi = 0.0; // atan2(ny, nx)
    double strength = 0.0;
};

// Where edges are looked for: the pixels whose distance from `centre` lies
// between `inner` and `outer`. With `sides` (3 or more) the distance is a
// regular polygon's, to the middle of its nearest side, `theta` the direction
// of one side's outward normal (radians): the band about a polygon's outline,
// which a circle round its corners would make far wider.
struct Ring {
    QPointF centre;
    double inner = 0.0;
    double outer = 0.0;
    int sides = 0;
    double theta = 0.0;
};

// The edge points of `picture` (RGB32, ARGB32 or ARGB32_Premultiplied) whose
// pixels lie in `ring` (picture coordinates), looked for at 1/`factor` (1, 2,
// 4, 8 or 16) of the resolution, with positions scaled back to the picture.
// Pixels near a non-zero pixel of `ignore` (same size, 8 bits) give none.
// Edges weaker than the ring's noise are left out.
[[nodiscard]] std::vector<EdgePoint> ringEdges(const QImage& picture, const QImage& ignore,
                                               const Ring& ring, int factor);

} // namespace orvanta
