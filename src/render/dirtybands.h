// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The pixels a frame changes, gathered in bands of rows. Rectangles, turned
// rectangles and the band along an outline each mark, in every band they
// cross, the columns they reach there; the marked columns make the region
// that is redrawn and pushed. A thin line around a large figure then costs its
// length, not its square, and a long turned bar its own strip, not its
// bounding box, while the region keeps a few rectangles per band.

#include <QPolygonF>
#include <QRect>
#include <QRegion>
#include <utility>
#include <vector>

namespace orvanta {

class DirtyBands {
public:
    // Bands `height` pixels high over `area`; nothing outside it is ever
    // marked.
    DirtyBands(const QRect& area, int height);

    void addRect(const QRect& r);
    // The pixels a convex polygon (pixel-corner coordinates, as QPainter maps
    // a layer's bitmap) covers, widened by `pad` on every side.
    void addConvex(const QPolygonF& polygon, qreal pad);
    // The pixels within `pad` of an open or closed polyline (pixel-corner
    // coordinates).
    void addPolyline(const QPolygonF& line, qreal pad);

    [[nodiscard]] bool isEmpty() const;
    // The marked columns of every band clipped to the area, banded as QRegion
    // keeps them.
    [[nodiscard]] QRegion region() const;

private:
    // Marks the columns x0..x1 (pixel-corner coordinates) of band `band`.
    void markSpan(int band, qreal x0, qreal x1);
    void markBox(qreal x0, qreal y0, qreal x1, qreal y1);

    QRect m_area;
    int m_height;
    std::vector<std::vector<std::pair<int, int>>> m_spans; // per band: [x0, x1)
};

// `region` as fewer, larger rectangles: neighbours within a band are joined,
// and bands with the rows below them, wherever the pixels that adds cost less
// than the rectangles it saves, one rectangle costing `rectCost` pixels. The
// result holds `region` and stays banded as QRegion keeps it.
[[nodiscard]] QRegion coarsened(const QRegion& region, int rectCost);

} // namespace orvanta
