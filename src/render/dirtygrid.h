#pragma once
// The pixels a frame changes, gathered at a coarse grain. Rectangles, turned
// rectangles and the band along an outline mark the cells of a grid laid over
// the window; the marked cells make the region that is redrawn and pushed. A
// thin line around a large figure then costs its length, not its square, and
// a long turned bar its own strip, not its bounding box.

#include <QPolygonF>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <vector>

namespace orvanta {

class DirtyGrid {
public:
    // A grid of `cell` × `cell` pixel cells over `area`; nothing outside it is
    // ever marked.
    DirtyGrid(const QRect& area, int cell);

    void addRect(const QRect& r);
    // The pixels a convex polygon (pixel-corner coordinates, as QPainter maps
    // a layer's bitmap) covers, widened by `pad` on every side.
    void addConvex(const QPolygonF& polygon, qreal pad);
    // The pixels within `pad` of an open or closed polyline (pixel-corner
    // coordinates).
    void addPolyline(const QPolygonF& line, qreal pad);

    [[nodiscard]] bool isEmpty() const;
    // The marked cells clipped to the area, banded as QRegion keeps them.
    [[nodiscard]] QRegion region() const;

private:
    // Marks the cells of row `row` that the columns x0..x1 (pixel-corner
    // coordinates, x0 <= x1) reach.
    void markSpan(int row, qreal x0, qreal x1);
    void markBox(qreal x0, qreal y0, qreal x1, qreal y1);

    QRect m_area;
    int m_cell;
    int m_columns;
    int m_rows;
    std::vector<std::uint8_t> m_marked;
};

} // namespace orvanta
