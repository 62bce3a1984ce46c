// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Where the pieces of the compass go for a given state: pure functions of the
// skin and the state, used by the renderer and checked number by number in
// the tests. Desktop coordinates throughout; integer points are pixel centres.

#include "model/compassstate.h"
#include "model/desktop.h"
#include "render/layerstack.h"
#include "skins/skin.h"

#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QRect>
#include <QSize>

namespace orvanta {

// The positions of the moving parts for one frame.
struct FrameGeometry {
    QPointF pivot;  // the pivot in the base bitmap
    QPoint origin;  // posX, posY: the base bitmap's top-left corner at angle 0
    int spread = 0; // whole pixels
    double angle = 0.0;
    QPointF centre; // the pivot in the window; everything that turns, turns about it
    QPointF slidePosition;
    // The upright panels, on whole pixels so that their art and text stay crisp.
    QPointF basePanelPosition;
    QPointF slidePanelPosition;
};

[[nodiscard]] FrameGeometry frameGeometry(const Skin& skin, QPointF pivot, QPoint origin,
                                          int spread, double angleDegrees);

// The window position, at angle 0 (or upright, on a panel), of a control's or
// the readout's top-left corner, whose rectangle in the picture is `r`.
[[nodiscard]] QPointF controlPosition(const Skin& skin, const FrameGeometry& g, const SkinRect& r,
                                      Placement placement);
// Its two coordinates, for callers that want one.
[[nodiscard]] inline double controlLeft(const Skin& skin, const FrameGeometry& g, const SkinRect& r,
                                        Placement placement) {
    return controlPosition(skin, g, r, placement).x();
}
[[nodiscard]] inline double controlTop(const Skin& skin, const FrameGeometry& g, const SkinRect& r,
                                       Placement placement) {
    return controlPosition(skin, g, r, placement).y();
}

// The base bitmap of one frame: the bar segment repeated from its own place to
// beyond the slide's measuring point, with the base part copied over it.
struct BarTiles {
    QSize bitmapSize;
    QPoint first; // the first segment's top-left corner in the base bitmap
    int step = 0; // the segment's width
    int count = 0;

    friend bool operator==(const BarTiles&, const BarTiles&) = default;
};
[[nodiscard]] BarTiles barTiles(const Skin& skin, int spread, QSize baseBitmap);

// Fills `target` (remade when its size or format differs) with the tiles and
// the base. Plain copies: every pixel, alpha included, replaces the one below,
// so the transparent parts of the base cut the bar. The base and the bar are
// in one format, which the bitmap takes (ARGB32 without a base).
void buildBaseBitmap(QImage& target, const BarTiles& tiles, const QImage& base, const QImage& bar);

// Shapes: 0 is a circle, 3 and more the number of sides of a regular polygon.
// Anything else (the degenerate 1 and 2 an automation client may set) is drawn
// as a circle, and so are more sides than a screen can tell from one.
[[nodiscard]] bool isPolygon(int shape);
// The distance from the pivot to the figure's corners: the spread, or for a
// polygon drawn around the circle (scribe 0) the spread / cos(pi / n).
[[nodiscard]] double vertexRadius(int shape, int scribe, double spread);

// The figure in its own square bitmap, whose side is round(2v) + 4 for vertex
// radius v; the pivot is at (k + 1, k + 1) with k = round(v).
struct FigurePath {
    int side = 0;
    int k = 0;
    QPainterPath outline; // closed, bitmap coordinates
};
[[nodiscard]] FigurePath figurePath(int shape, int scribe, int spread, double angleDegrees);
// The polygon's corners: inscribed (scribe 1) with a corner on the beam,
// otherwise around the circle with the middle of a side on the beam.
[[nodiscard]] QPolygon polygonVertices(int sides, int scribe, int spread, double angleDegrees,
                                       int k);

// Where the readout text starts in its bitmap: centred, at least 1.
[[nodiscard]] int readoutTextX(int bitmapWidth, int textWidth);

// The union of the layers' transformed bounds: the bottom layer always, the
// others while visible.
[[nodiscard]] QRect layerBounds(const LayerStack& stack);

// Whether any part of `bounds` (desktop coordinates) lies on a monitor. A
// compass in the gap between monitors of different sizes is as lost as one
// beyond the desktop's edge.
[[nodiscard]] bool meetsDesktop(const QRect& bounds, const DesktopGeometry& desktop);

// How far the readout moves so that it stays readable on a monitor. `bounds`
// is where the skin puts it, `pivot` the compass's centre and `angleDegrees`
// the beam's direction, all in desktop coordinates; `monitors` are in desktop
// coordinates too, and so are `compass`, the outlines of the compass's opaque
// parts. A readout that lies whole on a monitor stays; otherwise it is brought
// inside the monitor it overlaps most (or lies nearest), clear of the compass
// if it can be: by the shortest move along the beam, or else mirrored to the
// other side of the beam (and moved along it from there), or else beside the
// compass across the beam. Where none of these is clear of the compass, the
// first that fits the monitor is taken, or else the readout is pushed
// straight in.
[[nodiscard]] QPointF readoutShift(const QRectF& bounds, QPointF pivot, double angleDegrees,
                                   const QList<QRect>& monitors, const QList<QPolygonF>& compass);

// The point itself where it lies on a monitor, else the nearest point of the
// monitor nearest to it (and the point when there are none). A tool tip
// anchored there opens on the monitor the compass stands on, even where the
// compass's centre has been dragged past the desktop's edge.
[[nodiscard]] QPoint pointOnMonitors(QPoint point, const QList<QRect>& monitors);

// The monitors in desktop coordinates (the whole desktop when the list is empty).
[[nodiscard]] QList<QRect> desktopMonitors(const DesktopGeometry& desktop);

// Puts the pivot at the middle of the primary screen with angle 0 and spread
// 100, and asks for a render. The primary screen need not start at the virtual
// desktop's top-left corner: desktop coordinates are relative to that corner.
void centreOnScreen(CompassState& state, const DesktopGeometry& desktop, QPointF pivot);

} // namespace orvanta
