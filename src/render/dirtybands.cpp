// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/dirtybands.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>

namespace orvanta {

namespace {

// Columns closer than this are pushed as one rectangle: a few more pixels
// cost less than another rectangle to paint, flush and composite.
constexpr int kJoinGap = 8;

// The columns of segment p-q within rows y0..y1: its lowest and highest x
// there, or nothing when it does not reach them.
std::optional<std::pair<qreal, qreal>> columnsWithin(QPointF p, QPointF q, qreal y0, qreal y1) {
    qreal t0 = 0.0;
    qreal t1 = 1.0;
    const qreal dy = q.y() - p.y();
    if (dy == 0.0) {
        if (p.y() < y0 || p.y() > y1)
            return std::nullopt;
    } else {
        qreal a = (y0 - p.y()) / dy;
        qreal c = (y1 - p.y()) / dy;
        if (a > c)
            std::swap(a, c);
        t0 = std::max(t0, a);
        t1 = std::min(t1, c);
        if (t0 > t1)
            return std::nullopt;
    }
    const qreal xa = p.x() + t0 * (q.x() - p.x());
    const qreal xb = p.x() + t1 * (q.x() - p.x());
    return std::pair{std::min(xa, xb), std::max(xa, xb)};
}

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
    if (!(left < right))
        return;
    // The pieces of an outline come in order: most meet the span before.
    auto& spans = m_spans[std::size_t(band)];
    if (!spans.empty() && int(left) <= spans.back().second && int(right) >= spans.back().first) {
        spans.back().first = std::min(spans.back().first, int(left));
        spans.back().second = std::max(spans.back().second, int(right));
        return;
    }
    spans.emplace_back(int(left), int(right));
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
            if (const auto columns = columnsWithin(polygon[i], polygon[(i + 1) % n], y0, y1)) {
                lo = std::min(lo, columns->first);
                hi = std::max(hi, columns->second);
            }
        }
        markSpan(b, lo - pad, hi + pad);
    }
}

void DirtyBands::addPolyline(const QPolygonF& line, qreal pad) {
    const qreal top = m_area.top();
    const int last = int(m_spans.size()) - 1;
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        const QPointF p = line[i];
        const QPointF q = line[i + 1];
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || !std::isfinite(q.x()) ||
            !std::isfinite(q.y()))
            continue;
        // In every band the segment comes within pad of, the columns of its
        // part that lies within pad of the band's rows, widened by pad.
        const qreal ylo = std::min(p.y(), q.y()) - pad;
        const qreal yhi = std::max(p.y(), q.y()) + pad;
        const int first = int(std::floor((ylo - top) / m_height));
        const int final = int(std::ceil((yhi - top) / m_height)) - 1;
        if (first == final) {
            // Most pieces of a long outline lie within one band, rows and pad:
            // all their columns are dirty there.
            markSpan(first, std::min(p.x(), q.x()) - pad, std::max(p.x(), q.x()) + pad);
            continue;
        }
        const int b0 = std::max(0, first);
        const int b1 = std::min(last, final);
        for (int b = b0; b <= b1; ++b) {
            const auto columns =
                columnsWithin(p, q, top + b * m_height - pad, top + (b + 1) * m_height + pad);
            if (columns)
                markSpan(b, columns->first - pad, columns->second + pad);
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

namespace {

using Spans = std::vector<std::pair<int, int>>;

// Joins sorted, disjoint spans whose gap costs fewer pixels than a rectangle
// `height` rows high.
void joinClose(Spans& spans, int height, qint64 rectCost) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (kept > 0 && qint64(spans[i].first - spans[kept - 1].second) * height <= rectCost) {
            spans[kept - 1].second = std::max(spans[kept - 1].second, spans[i].second);
            continue;
        }
        spans[kept++] = spans[i];
    }
    spans.resize(kept);
}

qint64 price(const Spans& spans, int height, qint64 rectCost) {
    qint64 total = 0;
    for (const auto& [x0, x1] : spans)
        total += qint64(x1 - x0) * height + rectCost;
    return total;
}

} // namespace

QRegion coarsened(const QRegion& region, int rectCost) {
    struct Rows {
        int y0, y1;
        Spans spans;
    };
    // QRegion's rectangles come band by band, left to right.
    std::vector<Rows> bands;
    for (const QRect& r : region) {
        if (bands.empty() || bands.back().y0 != r.top())
            bands.push_back({r.top(), r.bottom() + 1, {}});
        bands.back().spans.emplace_back(r.left(), r.right() + 1);
    }
    std::vector<Rows> rows;
    for (Rows& next : bands) {
        joinClose(next.spans, next.y1 - next.y0, rectCost);
        if (!rows.empty() && rows.back().y1 == next.y0) {
            Rows& above = rows.back();
            Spans both;
            both.reserve(above.spans.size() + next.spans.size());
            std::merge(above.spans.begin(), above.spans.end(), next.spans.begin(), next.spans.end(),
                       std::back_inserter(both));
            // Overlapping spans become one, then close ones join.
            std::size_t kept = 0;
            for (std::size_t i = 0; i < both.size(); ++i) {
                if (kept > 0 && both[i].first <= both[kept - 1].second) {
                    both[kept - 1].second = std::max(both[kept - 1].second, both[i].second);
                    continue;
                }
                both[kept++] = both[i];
            }
            both.resize(kept);
            const int height = next.y1 - above.y0;
            joinClose(both, height, rectCost);
            if (price(both, height, rectCost) <=
                price(above.spans, above.y1 - above.y0, rectCost) +
                    price(next.spans, next.y1 - next.y0, rectCost)) {
                above.y1 = next.y1;
                above.spans = std::move(both);
                continue;
            }
        }
        rows.push_back(std::move(next));
    }
    QVector<QRect> rects;
    for (const Rows& r : rows)
        for (const auto& [x0, x1] : r.spans)
            rects.append(QRect(x0, r.y0, x1 - x0, r.y1 - r.y0));
    QRegion result;
    result.setRects(rects.constData(), int(rects.size()));
    return result;
}

} // namespace orvanta
