#include "render/dirtygrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvanta {

DirtyGrid::DirtyGrid(const QRect& area, int cell)
    : m_area(area), m_cell(std::max(cell, 1)),
      m_columns(area.isEmpty() ? 0 : (area.width() + m_cell - 1) / m_cell),
      m_rows(area.isEmpty() ? 0 : (area.height() + m_cell - 1) / m_cell),
      m_marked(std::size_t(m_columns) * std::size_t(m_rows), 0) {}

void DirtyGrid::markSpan(int row, qreal x0, qreal x1) {
    if (row < 0 || row >= m_rows || !(x0 <= x1))
        return;
    // Column c holds the pixels left + c·cell … left + (c + 1)·cell - 1; a
    // span that ends exactly on a pixel corner does not reach the next pixel.
    const qreal left = m_area.left();
    const int c0 = std::max(0, int(std::floor((x0 - left) / m_cell)));
    const int c1 = std::min(m_columns - 1, int(std::ceil((x1 - left) / m_cell)) - 1);
    for (int c = c0; c <= c1; ++c)
        m_marked[std::size_t(row) * std::size_t(m_columns) + std::size_t(c)] = 1;
}

void DirtyGrid::markBox(qreal x0, qreal y0, qreal x1, qreal y1) {
    const qreal top = m_area.top();
    const int r0 = std::max(0, int(std::floor((y0 - top) / m_cell)));
    const int r1 = std::min(m_rows - 1, int(std::ceil((y1 - top) / m_cell)) - 1);
    for (int r = r0; r <= r1; ++r)
        markSpan(r, x0, x1);
}

void DirtyGrid::addRect(const QRect& r) {
    if (!r.isEmpty())
        markBox(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void DirtyGrid::addConvex(const QPolygonF& polygon, qreal pad) {
    if (polygon.isEmpty())
        return;
    const QRectF box = polygon.boundingRect();
    if (!std::isfinite(box.left()) || !std::isfinite(box.right()) || !std::isfinite(box.top()) ||
        !std::isfinite(box.bottom()))
        return;
    const qreal top = m_area.top();
    const int r0 = std::max(0, int(std::floor((box.top() - pad - top) / m_cell)));
    const int r1 = std::min(m_rows - 1, int(std::ceil((box.bottom() + pad - top) / m_cell)) - 1);
    const qsizetype n = polygon.size();
    for (int r = r0; r <= r1; ++r) {
        // The polygon's extent across the slab of this row, widened by pad:
        // for a convex polygon it lies on the edges clipped to the slab.
        const qreal y0 = top + r * m_cell - pad;
        const qreal y1 = top + (r + 1) * m_cell + pad;
        qreal lo = std::numeric_limits<qreal>::max();
        qreal hi = std::numeric_limits<qreal>::lowest();
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF p = polygon[i];
            const QPointF q = polygon[(i + 1) % n];
            qreal t0 = 0.0;
            qreal t1 = 1.0;
            const qreal dy = q.y() - p.y();
            if (dy == 0.0) {
                if (p.y() < y0 || p.y() > y1)
                    continue;
            } else {
                qreal a = (y0 - p.y()) / dy;
                qreal b = (y1 - p.y()) / dy;
                if (a > b)
                    std::swap(a, b);
                t0 = std::max(t0, a);
                t1 = std::min(t1, b);
                if (t0 > t1)
                    continue;
            }
            for (const qreal t : {t0, t1}) {
                const qreal x = p.x() + t * (q.x() - p.x());
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        }
        markSpan(r, lo - pad, hi + pad);
    }
}

void DirtyGrid::addPolyline(const QPolygonF& line, qreal pad) {
    // Pieces no longer than half a cell: the padded box of each reaches at
    // most two cells each way, and together the boxes cover the whole line.
    const qreal step = m_cell / 2.0;
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        const QPointF p = line[i];
        const QPointF q = line[i + 1];
        const qreal length = std::hypot(q.x() - p.x(), q.y() - p.y());
        if (!std::isfinite(length))
            continue;
        const int pieces = std::max(1, int(std::ceil(length / step)));
        QPointF a = p;
        for (int k = 1; k <= pieces; ++k) {
            const QPointF b = p + (q - p) * (qreal(k) / pieces);
            markBox(std::min(a.x(), b.x()) - pad, std::min(a.y(), b.y()) - pad,
                    std::max(a.x(), b.x()) + pad, std::max(a.y(), b.y()) + pad);
            a = b;
        }
    }
    if (line.size() == 1)
        markBox(line[0].x() - pad, line[0].y() - pad, line[0].x() + pad, line[0].y() + pad);
}

bool DirtyGrid::isEmpty() const {
    return std::find(m_marked.begin(), m_marked.end(), 1) == m_marked.end();
}

QRegion DirtyGrid::region() const {
    // One band per run of rows whose marked columns are the same: QRegion's
    // own layout, so it takes the rectangles as they are.
    QVector<QRect> rects;
    std::vector<std::pair<int, int>> runs;
    std::vector<std::pair<int, int>> previous;
    qsizetype bandStart = 0;
    const auto rowRect = [&](int row) {
        const int y0 = m_area.top() + row * m_cell;
        return QRect(m_area.left(), y0, m_area.width(), std::min(m_cell, m_area.bottom() + 1 - y0));
    };
    for (int r = 0; r < m_rows; ++r) {
        runs.clear();
        const std::uint8_t* cells = m_marked.data() + std::size_t(r) * std::size_t(m_columns);
        for (int c = 0; c < m_columns;) {
            if (!cells[c]) {
                ++c;
                continue;
            }
            const int c0 = c;
            while (c < m_columns && cells[c])
                ++c;
            runs.emplace_back(c0, c);
        }
        const QRect row = rowRect(r);
        if (!runs.empty() && runs == previous && r > 0) {
            for (qsizetype i = bandStart; i < rects.size(); ++i)
                rects[i].setBottom(row.bottom());
            continue;
        }
        bandStart = rects.size();
        for (const auto& [c0, c1] : runs) {
            const int x0 = m_area.left() + c0 * m_cell;
            const int x1 = std::min(m_area.left() + c1 * m_cell, m_area.right() + 1);
            rects.append(QRect(x0, row.top(), x1 - x0, row.height()));
        }
        previous = runs;
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}

} // namespace orvanta
