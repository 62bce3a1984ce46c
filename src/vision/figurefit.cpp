// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "vision/figurefit.h"

#include "vision/edges.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace orvanta {

namespace {

constexpr double kPi = std::numbers::pi;
// The ring looked in, and the spreads a fit may have, against the guess's.
constexpr double kLeast = 0.6;
constexpr double kMost = 1.6;
// A long ring is looked at first with pixels averaged so that its radius
// stays above this: a first guess needs no more, and it costs a fraction.
constexpr double kCoarseRadius = 100.0;
constexpr int kMostFactor = 16;
// The first guess: hypotheses from two (circle) or three (polygon) edge
// points and their gradients, each scored on a fixed sample of the points.
constexpr std::size_t kScoredPoints = 700;
constexpr int kCircleTrials = 500;
constexpr int kPolygonTrials = 5000;
constexpr std::size_t kCandidateCentres = 48;
constexpr double kSampleTolerance = 1.0; // pixels of the level looked at
constexpr double kRoughTolerance = 3.0;  // times that, before the refinement
// A point follows the figure when its gradient is this close to the figure's
// normal: 18° for circles; for polygons 15°, or less between close sides.
constexpr double kCircleAlignment = 0.95;
constexpr double kPolygonAlignment = 15.0 * kPi / 180.0;
// Two edges of opposite sense are the two sides of one stroke when the weaker
// has at least this share of the stronger's points.
constexpr double kPartnerShare = 0.25;
constexpr int kLeastGroupPoints = 6;
// What a fit must show: this share of its outline followed by edges, and at
// most this scatter about it (pixels) for any confidence.
constexpr double kLeastCoverage = 0.2;
constexpr double kLeastConfidence = 0.15;
constexpr double kWorstScatter = 1.0;
constexpr int kLeastInliers = 10;

// A figure: its centre, its turn (polygons: the direction of one side's
// outward normal) and, for each sense of edge (brighter outside: 0, darker
// outside: 1), the distance from the centre to that edge. A stroke has both,
// a filled disc one.
struct Model {
    int sides = 0;
    QPointF c;
    double theta = 0.0;
    std::array<double, 2> a{0.0, 0.0};
    std::array<bool, 2> has{false, false};
};

// How one edge point lies against a model.
struct Relation {
    double dist = 0.0; // along the figure's outward normal from the centre
    double nx = 0.0, ny = 0.0;
    double tangent = 0.0; // d dist / d theta
    int group = 0;
    bool aligned = false;
};

class Relator {
public:
    explicit Relator(const Model& m) : m_model(m) {
        if (m.sides == 0)
            return;
        m_turn = 2.0 * kPi / m.sides;
        m_perTurn = 1.0 / m_turn;
        m_tolerance = std::min(kPolygonAlignment, 0.3 * m_turn);
        // Each side's normal is the one before turned by a side's turn: two
        // sines and cosines instead of one a side, for every hypothesis and
        // every step of the fit.
        m_normals.resize(std::size_t(m.sides));
        const double turnCos = std::cos(m_turn);
        const double turnSin = std::sin(m_turn);
        double nx = std::cos(m.theta);
        double ny = std::sin(m.theta);
        for (int k = 0; k < m.sides; ++k) {
            m_normals[std::size_t(k)] = {nx, ny};
            const double next = nx * turnCos - ny * turnSin;
            ny = nx * turnSin + ny * turnCos;
            nx = next;
        }
    }

    Relation operator()(const EdgePoint& p) const {
        Relation r;
        const double dx = p.pos.x() - m_model.c.x();
        const double dy = p.pos.y() - m_model.c.y();
        if (m_model.sides == 0) {
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < 1e-9)
                return r;
            r.nx = dx / d;
            r.ny = dy / d;
            const double dot = p.nx * r.nx + p.ny * r.ny;
            r.dist = d;
            r.group = dot > 0.0 ? 0 : 1;
            r.aligned = std::abs(dot) >= kCircleAlignment;
            return r;
        }
        const bool outward = p.nx * dx + p.ny * dy >= 0.0;
        const double phi = outward ? p.phi : p.phi + kPi;
        // Rounded to the nearest side by hand: std::round is a call into libm
        // here, and this runs for every point in every step of the fit.
        const double turns = (phi - m_model.theta) * m_perTurn;
        const auto nearest = static_cast<int>(turns + (turns >= 0.0 ? 0.5 : -0.5));
        const double off = phi - m_model.theta - double(nearest) * m_turn;
        // A few turns at most either way: no division needed.
        int side = nearest;
        while (side >= m_model.sides)
            side -= m_model.sides;
        while (side < 0)
            side += m_model.sides;
        const auto [nx, ny] = m_normals[std::size_t(side)];
        r.nx = nx;
        r.ny = ny;
        r.dist = dx * nx + dy * ny;
        r.tangent = -dx * ny + dy * nx;
        r.group = outward ? 0 : 1;
        r.aligned = std::abs(off) <= m_tolerance;
        return r;
    }

private:
    const Model& m_model;
    double m_turn = 0.0;
    double m_perTurn = 0.0;
    double m_tolerance = 0.0;
    std::vector<std::pair<double, double>> m_normals;
};

// The direction of (x, y) as a share of a turn from west, [0, 1), to within
// a five-thousandth of a radian: it sorts points into stretches of an
// outline, where libm's atan2 would be a tenth of the fit's time.
double turnOf(double x, double y) {
    const double ax = std::abs(x);
    const double ay = std::abs(y);
    const double a = std::min(ax, ay) / std::max(std::max(ax, ay), 1e-300);
    const double s = a * a;
    double r = ((-0.0464964749 * s + 0.15931422) * s - 0.327622764) * s * a + a;
    if (ay > ax)
        r = 0.5 * kPi - r;
    if (x < 0.0)
        r = kPi - r;
    if (y < 0.0)
        r = -r;
    return (r + kPi) / (2.0 * kPi);
}

// The figure's size as the compass's spread, from its distance to the sides.
double spreadOf(double apothem, const FigureGuess& g) {
    return g.sides >= 3 && g.inscribed ? apothem / std::cos(kPi / g.sides) : apothem;
}
double apothemOf(double spread, const FigureGuess& g) {
    return g.sides >= 3 && g.inscribed ? spread * std::cos(kPi / g.sides) : spread;
}
double vertexOf(double spread, const FigureGuess& g) {
    return g.sides >= 3 && !g.inscribed ? spread / std::cos(kPi / g.sides) : spread;
}

// Solves the n×n system a x = b in place (partial pivoting); false when singular.
template <std::size_t N>
bool solve(std::array<std::array<double, N>, N>& a, std::array<double, N>& b, std::size_t n) {
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < n; ++row)
            if (std::abs(a[row][col]) > std::abs(a[pivot][col]))
                pivot = row;
        if (std::abs(a[pivot][col]) < 1e-12)
            return false;
        std::swap(a[pivot], a[col]);
        std::swap(b[pivot], b[col]);
        for (std::size_t row = col + 1; row < n; ++row) {
            const double k = a[row][col] / a[col][col];
            for (std::size_t j = col; j < n; ++j)
                a[row][j] -= k * a[col][j];
            b[row] -= k * b[col];
        }
    }
    for (std::size_t col = n; col-- > 0;) {
        for (std::size_t j = col + 1; j < n; ++j)
            b[col] -= a[col][j] * b[j];
        b[col] /= a[col][col];
    }
    return true;
}

// Points of each sense that follow a one-edge model within `tolerance`.
std::array<int, 2> support(const Model& m, const std::vector<EdgePoint>& pts, double tolerance) {
    std::array<int, 2> count{0, 0};
    const Relator relate(m);
    for (const EdgePoint& p : pts) {
        const Relation r = relate(p);
        if (r.aligned && std::abs(r.dist - m.a[0]) < tolerance)
            ++count[std::size_t(r.group)];
    }
    return count;
}

void refine(Model& m, const std::vector<EdgePoint>& pts, double scale, int steps);

// The first guess of a circle: each edge point votes for the centres its
// gradient's line passes through at the distances in range, the most voted
// place is the centre (noisy gradients blur the peak but do not move it), and
// the distance most points of one sense lie at the radius.
bool circleByVotes(const std::vector<EdgePoint>& pts, const FigureGuess& guess, double level,
                   Model& best) {
    const double least = kLeast * guess.spread;
    const double most = kMost * guess.spread;
    const double cell = level;
    const int side = int(std::ceil(2.0 * most / cell)) + 1;
    const QPointF origin = guess.centre - QPointF(most, most);
    std::vector<float> votes(std::size_t(side) * std::size_t(side));
    const double step = cell;
    // Only the strongest edges vote, as many as the figure's outline would
    // give thrice over, and the strong weigh more: a faint texture's many
    // edges must not outvote the figure.
    std::vector<const EdgePoint*> voters;
    for (const EdgePoint& p : pts)
        voters.push_back(&p);
    const auto outline = std::size_t(3.0 * 2.0 * kPi * most / level);
    if (voters.size() > outline) {
        std::nth_element(
            voters.begin(), voters.begin() + std::ptrdiff_t(outline), voters.end(),
            [](const EdgePoint* a, const EdgePoint* b) { return a->strength > b->strength; });
        voters.resize(outline);
    }
    // The votes' places in cells, a cell a step: no division in the loop.
    const int steps = int(std::floor((most - least) / step + 1e-9)) + 1;
    for (const EdgePoint* voter : voters) {
        const EdgePoint& p = *voter;
        const auto weight = float(p.strength);
        for (const double sense : {-1.0, 1.0}) {
            const double dx = sense * p.nx * step / cell;
            const double dy = sense * p.ny * step / cell;
            const double x0 = (p.pos.x() + sense * least * p.nx - origin.x()) / cell;
            const double y0 = (p.pos.y() + sense * least * p.ny - origin.y()) / cell;
            for (int i = 0; i < steps; ++i) {
                const int x = int(x0 + i * dx);
                const int y = int(y0 + i * dy);
                if (x >= 0 && y >= 0 && x < side && y < side)
                    votes[std::size_t(y) * std::size_t(side) + std::size_t(x)] += weight;
            }
        }
    }
    // The vote of each place with its neighbours', and where within them it lies.
    std::vector<float> smooth(votes.size());
    for (int y = 1; y + 1 < side; ++y)
        for (int x = 1; x + 1 < side; ++x) {
            float sum = 0.0f;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += votes[std::size_t(y + dy) * std::size_t(side) + std::size_t(x + dx)];
            smooth[std::size_t(y) * std::size_t(side) + std::size_t(x)] = sum;
        }
    // Clutter can gather votes too, but no one radius: the few best places
    // are each judged by the points of one sense at one distance from them.
    struct Peak {
        float votes;
        int x, y;
    };
    std::vector<Peak> peaks;
    for (int y = 2; y + 2 < side; ++y)
        for (int x = 2; x + 2 < side; ++x) {
            const float v = smooth[std::size_t(y) * std::size_t(side) + std::size_t(x)];
            bool highest = v > 0.0f;
            for (int dy = -2; dy <= 2 && highest; ++dy)
                for (int dx = -2; dx <= 2 && highest; ++dx)
                    highest =
                        (dx == 0 && dy == 0) ||
                        smooth[std::size_t(y + dy) * std::size_t(side) + std::size_t(x + dx)] < v;
            if (highest)
                peaks.push_back({v, x, y});
        }
    const std::size_t kept = std::min<std::size_t>(peaks.size(), kCandidateCentres);
    std::partial_sort(peaks.begin(), peaks.begin() + std::ptrdiff_t(kept), peaks.end(),
                      [](const Peak& a, const Peak& b) { return a.votes > b.votes; });
    peaks.resize(kept);

    const int bins = int(std::ceil((most - least) / cell)) + 1;
    int bestCount = 0;
    for (const Peak& peak : peaks) {
        float sx = 0.0f, sy = 0.0f;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const float v =
                    votes[std::size_t(peak.y + dy) * std::size_t(side) + std::size_t(peak.x + dx)];
                sx += v * float(dx);
                sy += v * float(dy);
            }
        Model m;
        m.c =
            origin + cell * QPointF(peak.x + 0.5 + sx / peak.votes, peak.y + 0.5 + sy / peak.votes);
        std::array<std::vector<int>, 2> count{std::vector<int>(std::size_t(bins)),
                                              std::vector<int>(std::size_t(bins))};
        // As the Relator sees a circle's points, with squares where it can:
        // this loop runs over every point for every candidate.
        const double least2 = least * least;
        const double most2 = most * most;
        constexpr double kAligned2 = kCircleAlignment * kCircleAlignment;
        for (const EdgePoint& p : pts) {
            const double dx = p.pos.x() - m.c.x();
            const double dy = p.pos.y() - m.c.y();
            const double d2 = dx * dx + dy * dy;
            const double dot = p.nx * dx + p.ny * dy;
            if (d2 < least2 || d2 >= most2 || dot * dot < kAligned2 * d2)
                continue;
            const double dist = std::sqrt(d2);
            if (dist >= least && dist < most)
                ++count[dot > 0.0 ? 0 : 1][std::size_t((dist - least) / cell)];
        }
        for (std::size_t g = 0; g < 2; ++g)
            for (std::size_t i = 0; i + 2 < std::size_t(bins); ++i) {
                const int c = count[g][i] + count[g][i + 1] + count[g][i + 2];
                if (c > bestCount) {
                    bestCount = c;
                    best = m;
                    best.a[0] = least + (double(i) + 1.5) * cell;
                }
            }
    }
    return bestCount >= kLeastGroupPoints;
}

// The first guess (RANSAC): the hypothesis that most points of one sense
// follow, with its one distance in a[0]. False when none is in range.
bool firstGuess(const std::vector<EdgePoint>& pts, const FigureGuess& guess, double level,
                Model& best) {
    if (guess.sides < 3)
        return circleByVotes(pts, guess, level, best);
    std::mt19937 random(20261207u);
    // Hypotheses come from the strongest edges, as many as the figure's
    // outline would give thrice over: faint texture must not drown it.
    std::vector<std::size_t> pool(pts.size());
    for (std::size_t i = 0; i < pts.size(); ++i)
        pool[i] = i;
    const auto outline =
        std::size_t(3.0 * 2.0 * kPi * vertexOf(kMost * guess.spread, guess) / level);
    if (pool.size() > outline) {
        std::nth_element(
            pool.begin(), pool.begin() + std::ptrdiff_t(outline), pool.end(),
            [&](std::size_t a, std::size_t b) { return pts[a].strength > pts[b].strength; });
        pool.resize(outline);
    }
    std::vector<std::size_t> chosen = pool;
    if (chosen.size() > kScoredPoints) {
        std::shuffle(chosen.begin(), chosen.end(), random);
        chosen.resize(kScoredPoints);
    }
    std::vector<EdgePoint> sample;
    sample.reserve(chosen.size());
    for (std::size_t i : chosen)
        sample.push_back(pts[i]);
    std::uniform_int_distribution<std::size_t> choose(0, pool.size() - 1);
    const auto pick = [&](std::mt19937& r) { return pool[choose(r)]; };
    // A polygon's hypotheses weigh each point's direction times the number
    // of sides; its cosine and sine are found once a point, when first drawn.
    std::vector<std::pair<double, double>> multiple;
    const auto multipleOf = [&](std::size_t i) {
        if (multiple.empty())
            multiple.assign(pts.size(), {2.0, 0.0});
        if (multiple[i].first > 1.5)
            multiple[i] = {std::cos(guess.sides * pts[i].phi), std::sin(guess.sides * pts[i].phi)};
        return multiple[i];
    };
    const double least = apothemOf(kLeast * guess.spread, guess);
    const double most = apothemOf(kMost * guess.spread, guess);
    const double tolerance = kSampleTolerance * level;
    int bestScore = 0;
    int bestRough = 0;
    const bool polygon = guess.sides >= 3;
    const double turn = polygon ? 2.0 * kPi / guess.sides : 0.0;
    const double agree = polygon ? std::min(6.0 * kPi / 180.0, 0.2 * turn) : 0.0;

    int trials = polygon ? kPolygonTrials : kCircleTrials;
    for (int t = 0; t < trials; ++t) {
        Model m;
        m.sides = polygon ? guess.sides : 0;
        if (!polygon) {
            const EdgePoint& p = pts[pick(random)];
            const EdgePoint& q = pts[pick(random)];
            // The centre is where the two gradients' lines meet.
            const double det = q.nx * p.ny - p.nx * q.ny;
            if (std::abs(det) < 0.25)
                continue;
            const double dx = q.pos.x() - p.pos.x();
            const double dy = q.pos.y() - p.pos.y();
            const double s = (dx * -q.ny + q.nx * dy) / det;
            const double u = (p.nx * dy - p.ny * dx) / det;
            if (std::abs(std::abs(s) - std::abs(u)) > kRoughTolerance * tolerance)
                continue;
            m.c = QPointF(p.pos.x() + s * p.nx, p.pos.y() + s * p.ny);
            m.a[0] = 0.5 * (std::abs(s) + std::abs(u));
        } else {
            // Three gradients, turned outward from where the compass stands,
            // that agree on the polygon's turn give its centre and size by
            // (p - c)·n = a on three sides.
            std::array<std::size_t, 3> index{};
            for (std::size_t& i : index)
                i = pick(random);
            std::array<const EdgePoint*, 3> q{&pts[index[0]], &pts[index[1]], &pts[index[2]]};
            std::array<double, 3> phi{};
            double sx = 0.0, sy = 0.0;
            // Half a turn more turns the multiple by the number of half turns.
            const double flip = guess.sides % 2 == 0 ? 1.0 : -1.0;
            for (std::size_t i = 0; i < 3; ++i) {
                const bool outward = q[i]->nx * (q[i]->pos.x() - guess.centre.x()) +
                                         q[i]->ny * (q[i]->pos.y() - guess.centre.y()) >=
                                     0.0;
                phi[i] = outward ? q[i]->phi : q[i]->phi + kPi;
                const auto [c, s] = multipleOf(index[i]);
                sx += outward ? c : flip * c;
                sy += outward ? s : flip * s;
            }
            m.theta = std::atan2(sy, sx) / guess.sides;
            std::array<std::array<double, 3>, 3> a{};
            std::array<double, 3> b{};
            std::array<double, 3> k{};
            bool agreeing = true;
            for (std::size_t i = 0; i < 3 && agreeing; ++i) {
                k[i] = std::round((phi[i] - m.theta) / turn);
                agreeing = std::abs(phi[i] - m.theta - k[i] * turn) <= agree;
                const double side = m.theta + k[i] * turn;
                a[i] = {std::cos(side), std::sin(side), 1.0};
                b[i] = a[i][0] * q[i]->pos.x() + a[i][1] * q[i]->pos.y();
            }
            if (!agreeing || (k[0] == k[1] && k[1] == k[2]) || !solve(a, b, 3))
                continue;
            m.c = QPointF(b[0], b[1]);
            m.a[0] = b[2];
        }
        if (!(m.a[0] >= least && m.a[0] <= most))
            continue;
        // Two gradients place a centre only roughly: a hypothesis that many
        // points follow roughly is refined on them before it is scored.
        const auto rough = support(m, sample, kRoughTolerance * tolerance);
        const int roughScore = std::max(rough[0], rough[1]);
        if (roughScore < kLeastGroupPoints || 2 * roughScore < bestRough)
            continue;
        bestRough = std::max(bestRough, roughScore);
        m.has[rough[0] >= rough[1] ? 0 : 1] = true;
        m.a[1] = m.a[0];
        refine(m, sample, kRoughTolerance * tolerance, 3);
        const std::size_t g = m.has[0] ? 0 : 1;
        m.a[0] = m.a[g];
        m.has = {false, false};
        if (!(m.a[0] >= least && m.a[0] <= most))
            continue;
        const auto count = support(m, sample, tolerance);
        const int score = count[g];
        if (score > bestScore) {
            bestScore = score;
            best = m;
            // Enough trials to draw a clean sample once with 99 % odds.
            const double clean = std::pow(double(score) / double(sample.size()), polygon ? 3 : 2);
            if (clean > 0.0 && clean < 1.0)
                trials = std::min(trials, t + 1 + int(std::log(0.01) / std::log(1.0 - clean)));
        }
    }
    return bestScore >= kLeastGroupPoints;
}

// Finds, for each sense of edge, the densest band of points within
// `halfWidth` of `around`, and keeps the senses that carry a stroke's or a
// disc's edge.
bool seedGroups(Model& m, const std::vector<EdgePoint>& pts, double around, double halfWidth,
                double kBin) {
    const int bins = std::max(3, int(std::ceil(2.0 * halfWidth / kBin)));
    std::array<std::vector<int>, 2> count{std::vector<int>(std::size_t(bins)),
                                          std::vector<int>(std::size_t(bins))};
    std::array<std::vector<double>, 2> sum{std::vector<double>(std::size_t(bins)),
                                           std::vector<double>(std::size_t(bins))};
    const Relator relate(m);
    for (const EdgePoint& p : pts) {
        const Relation r = relate(p);
        const double e = r.dist - around;
        if (!r.aligned || std::abs(e) >= halfWidth)
            continue;
        const auto bin = std::size_t(std::clamp(int((e + halfWidth) / kBin), 0, bins - 1));
        ++count[std::size_t(r.group)][bin];
        sum[std::size_t(r.group)][bin] += e;
    }
    std::array<int, 2> best{0, 0};
    std::array<std::size_t, 2> window{0, 0};
    for (std::size_t g = 0; g < 2; ++g) {
        for (std::size_t i = 0; i + 2 < std::size_t(bins); ++i) {
            const int c = count[g][i] + count[g][i + 1] + count[g][i + 2];
            if (c > best[g]) {
                best[g] = c;
                window[g] = i;
                m.a[g] = around + (sum[g][i] + sum[g][i + 1] + sum[g][i + 2]) / c;
            }
        }
    }
    // Clutter lines up with a figure along a side or two; an edge goes round.
    constexpr int kSectors = 16;
    std::array<std::array<bool, kSectors>, 2> seen{};
    for (const EdgePoint& p : pts) {
        const Relation r = relate(p);
        const double e = r.dist - around;
        if (!r.aligned || std::abs(e) >= halfWidth)
            continue;
        const auto g = std::size_t(r.group);
        const auto bin = std::size_t(std::clamp(int((e + halfWidth) / kBin), 0, bins - 1));
        if (bin < window[g] || bin > window[g] + 2)
            continue;
        const double turn = turnOf(p.pos.x() - m.c.x(), p.pos.y() - m.c.y());
        seen[g][std::size_t(std::clamp(int(turn * kSectors), 0, kSectors - 1))] = true;
    }
    std::array<long, 2> sectors{std::count(seen[0].begin(), seen[0].end(), true),
                                std::count(seen[1].begin(), seen[1].end(), true)};
    const int strongest = std::max(best[0], best[1]);
    const long widest = std::max(sectors[0], sectors[1]);
    for (std::size_t g = 0; g < 2; ++g)
        m.has[g] = best[g] >= kLeastGroupPoints && best[g] >= kPartnerShare * strongest &&
                   2 * sectors[g] >= widest;
    return m.has[0] || m.has[1];
}

// Gauss–Newton steps on the distances of the points to the figure, each
// weighed by Tukey's biweight at `scale` pixels: far points weigh nothing.
void refine(Model& m, const std::vector<EdgePoint>& pts, double scale, int steps) {
    const bool polygon = m.sides >= 3;
    const std::size_t n = polygon ? 5 : 4;
    const std::size_t first = polygon ? 3 : 2; // index of a[0]
    for (int step = 0; step < steps; ++step) {
        std::array<std::array<double, 5>, 5> jtj{};
        std::array<double, 5> jtr{};
        const Relator relate(m);
        for (const EdgePoint& p : pts) {
            const Relation r = relate(p);
            if (!r.aligned || !m.has[std::size_t(r.group)])
                continue;
            const double res = r.dist - m.a[std::size_t(r.group)];
            const double u = res / scale;
            if (std::abs(u) >= 1.0)
                continue;
            const double w = (1.0 - u * u) * (1.0 - u * u);
            std::array<double, 5> j{-r.nx, -r.ny, 0.0, 0.0, 0.0};
            if (polygon)
                j[2] = r.tangent;
            j[first + std::size_t(r.group)] = -1.0;
            for (std::size_t a = 0; a < n; ++a) {
                jtr[a] += w * j[a] * res;
                for (std::size_t b = 0; b < n; ++b)
                    jtj[a][b] += w * j[a] * j[b];
            }
        }
        // A sense without points keeps its distance.
        for (std::size_t g = 0; g < 2; ++g)
            if (jtj[first + g][first + g] == 0.0)
                jtj[first + g][first + g] = 1.0;
        if (!solve(jtj, jtr, n))
            return;
        m.c -= QPointF(jtr[0], jtr[1]);
        if (polygon)
            m.theta -= jtr[2];
        m.a[0] -= jtr[first];
        m.a[1] -= jtr[first + 1];
    }
}

double middleDistance(const Model& m) {
    if (m.has[0] && m.has[1])
        return 0.5 * (m.a[0] + m.a[1]);
    return m.has[0] ? m.a[0] : m.a[1];
}

// The share of the outline that edges follow, and their scatter about it.
struct Support {
    double coverage = 0.0;
    double scatter = 0.0;
    int inliers = 0;
};

Support measureSupport(const Model& m, const std::vector<EdgePoint>& pts) {
    constexpr double kInlier = 1.0;
    constexpr double kArcPerBin = 4.0;
    // A stretch of the outline counts as followed when it holds this share of
    // the points an edge gives per pixel of its length (at least 0.7).
    constexpr double kFollowed = 0.3;
    const double radius = middleDistance(m);
    const int bins = std::clamp(int(std::round(2.0 * kPi * radius / kArcPerBin)), 8, 90);
    std::vector<int> count(static_cast<std::size_t>(bins));
    Support s;
    double squares = 0.0;
    const Relator relate(m);
    for (const EdgePoint& p : pts) {
        const Relation r = relate(p);
        if (!r.aligned || !m.has[std::size_t(r.group)])
            continue;
        const double res = r.dist - m.a[std::size_t(r.group)];
        if (std::abs(res) >= kInlier)
            continue;
        ++s.inliers;
        squares += res * res;
        const double turn = turnOf(p.pos.x() - m.c.x(), p.pos.y() - m.c.y());
        ++count[std::size_t(std::clamp(int(turn * bins), 0, bins - 1))];
    }
    const int senses = int(m.has[0]) + int(m.has[1]);
    const double needed = kFollowed * senses * 2.0 * kPi * radius / bins;
    const auto followed =
        std::count_if(count.begin(), count.end(), [&](int c) { return c > 0 && c >= needed; });
    s.coverage = double(followed) / bins;
    s.scatter = s.inliers > 0 ? std::sqrt(squares / s.inliers) : kWorstScatter;
    return s;
}

// A polygon's sides are told apart by their gradients' directions, which
// need no more than turnOf's precision: libm's atan2 would cost more than
// finding the edges.
void addDirections(std::vector<EdgePoint>& pts) {
    for (EdgePoint& p : pts)
        p.phi = 2.0 * kPi * turnOf(p.nx, p.ny) - kPi;
}

// The factor the first look averages pixels by.
int coarseFactor(double vertexRadius) {
    int f = 1;
    while (f < kMostFactor && vertexRadius / (2 * f) >= kCoarseRadius)
        f *= 2;
    return f;
}

} // namespace

std::optional<FigureFit> fitFigure(const QImage& picture, const FigureGuess& guess,
                                   const QImage& ignore) {
    if (picture.isNull() || !(guess.spread >= 2.0) || (guess.sides != 0 && guess.sides < 3))
        return std::nullopt;
    QImage image = picture;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied)
        image = picture.convertToFormat(QImage::Format_RGB32);

    const bool polygon = guess.sides >= 3;
    const Ring ring{guess.centre, kLeast * apothemOf(guess.spread, guess),
                    kMost * vertexOf(guess.spread, guess)};
    const int factor = coarseFactor(ring.outer / kMost);
    std::vector<EdgePoint> coarse = ringEdges(image, ignore, ring, factor);
    if (polygon)
        addDirections(coarse);
    if (coarse.size() < std::size_t(kLeastInliers))
        return std::nullopt;
    Model m;
    if (!firstGuess(coarse, guess, factor, m))
        return std::nullopt;
    if (!seedGroups(m, coarse, m.a[0], std::max(3.0 * factor, 0.4 * m.a[0]), 0.5 * factor))
        return std::nullopt;
    refine(m, coarse, 2.5 * factor, 4);
    refine(m, coarse, 1.2 * factor, 4);

    std::vector<EdgePoint> fine;
    const std::vector<EdgePoint>* points = &coarse;
    if (factor > 1) {
        // The edges at full resolution in a band about the coarse figure's
        // outline: a polygon's follows its sides, not a ring round its corners.
        const double band = 1.5 * factor + 2.0;
        const double lo = m.has[0] && m.has[1] ? std::min(m.a[0], m.a[1]) : middleDistance(m);
        const double hi = m.has[0] && m.has[1] ? std::max(m.a[0], m.a[1]) : middleDistance(m);
        fine = ringEdges(
            image, ignore,
            Ring{m.c, std::max(0.0, lo - band), hi + band, polygon ? guess.sides : 0, m.theta}, 1);
        if (polygon)
            addDirections(fine);
        if (!seedGroups(m, fine, 0.5 * (lo + hi), 0.5 * (hi - lo) + band, 0.5))
            return std::nullopt;
        refine(m, fine, 2.0, 4);
        points = &fine;
    }
    refine(m, *points, 1.0, 6);

    const Support s = measureSupport(m, *points);
    const double confidence = s.coverage * std::max(0.0, 1.0 - s.scatter / kWorstScatter);
    const double spread = spreadOf(middleDistance(m), guess);
    if (s.coverage < kLeastCoverage || s.inliers < kLeastInliers || confidence < kLeastConfidence ||
        !(spread >= kLeast * guess.spread) || !(spread <= kMost * guess.spread))
        return std::nullopt;

    FigureFit fit;
    fit.centre = m.c;
    fit.spread = spread;
    fit.confidence = confidence;
    fit.edges = s.inliers;
    fit.angleDegrees = guess.angleDegrees;
    if (polygon) {
        // The beam of an inscribed polygon points at a corner, half a turn
        // from a side's normal; of the polygon's symmetric beams, the one
        // nearest the compass's.
        const double turn = 360.0 / guess.sides;
        double beam = m.theta * 180.0 / kPi - (guess.inscribed ? 0.5 * turn : 0.0);
        beam += std::round((guess.angleDegrees - beam) / turn) * turn;
        fit.angleDegrees = beam;
    }
    return fit;
}

QImage ignoredPixels(const QImage& screen, QPoint screenOrigin, const QImage& drawn,
                     const QRect& drawnRect) {
    QImage ignore(screen.size(), QImage::Format_Alpha8);
    ignore.fill(0);
    if (screen.hasAlphaChannel()) {
        const QImage argb = screen.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            uchar* out = ignore.scanLine(y);
            for (int x = 0; x < argb.width(); ++x)
                out[x] = qAlpha(in[x]) == 0 ? 255 : 0;
        }
    }
    const QRect both = drawnRect & QRect(screenOrigin, screen.size());
    if (both.isEmpty() || drawn.isNull())
        return ignore;
    const QImage own = drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = both.top(); y <= both.bottom(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(own.constScanLine(y - drawnRect.y()));
        uchar* out = ignore.scanLine(y - screenOrigin.y());
        for (int x = both.left(); x <= both.right(); ++x)
            if (qAlpha(in[x - drawnRect.x()]) != 0)
                out[x - screenOrigin.x()] = 255;
    }
    return ignore;
}

} // namespace orvanta
