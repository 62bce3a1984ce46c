// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "vision/edges.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <span>

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

// The distance that shapes a ring: from the centre for a circle; for a
// regular polygon, to the side whose outward normal it lies farthest along.
// Either changes by at most a pixel a pixel, so widening a ring by a margin
// takes in every pixel within that margin of it.
class Outline {
public:
    Outline(QPointF c, int sides, double theta) : m_centre(c) {
        if (sides < 3)
            return;
        m_normals.reserve(std::size_t(sides));
        for (int k = 0; k < sides; ++k) {
            const double a = theta + 2.0 * std::numbers::pi * k / sides;
            m_normals.push_back({std::cos(a), std::sin(a)});
        }
    }
    QPointF centre() const { return m_centre; }
    bool circular() const { return m_normals.empty(); }

    // Where the line `dy` below the centre lies within `r`: [lo, hi] from
    // the centre's x; false when nowhere.
    bool span(double dy, double r, double& lo, double& hi) const {
        if (circular()) {
            if (std::abs(dy) > r)
                return false;
            hi = std::sqrt(r * r - dy * dy);
            lo = -hi;
            return true;
        }
        lo = -std::numeric_limits<double>::infinity();
        hi = std::numeric_limits<double>::infinity();
        for (const auto& [nx, ny] : m_normals) {
            const double room = r - dy * ny;
            if (std::abs(nx) < 1e-12) {
                if (room < 0.0)
                    return false;
            } else if (nx > 0.0) {
                hi = std::min(hi, room / nx);
            } else {
                lo = std::max(lo, room / nx);
            }
        }
        return lo <= hi;
    }

private:
    QPointF m_centre;
    std::vector<std::pair<double, double>> m_normals;
};

// The pixels of row y whose centres lie between `inner` and `outer` of the
// outline, within [xmin, xmax]: up to two runs, [a0, a1] and [b0, b1].
struct Runs {
    int a0 = 1, a1 = 0, b0 = 1, b1 = 0;
};

Runs rowRuns(const Outline& o, int y, double inner, double outer, int xmin, int xmax) {
    Runs r;
    const QPointF c = o.centre();
    const double dy = y + 0.5 - c.y();
    double lo = 0.0, hi = 0.0;
    if (!o.span(dy, outer, lo, hi))
        return r;
    r.a0 = std::max(xmin, int(std::ceil(c.x() + lo - 0.5)));
    r.a1 = std::min(xmax, int(std::floor(c.x() + hi - 0.5)));
    double holeLo = 0.0, holeHi = 0.0;
    if (inner <= 0.0 || (o.circular() && inner <= std::abs(dy)) ||
        !o.span(dy, inner, holeLo, holeHi))
        return r;
    r.b0 = std::max(r.a0, int(std::floor(c.x() + holeHi - 0.5)));
    r.b1 = r.a1;
    r.a1 = std::min(r.a1, int(std::ceil(c.x() + holeLo - 0.5)));
    return r;
}

template <typename F> void forRuns(const Runs& r, F f) {
    if (r.a0 <= r.a1)
        f(r.a0, r.a1);
    const int b0 = std::max(r.b0, r.a1 + 1);
    if (b0 <= r.b1)
        f(b0, r.b1);
}

// Floats over the ring's rows only where the ring needs them: a long ring's
// bounding box is mostly hole, and memory never touched before costs a page
// fault a page. Anything outside reads as NaN, and so does what is inside
// until written, unless the grid is `filled` (every value written first).
class Grid {
public:
    Grid(int y0, std::vector<Runs> rows, bool filled) : m_y0(y0), m_rows(std::move(rows)) {
        std::size_t size = 0;
        m_offsets.reserve(m_rows.size());
        for (Runs& r : m_rows) {
            r.b0 = std::max(r.b0, r.a1 + 1);
            m_offsets.push_back(size);
            size += std::size_t(std::max(0, r.a1 - r.a0 + 1) + std::max(0, r.b1 - r.b0 + 1));
        }
        m_size = size;
        m_data.reset(new float[size]);
        if (!filled)
            std::fill_n(m_data.get(), size, kNaN);
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
    // Row y's values from x = from to x = to, one after another, or null when
    // they are not kept so. A row's second run follows its first.
    float* span(int y, int from, int to) {
        if (y < m_y0 || y >= m_y0 + int(m_rows.size()) || from > to)
            return nullptr;
        const std::size_t row = std::size_t(y - m_y0);
        const Runs& r = m_rows[row];
        const int lengthA = std::max(0, r.a1 - r.a0 + 1);
        const int end = lengthA > 0 && r.b0 == r.a1 + 1 && r.b1 >= r.b0 ? r.b1 : r.a1;
        if (lengthA > 0 && from >= r.a0 && to <= end)
            return m_data.get() + m_offsets[row] + std::size_t(from - r.a0);
        if (from >= r.b0 && to <= r.b1)
            return m_data.get() + m_offsets[row] + std::size_t(lengthA + from - r.b0);
        return nullptr;
    }
    std::span<const float> values() const { return {m_data.get(), m_size}; }

private:
    int m_y0;
    std::vector<Runs> m_rows;
    std::vector<std::size_t> m_offsets;
    std::unique_ptr<float[]> m_data;
    std::size_t m_size = 0;
    float m_outside = kNaN;
};

// The grey levels of one run of cells of row y, each the average of f × f
// pixels (every `rowStep`th row of them), NaN where a pixel is hidden. A
// fixed f lets the compiler turn the loops into vector instructions.
template <int f>
void boxAverages(const QImage& picture, const uchar* hiddenBits, qsizetype hiddenStride, int y,
                 int from, int cells, int rowStep, float* out, std::vector<quint32>& sums) {
    const uchar* bits = picture.constBits();
    const qsizetype stride = picture.bytesPerLine();
    const float scale = float(rowStep) / (256.0f * float(f * f));
    // Luminance ×256 (77 red + 150 green + 29 blue) in integers, so the sums
    // stay exact. Red and blue are summed side by side in one word, green in
    // another, and weighed once a cell: a block of at most 16 × 16 pixels
    // keeps each sum below 2^16.
    static_assert(f * f <= 256);
    sums.assign(2 * std::size_t(cells), 0);
    quint32* redBlue = sums.data();
    quint32* green = sums.data() + cells;
    for (int sy = y * f; sy < y * f + f; sy += rowStep) {
        const auto* row = reinterpret_cast<const QRgb*>(bits + sy * stride) + from * f;
        for (int x = 0; x < cells; ++x) {
            quint32 rb = 0, g = 0;
            for (int i = 0; i < f; ++i) {
                rb += row[x * f + i] & 0xff00ffu;
                g += (row[x * f + i] >> 8) & 0xffu;
            }
            redBlue[x] += rb;
            green[x] += g;
        }
    }
    for (int x = 0; x < cells; ++x) {
        const int sum =
            77 * int(redBlue[x] >> 16) + 150 * int(green[x]) + 29 * int(redBlue[x] & 0xffffu);
        out[x] = float(sum) * scale;
    }
    if (!hiddenBits)
        return;
    for (int sy = y * f; sy < y * f + f; sy += rowStep) {
        const uchar* m = hiddenBits + sy * hiddenStride + from * f;
        for (int x = 0; x < cells; ++x)
            for (int i = 0; i < f; ++i)
                if (m[x * f + i] != 0)
                    out[x] = kNaN;
    }
}

using BoxAverages = void (*)(const QImage&, const uchar*, qsizetype, int, int, int, int, float*,
                             std::vector<quint32>&);

BoxAverages boxAveragesFor(int f) {
    switch (f) {
    case 1:
        return boxAverages<1>;
    case 2:
        return boxAverages<2>;
    case 4:
        return boxAverages<4>;
    case 8:
        return boxAverages<8>;
    case 16:
        return boxAverages<16>;
    default:
        return nullptr;
    }
}

// The median of the values that are not NaN, exactly: a histogram finds the
// stretch of values it lies in, and only those are put in order.
float median(std::span<const float> values) {
    constexpr float kBinsPerLevel = 8.0f;
    constexpr int kBins = 12000; // Sobel magnitudes stay below 1443
    std::vector<std::size_t> histogram(kBins + 1);
    const auto binOf = [](float v) {
        return v <= 0.0f ? 0 : 1 + std::min(kBins - 1, int(v * kBinsPerLevel));
    };
    std::size_t count = 0;
    for (const float v : values)
        if (!std::isnan(v)) {
            ++histogram[std::size_t(binOf(v))];
            ++count;
        }
    if (count == 0)
        return kNaN;
    std::size_t rank = count / 2;
    int bin = 0;
    while (rank >= histogram[std::size_t(bin)]) {
        rank -= histogram[std::size_t(bin)];
        ++bin;
    }
    if (bin == 0)
        return 0.0f; // magnitudes are never negative: the first bin holds only zeros
    std::vector<float> inBin;
    inBin.reserve(histogram[std::size_t(bin)]);
    for (const float v : values)
        if (!std::isnan(v) && binOf(v) == bin)
            inBin.push_back(v);
    auto middle = inBin.begin() + std::ptrdiff_t(rank);
    std::nth_element(inBin.begin(), middle, inBin.end());
    return *middle;
}

} // namespace

std::vector<EdgePoint> ringEdges(const QImage& picture, const QImage& ignore, const Ring& ring,
                                 int factor) {
    std::vector<EdgePoint> edges;
    const BoxAverages averages = boxAveragesFor(factor);
    Q_ASSERT(averages);
    if (!averages)
        return edges;
    const int f = factor;
    const int width = picture.width() / f;
    const int height = picture.height() / f;
    if (width < 5 || height < 5)
        return edges;
    const Outline outline(ring.centre / f, ring.sides, ring.theta);
    const QPointF c = outline.centre();
    const double inner = ring.inner / f;
    const double outer = ring.outer / f;
    const bool masked = !ignore.isNull() && ignore.size() == picture.size() && ignore.depth() == 8;

    // Grey levels where Sobel will look, NaN where the compass drew: the NaN
    // spreads through every sum it enters, so no edge comes from there.
    const double gInner = std::max(0.0, inner - kGreyMargin);
    const double gOuter = outer + kGreyMargin;
    // The bounding box: a polygon's corners lie farther out than its sides.
    const double reach =
        ring.sides >= 3 ? gOuter / std::cos(std::numbers::pi / ring.sides) : gOuter;
    const int y0 = std::max(0, int(std::floor(c.y() - reach)));
    const int y1 = std::min(height - 1, int(std::ceil(c.y() + reach)));
    const int x0 = std::max(0, int(std::floor(c.x() - reach)));
    const int x1 = std::min(width - 1, int(std::ceil(c.x() + reach)));
    if (y0 > y1 || x0 > x1)
        return edges;
    std::vector<Runs> layout;
    for (int y = y0; y <= y1; ++y)
        layout.push_back(rowRuns(outline, y, gInner, gOuter, x0, x1));
    Grid grey(y0, layout, true);
    Grid magnitude(y0, layout, false);
    const uchar* hiddenBits = masked ? ignore.constBits() : nullptr;
    const qsizetype hiddenStride = masked ? ignore.bytesPerLine() : 0;
    // Large blocks average every other row: the first look at a long ring
    // needs no more, and reading the picture is most of its cost.
    const int rowStep = f >= 4 ? 2 : 1;
    std::vector<quint32> sums;
    for (int y = y0; y <= y1; ++y)
        forRuns(layout[std::size_t(y - y0)], [&](int from, int to) {
            float* out = grey.span(y, from, to);
            averages(picture, hiddenBits, hiddenStride, y, from, to - from + 1, rowStep, out, sums);
        });

    const auto sobel = [&](int x, int y, float& gx, float& gy) {
        const float a = grey.at(x - 1, y - 1), b = grey.at(x, y - 1), d = grey.at(x + 1, y - 1);
        const float e = grey.at(x - 1, y), g = grey.at(x + 1, y);
        const float h = grey.at(x - 1, y + 1), i = grey.at(x, y + 1), j = grey.at(x + 1, y + 1);
        gx = (d + 2.0f * g + j) - (a + 2.0f * e + h);
        gy = (h + 2.0f * i + j) - (a + 2.0f * b + d);
    };

    // Magnitudes one pixel beyond the ring, for the maxima's neighbours; the
    // picture's outermost pixels have no Sobel and get none. A run's three
    // rows of grey levels lie one after another in memory, as a rule.
    const double mInner = std::max(0.0, inner - kMagnitudeMargin);
    const double mOuter = outer + kMagnitudeMargin;
    for (int y = std::max(y0, 1); y <= std::min(y1, height - 2); ++y) {
        const Runs runs =
            rowRuns(outline, y, mInner, mOuter, std::max(x0, 1), std::min(x1, width - 2));
        forRuns(runs, [&](int from, int to) {
            const float* up = grey.span(y - 1, from - 1, to + 1);
            const float* mid = grey.span(y, from - 1, to + 1);
            const float* down = grey.span(y + 1, from - 1, to + 1);
            float* out = magnitude.span(y, from, to);
            if (up && mid && down && out) {
                for (int k = 0; k <= to - from; ++k) {
                    const float gx = (up[k + 2] + 2.0f * mid[k + 2] + down[k + 2]) -
                                     (up[k] + 2.0f * mid[k] + down[k]);
                    const float gy = (down[k] + 2.0f * down[k + 1] + down[k + 2]) -
                                     (up[k] + 2.0f * up[k + 1] + up[k + 2]);
                    out[k] = std::sqrt(gx * gx + gy * gy);
                }
                return;
            }
            for (int x = from; x <= to; ++x) {
                float gx, gy;
                sobel(x, y, gx, gy);
                magnitude.at(x, y) = std::sqrt(gx * gx + gy * gy);
            }
        });
    }
    const float middle = median(magnitude.values());
    if (std::isnan(middle))
        return edges;
    const float threshold = std::max(kMinStrength, kNoiseFactor * middle);
    // Room for every pixel that may be an edge: growing the list by copies
    // would cost more than counting.
    const std::span<const float> values = magnitude.values();
    edges.reserve(std::size_t(
        std::count_if(values.begin(), values.end(), [&](float m) { return m >= threshold; })));

    // A pixel whose magnitude passes the threshold is an edge where it is the
    // largest across the edge; gx, gy and its neighbours' magnitudes come
    // from rows of three, as the magnitudes did.
    const auto maximum = [&](int x, int y, float m, float gx, float gy, float left, float right,
                             float above, float below) {
        const bool across = std::abs(gx) >= std::abs(gy);
        const float before = across ? left : above;
        const float after = across ? right : below;
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
    };
    for (int y = std::max(y0, 2); y <= std::min(y1, height - 3); ++y) {
        const Runs runs =
            rowRuns(outline, y, inner, outer, std::max(x0, 2), std::min(x1, width - 3));
        forRuns(runs, [&](int from, int to) {
            const float* up = grey.span(y - 1, from - 1, to + 1);
            const float* mid = grey.span(y, from - 1, to + 1);
            const float* down = grey.span(y + 1, from - 1, to + 1);
            const float* mUp = magnitude.span(y - 1, from, to);
            const float* mMid = magnitude.span(y, from - 1, to + 1);
            const float* mDown = magnitude.span(y + 1, from, to);
            if (up && mid && down && mUp && mMid && mDown) {
                for (int k = 0; k <= to - from; ++k) {
                    const float m = mMid[k + 1];
                    if (!(m >= threshold))
                        continue;
                    const float gx = (up[k + 2] + 2.0f * mid[k + 2] + down[k + 2]) -
                                     (up[k] + 2.0f * mid[k] + down[k]);
                    const float gy = (down[k] + 2.0f * down[k + 1] + down[k + 2]) -
                                     (up[k] + 2.0f * up[k + 1] + up[k + 2]);
                    maximum(from + k, y, m, gx, gy, mMid[k], mMid[k + 2], mUp[k], mDown[k]);
                }
                return;
            }
            for (int x = from; x <= to; ++x) {
                const float m = magnitude.at(x, y);
                if (!(m >= threshold))
                    continue;
                float gx, gy;
                sobel(x, y, gx, gy);
                maximum(x, y, m, gx, gy, magnitude.at(x - 1, y), magnitude.at(x + 1, y),
                        magnitude.at(x, y - 1), magnitude.at(x, y + 1));
            }
        });
    }
    return edges;
}

} // namespace orvanta
