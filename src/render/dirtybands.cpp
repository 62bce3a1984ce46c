// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/dirtybands.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvanta {

namespace {

// Columns closer than this are pushed as one rectangle: a few more pixels
// cost less than another rectangle to paint, flush and composite.
constexpr int kJoinGap = 8;

} // namespace

DirtyBands::DirtyBands(const QRect& area, int height)
    : m_area(area), m_height(std::max(height, 1)),
      m_spans(area.isEmpty() ? 0 : std::size_t((area.height() + m_height - 1) / m_height)) {}

void DirtyBands::markSpan(int band, qreal x0, qreal x1) {
    if (band < 0 || band >= int(m_spans.size()) || !(x0 <= x1))
        return;
    // A span that ends exactly on a pixel corner does not reach the next pixel.
    const qreal left = std::max(std::floor(x0), qreal(m_area.left()));
    const qreal right = std::min(std::ceil(x1), qreal(m_area.right() + 1));
    if (left < right)
        m_spans[std::size_t(band)].emplace_back(int(left), int(right));
}

void DirtyBands::markBox(qreal x0, qreal y0, qreal x1, qreal y1) {
    const qreal top = m_area.top();
    const int b0 = std::max(0, int(std::floor((y0 - top) / m_height)));
    const int b1 = std::min(int(m_spans.size()) - 1, int(std::ceil((y1 - top) / m_height)) - 1);
    for (int b = b0; b <= b1; ++b)
        markSpan(b, x0, x1);
}

void DirtyBands::addRect(const QRect& r) {
    if (!r.isEmpty())
        markBox(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void DirtyBands::addConvex(const QPolygonF& polygon, qreal pad) {
    if (polygon.isEmpty())
        return;
    const QRectF box = polygon.boundingRect();
    if (!std::isfinite(box.left()) || !std::isfinite(box.right()) || !std::isfinite(box.top()) ||
        !std::isfinite(box.bottom()))
        return;
    const qreal top = m_area.top();
    const int b0 = std::max(0, int(std::floor((box.top() - pad - top) / m_height)));
    const int b1 = std::min(int(m_spans.size()) - 1,
                            int(std::ceil((box.bottom() + pad - top) / m_height)) - 1);
    const qsizetype n = polygon.size();
    for (int b = b0; b <= b1; ++b) {
        // The polygon's extent across this band, widened by pad: for a convex
        // polygon it lies on the edges clipped to the band.
        const qreal y0 = top + b * m_height - pad;
        const qreal y1 = top + (b + 1) * m_height + pad;
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
                qreal c = (y1 - p.y()) / dy;
                if (a > c)
                    std::swap(a, c);
                t0 = std::max(t0, a);
                t1 = std::min(t1, c);
                if (t0 > t1)
                    continue;
            }
            for (const qreal t : {t0, t1}) {
                const qreal x = p.x() + t * (q.x() - p.x());
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        }
        markSpan(b, lo - pad, hi + pad);
    }
}

void DirtyBands::addPolyline(const QPolygonF& line, qreal pad) {
    // Pieces no longer than half a band: the padded box of each is little
    // larger than the piece, and together the boxes cover the whole line.
    const qreal step = m_height / 2.0;
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

bool DirtyBands::isEmpty() const {
    return std::all_of(m_spans.begin(), m_spans.end(), [](const auto& s) { return s.empty(); });
}

QRegion DirtyBands::region() const {
    // One band of QRegion per run of bands whose columns are the same, so that
    // QRegion takes the rectangles as they are.
    QVector<QRect> rects;
    std::vector<std::pair<int, int>> runs;
    std::vector<std::pair<int, int>> previous;
    qsizetype bandStart = 0;
    for (std::size_t b = 0; b < m_spans.size(); ++b) {
        std::vector<std::pair<int, int>> spans = m_spans[b];
        std::sort(spans.begin(), spans.end());
        runs.clear();
        for (const auto& [x0, x1] : spans) {
            if (!runs.empty() && x0 <= runs.back().second + kJoinGap)
                runs.back().second = std::max(runs.back().second, x1);
            else
                runs.emplace_back(x0, x1);
        }
        const int y0 = m_area.top() + int(b) * m_height;
        const int y1 = std::min(y0 + m_height, m_area.bottom() + 1);
        if (!runs.empty() && runs == previous) {
            for (qsizetype i = bandStart; i < rects.size(); ++i)
                rects[i].setBottom(y1 - 1);
            continue;
        }
        bandStart = rects.size();
        for (const auto& [x0, x1] : runs)
            rects.append(QRect(x0, y0, x1 - x0, y1 - y0));
        previous = runs;
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}

} // namespace orvanta
