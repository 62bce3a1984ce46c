// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Finds the circle, or the regular polygon, that lies on a picture near where
// the compass stands, to a fraction of a pixel: edges from the picture's
// gradients in a ring around the compass's figure, a robust first guess
// (RANSAC) that clutter, noise and a second figure nearby do not mislead, and
// a geometric refinement that weighs outliers down (Tukey's biweight).
//
// Coordinates are the picture's: pixel (x, y) covers [x, x + 1) × [y, y + 1),
// as QPainter draws, so a circle drawn about (100, 100) is found there.

#include <QImage>
#include <QPointF>
#include <QRect>
#include <optional>

namespace orvanta {

// The figure the compass shows now, which says where to look and what to find.
struct FigureGuess {
    QPointF centre;
    // The compass's spread: the circle's radius, or for a polygon the distance
    // from the centre to a corner (inscribed) or to a side's middle (around).
    double spread = 0.0;
    int sides = 0; // 0: a circle; 3..39: a regular polygon
    bool inscribed = false;
    // The beam's direction in degrees, clockwise from east on the screen: an
    // inscribed polygon has a corner there, one drawn around a side's middle.
    double angleDegrees = 0.0;
};

struct FigureFit {
    QPointF centre;
    // The spread that draws the figure found, as FigureGuess::spread.
    double spread = 0.0;
    // For polygons: the beam's direction that draws it, the one of its
    // symmetric directions nearest to the guess's.
    double angleDegrees = 0.0;
    // 0..1: the share of the outline the edges follow, lowered by their
    // scatter about it.
    double confidence = 0.0;
    // The edge points that carry the fit.
    int edges = 0;
};

// The figure on `picture` (any 32-bit RGB format; others are converted) whose
// spread lies within 0.6–1.6 of the guess's, near the guess, or nothing when
// no such figure is there. `ignore`, when not null, is a picture of the same
// size whose non-zero pixels are not looked at (Format_Alpha8 or
// Format_Grayscale8): the compass's own drawing.
[[nodiscard]] std::optional<FigureFit> fitFigure(const QImage& picture, const FigureGuess& guess,
                                                 const QImage& ignore = {});

// What the fit must not look at on `screen`, a grab whose top-left pixel lies
// at `screenOrigin`: each pixel the compass drew there with any opacity
// (`drawn`, premultiplied ARGB, lying at `drawnRect` in the same coordinates)
// and each pixel the screen did not give (transparent). Format_Alpha8, the
// screen's size, 255 where not to look. The compass knows exactly what it
// drew, so it never hides to be looked past.
[[nodiscard]] QImage ignoredPixels(const QImage& screen, QPoint screenOrigin, const QImage& drawn,
                                   const QRect& drawnRect);

} // namespace orvanta
