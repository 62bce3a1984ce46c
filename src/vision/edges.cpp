// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "vision/edges.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvanta {

namespace {

// Sobel magnitudes on grey levels 0..255: a sharp full step gives 1020. Below
// this nothing is an edge, however quiet the picture.
constexpr float kMinStrength = 24.0f;
// An edge must stand this far above the ring's median gradient, which on a
// noisy or textured picture is the noise.
constexpr float kNoiseFactor = 2.5f;
// The grey levels reach this far beyond the ring (Sobel and the maxima's
// neighbours), the magnitudes this far.
constexpr double kGreyMargin = 3.0;
constexpr double kMagnitudeMargin = 1.5;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// The pixels of row y whose centres lie between `inner` and `outer` from
// `c`, within [xmin, xmax]: up to two runs, [a0, a1] and [b0, b1].
struct Runs {
    int a0 = 1, a1 = 0, b0 = 1, b1 = 0;
};

Runs rowRuns(QPointF c, int y, double inner, double outer, int xmin, int xmax) {
    Runs r;
    const double dy = y + 0.5 - c.y();
    if (std::abs(dy) > outer)
        return r;
    const double half = std::sqrt(outer * outer - dy * dy);
    const int lo = std::max(xmin, int(std::ceil(c.x() - half - 0.5)));
    const int hi = std::min(xmax, int(std::floor(c.x() + half - 0.5)));
    if (inner <= std::abs(dy)) {
        r.a0 = lo;
        r.a1 = hi;
        return r;
    }
    const double hole = std::sqrt(inner * inner - dy * dy);
    r.a0 = lo;
    r.a1 = std::min(hi, int(std::ceil(c.x() - hole - 0.5)));
    r.b0 = std::max(lo, int(std::floor(c.x() + hole - 0.5)));
    r.b1 = hi;
    return r;
}

template <typename F> void forRuns(const Runs& r, F f) {
    for (int x = r.a0; x <= r.a1; ++x)
        f(x);
    for (int x = std::max(r.b0, r.a1 + 1); x <= r.b1; ++x)
        f(x);
}

// Luminance ×256 of one pixel, in integers: the box sums stay exact.
inline int grey256(QRgb p) {
    return 77 * int((p >> 16) & 0xff) + 150 * int((p >> 8) & 0xff) + 29 * int(p & 0xff);
}

// Floats over the ring's rows only where the ring needs them: a long ring's
// bounding box is mostly hole, and memory never touched before costs a page
// fault a page. Anything outside reads as NaN.
class Grid {
public:
    Grid(int y0, std::vector<Runs> rows) : m_y0(y0), m_rows(std::move(rows)) {
        std::size_t size = 0;
        m_offsets.reserve(m_rows.size());
        for (Runs& r : m_rows) {
            r.b0 = std::max(r.b0, r.a1 + 1);
            m_offsets.push_back(size);
            size += std::size_t(std::max(0, r.a1 - r.a0 + 1) + std::max(0, r.b1 - r.b0 + 1));
        }
        m_data.assign(size, kNaN);
    }
    float& at(int x, int y) {
        const std::size_t row = std::size_t(y - m_y0);
        const Runs& r = m_rows[row];
        if (x >= r.a0 && x <= r.a1)
            return m_data[m_offsets[row] + std::size_t(x - r.a0)];
        if (x >= r.b0 && x <= r.b1)
            return m_data[m_offsets[row] + std::size_t(std::max(0, r.a1 - r.a0 + 1) + x - r.b0)];
        m_outside = kNaN;
        return m_outside;
    }

private:
    int m_y0;
    std::vector<Runs> m_rows;
    std::vector<std::size_t> m_offsets;
    std::vector<float> m_data;
    float m_outside = kNaN;
};

} // namespace

std::vector<EdgePoint> ringEdges(const QImage& picture, const QImage& ignore, const Ring& ring,
                                 int factor) {
    std::vector<EdgePoint> edges;
    const int f = std::max(1, factor);
    const int width = picture.width() / f;
    const int height = picture.height() / f;
    if (width < 5 || height < 5)
        return edges;
    const QPointF c = ring.centre / f;
    const double inner = ring.inner / f;
    const double outer = ring.outer / f;
    const bool masked = !ignore.isNull() && ignore.size() == picture.size() && ignore.depth() == 8;

    // Grey levels where Sobel will look, NaN where the compass drew: the NaN
    // spreads through every sum it enters, so no edge comes from there.
    const double gInner = std::max(0.0, inner - kGreyMargin);
    const double gOuter = outer + kGreyMargin;
    const int y0 = std::max(0, int(std::floor(c.y() - gOuter)));
    const int y1 = std::min(height - 1, int(std::ceil(c.y() + gOuter)));
    const int x0 = std::max(0, int(std::floor(c.x() - gOuter)));
    const int x1 = std::min(width - 1, int(std::ceil(c.x() + gOuter)));
    if (y0 > y1 || x0 > x1)
        return edges;
    std::vector<Runs> layout;
    for (int y = y0; y <= y1; ++y)
        layout.push_back(rowRuns(c, y, gInner, gOuter, x0, x1));
    Grid grey(y0, layout);
    Grid magnitude(y0, layout);
    const float scale = 1.0f / (256.0f * float(f * f));
    const uchar* bits = picture.constBits();
    const qsizetype stride = picture.bytesPerLine();
    const uchar* hiddenBits = masked ? ignore.constBits() : nullptr;
    const qsizetype hiddenStride = masked ? ignore.bytesPerLine() : 0;
    // Large blocks average every other row: the first look at a long ring
    // needs no more, and reading the picture is most of its cost.
    const int rowStep = f >= 4 ? 2 : 1;
    // Whole runs of picture rows at a time, luminance first into a row of its
    // own: a loop the compiler turns into vector instructions.
    std::vector<int> luminance;
    std::vector<int> sums;
    std::vector<char> hidden;
    const auto fillRun = [&](int y, int from, int to) {
        if (from > to)
            return;
        const int cells = to - from + 1;
        const int pixels = cells * f;
        luminance.resize(std::size_t(pixels));
        sums.assign(std::size_t(cells), 0);
        hidden.assign(std::size_t(cells), 0);
        for (int sy = y * f; sy < y * f + f; sy += rowStep) {
            const auto* row = reinterpret_cast<const QRgb*>(bits + sy * stride) + from * f;
            int* lum = luminance.data();
            for (int i = 0; i < pixels; ++i)
                lum[i] = grey256(row[i]);
            for (int x = 0; x < cells; ++x)
                for (int i = 0; i < f; ++i)
                    sums[std::size_t(x)] += lum[x * f + i];
            if (masked) {
                const uchar* m = hiddenBits + sy * hiddenStride + from * f;
                for (int i = 0; i < pixels; ++i)
                    hidden[std::size_t(i / f)] |= char(m[i] != 0);
            }
        }
        for (int x = 0; x < cells; ++x)
            grey.at(from + x, y) =
                hidden[std::size_t(x)] ? kNaN : float(sums[std::size_t(x)]) * scale * rowStep;
    };
    for (int y = y0; y <= y1; ++y) {
        const Runs& r = layout[std::size_t(y - y0)];
        fillRun(y, r.a0, r.a1);
        fillRun(y, std::max(r.b0, r.a1 + 1), r.b1);
    }

    const auto sobel = [&](int x, int y, float& gx, float& gy) {
        const float a = grey.at(x - 1, y - 1), b = grey.at(x, y - 1), d = grey.at(x + 1, y - 1);
        const float e = grey.at(x - 1, y), g = grey.at(x + 1, y);
        const float h = grey.at(x - 1, y + 1), i = grey.at(x, y + 1), j = grey.at(x + 1, y + 1);
        gx = (d + 2.0f * g + j) - (a + 2.0f * e + h);
        gy = (h + 2.0f * i + j) - (a + 2.0f * b + d);
    };

    // Magnitudes one pixel beyond the ring, for the maxima's neighbours; the
    // picture's outermost pixels have no Sobel and get none.
    const double mInner = std::max(0.0, inner - kMagnitudeMargin);
    const double mOuter = outer + kMagnitudeMargin;
    std::vector<float> sample;
    for (int y = std::max(y0, 1); y <= std::min(y1, height - 2); ++y) {
        forRuns(rowRuns(c, y, mInner, mOuter, std::max(x0, 1), std::min(x1, width - 2)),
                [&](int x) {
                    float gx, gy;
                    sobel(x, y, gx, gy);
                    const float m = std::sqrt(gx * gx + gy * gy);
                    magnitude.at(x, y) = m;
                    if (!std::isnan(m))
                        sample.push_back(m);
                });
    }
    if (sample.empty())
        return edges;
    auto middle = sample.begin() + std::ptrdiff_t(sample.size() / 2);
    std::nth_element(sample.begin(), middle, sample.end());
    const float threshold = std::max(kMinStrength, kNoiseFactor * *middle);

    for (int y = std::max(y0, 2); y <= std::min(y1, height - 3); ++y) {
        forRuns(rowRuns(c, y, inner, outer, std::max(x0, 2), std::min(x1, width - 3)), [&](int x) {
            const float m = magnitude.at(x, y);
            if (!(m >= threshold))
                return;
            float gx, gy;
            sobel(x, y, gx, gy);
            const bool across = std::abs(gx) >= std::abs(gy);
            const float before = across ? magnitude.at(x - 1, y) : magnitude.at(x, y - 1);
            const float after = across ? magnitude.at(x + 1, y) : magnitude.at(x, y + 1);
            if (!(m > before && m >= after))
                return;
            const double offset = 0.5 * (before - after) / (before - 2.0 * m + after);
            EdgePoint p;
            p.pos = QPointF((x + 0.5 + (across ? offset : 0.0)) * f,
                            (y + 0.5 + (across ? 0.0 : offset)) * f);
            p.nx = gx / m;
            p.ny = gy / m;
            p.strength = m;
            edges.push_back(p);
        });
    }
    return edges;
}

} // namespace orvanta
