// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/geometry.h"

#include "model/numbers.h"
#include "render/pieces.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <utility>

namespace orvanta {

namespace {

// Beyond this many sides a polygon differs from its circle by less than a
// tenth of a pixel at the longest spread a desktop allows, and its corners
// would only cost time.
constexpr int kMaxPolygonSides = 1000;
// Control points of the four cubic arcs that make the circle, as a fraction of
// the square's side, measured from the arc's ends along the tangents.
constexpr double kArcControl = 0.2753905;
// Where centreOnScreen leaves the spread.
constexpr float kCentredSpread = 100.0f;
// The room a readout moved beside the compass leaves between them.
constexpr double kCompassGap = 2.0;

[[nodiscard]] int roundToInt(double v) {
    return int(roundHalfEven(v));
}

[[nodiscard]] double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

FrameGeometry frameGeometry(const Skin& skin, QPointF pivot, QPoint origin, int spread,
                            double angleDegrees) {
    FrameGeometry g;
    g.pivot = pivot;
    g.origin = origin;
    g.spread = spread;
    g.angle = angleDegrees;
    g.centre = QPointF(origin) + pivot;
    const double r = spread;
    const SkinRect& base = skin.baseRect;
    // In floating point throughout: a hand-edited position may lie at the very
    // end of the integer range, where adding the skin's offsets would overflow.
    const QPointF o(origin);
    g.slidePosition =
        QPointF(o.x() + skin.baseEdge + r - skin.slideEdge + skin.slideRect.left - base.left,
                o.y() + skin.slideRect.top - base.top);

    const double c = std::cos(radians(angleDegrees));
    const double s = std::sin(radians(angleDegrees));
    {
        // The base panel's anchor is taken mirrored across the beam (note the
        // signs of dy): base panel anchors in skin files are drawn for that.
        const double dx = skin.basePanelAnchor.x - pivot.x() - base.left;
        const double dy = skin.basePanelAnchor.y - pivot.y() - base.top;
        g.basePanelPosition =
            QPointF(roundHalfEven(c * dx + s * dy + g.centre.x() - skin.basePanelCenter.x +
                                  skin.basePanelRect.left),
                    roundHalfEven(s * dx - c * dy + g.centre.y() - skin.basePanelCenter.y +
                                  skin.basePanelRect.top));
    }
    {
        const double dx = r - skin.slideEdge + skin.slidePanelAnchor.x - base.left;
        const double dy = skin.slidePanelAnchor.y - pivot.y() - base.top;
        g.slidePanelPosition =
            QPointF(roundHalfEven(c * dx - s * dy + g.centre.x() - skin.slidePanelCenter.x +
                                  skin.slidePanelRect.left),
                    roundHalfEven(s * dx + c * dy + g.centre.y() - skin.slidePanelCenter.y +
                                  skin.slidePanelRect.top));
    }
    return g;
}

QPointF controlPosition(const Skin& skin, const FrameGeometry& g, const SkinRect& r,
                        Placement placement) {
    const SkinRect& base = skin.baseRect;
    switch (placement) {
    case Placement::BasePanel:
        return QPointF(r.left, r.top) + g.basePanelPosition -
               QPointF(skin.basePanelAnchor.x, skin.basePanelAnchor.y) +
               QPointF(skin.basePanelCenter.x, skin.basePanelCenter.y) -
               QPointF(skin.basePanelRect.left, skin.basePanelRect.top);
    case Placement::SlidePanel:
        return QPointF(r.left, r.top) + g.slidePanelPosition -
               QPointF(skin.slidePanelAnchor.x, skin.slidePanelAnchor.y) +
               QPointF(skin.slidePanelCenter.x, skin.slidePanelCenter.y) -
               QPointF(skin.slidePanelRect.left, skin.slidePanelRect.top);
    case Placement::Base:
        return QPointF(r.left, r.top) + QPointF(g.origin) - QPointF(base.left, base.top);
    case Placement::Slide:
        return QPointF(r.left, r.top) + QPointF(g.origin) - QPointF(base.left, base.top) +
               QPointF(double(skin.baseEdge) - skin.slideEdge + g.spread, 0);
    }
    return {};
}

BarTiles barTiles(const Skin& skin, int spread, QSize baseBitmap) {
    const SkinRect& bar = skin.barRect;
    const SkinRect& base = skin.baseRect;
    BarTiles t;
    t.bitmapSize = QSize(std::max(spread + skin.baseEdge + 2, baseBitmap.width()),
                         std::max(bar.bottom - base.top, baseBitmap.height()));
    t.first = QPoint(bar.left - base.left, bar.top - base.top);
    t.step = bar.width();
    // A skin without a bar has nothing to repeat (and nothing to divide by).
    if (t.step > 0) {
        const int n = (spread - (bar.left - skin.baseEdge - base.left)) / t.step;
        t.count = n >= 0 ? n + 1 : 0;
    }
    return t;
}

void buildBaseBitmap(QImage& target, const BarTiles& tiles, const QImage& base, const QImage& bar) {
    const QImage::Format format = base.isNull() ? QImage::Format_ARGB32 : base.format();
    if (target.size() != tiles.bitmapSize || target.format() != format)
        target = QImage(tiles.bitmapSize, format);
    target.fill(0);
    if (!bar.isNull()) {
        for (int i = 0; i < tiles.count; ++i) {
            const QPoint at = tiles.first + QPoint(i * tiles.step, 0);
            if (at.x() >= target.width())
                break;
            copyPixels(target, at, bar, bar.rect());
        }
    }
    if (!base.isNull())
        copyPixels(target, QPoint(0, 0), base, base.rect());
}

bool isPolygon(int shape) {
    return shape >= 3 && shape <= kMaxPolygonSides;
}

double vertexRadius(int shape, int scribe, double spread) {
    if (!isPolygon(shape) || scribe == 1)
        return spread;
    return spread / std::cos(std::numbers::pi / shape);
}

QPolygon polygonVertices(int sides, int scribe, int spread, double angleDegrees, int k) {
    QPolygon corners;
    corners.reserve(sides);
    const double a = radians(angleDegrees);
    const double turn = 2.0 * std::numbers::pi / sides;
    const bool inscribed = scribe == 1;
    const double radius = inscribed ? spread : spread / std::cos(std::numbers::pi / sides);
    for (int i = 1; i <= sides; ++i) {
        const double t = inscribed ? i * turn + a : (i + 0.5) * turn + a;
        corners.append(QPoint(roundToInt(std::cos(t) * radius) + k + 1,
                              roundToInt(std::sin(t) * radius) + k + 1));
    }
    return corners;
}

FigurePath figurePath(int shape, int scribe, int spread, double angleDegrees) {
    const double v = vertexRadius(shape, scribe, spread);
    FigurePath f;
    f.k = roundToInt(v);
    const int diameter = roundToInt(2.0 * v);
    f.side = diameter + 4;
    if (isPolygon(shape)) {
        const QPolygon corners = polygonVertices(shape, scribe, spread, angleDegrees, f.k);
        f.outline.addPolygon(QPolygonF(corners));
        f.outline.closeSubpath();
        return f;
    }
    // The ellipse inscribed in (1, 1)-(d + 1, d + 1), one cubic arc per quarter.
    const double lo = 1.0;
    const double hi = diameter + 1.0;
    const double mid = (lo + hi) / 2.0;
    const double c = kArcControl * diameter;
    QPainterPath& p = f.outline;
    p.moveTo(hi, mid);
    p.cubicTo(hi, mid + c, mid + c, hi, mid, hi);
    p.cubicTo(mid - c, hi, lo, mid + c, lo, mid);
    p.cubicTo(lo, mid - c, mid - c, lo, mid, lo);
    p.cubicTo(mid + c, lo, hi, mid - c, hi, mid);
    p.closeSubpath();
    return f;
}

int readoutTextX(int bitmapWidth, int textWidth) {
    const int x = roundToInt(bitmapWidth / 2.0 - textWidth / 2.0 - 1.0);
    return std::max(x, 1);
}

QRect layerBounds(const LayerStack& stack) {
    QRect bounds;
    bool bottom = true;
    for (const auto& layer : stack.layers()) {
        if (bottom || layer->visible)
            bounds |= layer->transformedBounds();
        bottom = false;
    }
    return bounds;
}

bool meetsDesktop(const QRect& bounds, const DesktopGeometry& desktop) {
    const QPoint origin = desktop.virtualRect.topLeft();
    if (desktop.monitors.isEmpty())
        return bounds.intersects(QRect(QPoint(0, 0), desktop.virtualRect.size()));
    return std::any_of(desktop.monitors.begin(), desktop.monitors.end(),
                       [&](const QRect& m) { return bounds.intersects(m.translated(-origin)); });
}

namespace {

// The pixel-corner rectangle of a monitor whose pixels are `m`.
[[nodiscard]] QRectF area(const QRect& m) {
    return QRectF(m.left(), m.top(), m.width(), m.height());
}

[[nodiscard]] bool inside(const QRectF& r, const QRectF& m) {
    constexpr double kSlack = 1e-6;
    return r.left() >= m.left() - kSlack && r.top() >= m.top() - kSlack &&
           r.right() <= m.right() + kSlack && r.bottom() <= m.bottom() + kSlack;
}

[[nodiscard]] double distanceTo(const QRectF& m, QPointF p) {
    const double dx = std::max({m.left() - p.x(), 0.0, p.x() - m.right()});
    const double dy = std::max({m.top() - p.y(), 0.0, p.y() - m.bottom()});
    return std::hypot(dx, dy);
}

// The monitor the readout belongs to: the one it overlaps most, or else the nearest.
[[nodiscard]] QRectF homeMonitor(const QRectF& r, const QList<QRect>& monitors) {
    QRectF best = area(monitors.front());
    double bestOverlap = -1.0;
    double bestDistance = std::numeric_limits<double>::max();
    for (const QRect& m : monitors) {
        const QRectF a = area(m);
        const QRectF common = a.intersected(r);
        const double overlap = common.isValid() ? common.width() * common.height() : 0.0;
        const double distance = distanceTo(a, r.center());
        if (overlap > bestOverlap || (overlap == bestOverlap && distance < bestDistance)) {
            best = a;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return best;
}

// The shortest move t * d that brings `r` inside `m`, if any moves along d do.
[[nodiscard]] std::optional<QPointF> alongLine(const QRectF& r, const QRectF& m, QPointF d) {
    constexpr double kFlat = 1e-9;
    double low = -std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::max();
    const auto limit = [&](double from, double to, double step) {
        // Needs from + t * step >= 0 and to + t * step <= 0.
        if (std::abs(step) < kFlat)
            return from >= -1e-6 && to <= 1e-6;
        const double a = -from / step;
        const double b = -to / step;
        low = std::max(low, step > 0 ? a : b);
        high = std::min(high, step > 0 ? b : a);
        return true;
    };
    if (!limit(r.left() - m.left(), r.right() - m.right(), d.x()) ||
        !limit(r.top() - m.top(), r.bottom() - m.bottom(), d.y()) || low > high)
        return std::nullopt;
    const double t = std::clamp(0.0, low, high);
    return d * t;
}

// Whether the readout at `r` leaves every part of the compass uncovered;
// touching one is not covering it.
[[nodiscard]] bool clearOf(const QRectF& r, const QList<QPolygonF>& parts) {
    constexpr double kTouch = 1e-3;
    const QPolygonF box(r.adjusted(kTouch, kTouch, -kTouch, -kTouch));
    return std::none_of(parts.begin(), parts.end(),
                        [&](const QPolygonF& part) { return part.intersects(box); });
}

// The lowest and highest of the polygons' corners along `axis`, from `origin`.
[[nodiscard]] std::pair<double, double> extentAlong(const QList<QPolygonF>& polygons,
                                                    QPointF origin, QPointF axis) {
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (const QPolygonF& polygon : polygons)
        for (const QPointF& corner : polygon) {
            const double at = QPointF::dotProduct(corner - origin, axis);
            low = std::min(low, at);
            high = std::max(high, at);
        }
    return {low, high};
}

} // namespace

QPointF readoutShift(const QRectF& bounds, QPointF pivot, double angleDegrees,
                     const QList<QRect>& monitors, const QList<QPolygonF>& compass) {
    if (bounds.isEmpty() || monitors.isEmpty() ||
        std::any_of(monitors.begin(), monitors.end(),
                    [&](const QRect& m) { return inside(bounds, area(m)); }))
        return {};
    const QRectF home = homeMonitor(bounds, monitors);
    const QPointF beam(std::cos(radians(angleDegrees)), std::sin(radians(angleDegrees)));
    // The shortest move along the beam from `offset`, if there is one.
    const auto along = [&](QPointF offset) -> std::optional<QPointF> {
        if (const auto shift = alongLine(bounds.translated(offset), home, beam))
            return offset + *shift;
        return std::nullopt;
    };
    const auto clear = [&](const std::optional<QPointF>& shift) {
        return shift && clearOf(bounds.translated(*shift), compass);
    };
    // The readout's centre mirrored across the beam.
    const QPointF v = bounds.center() - pivot;
    const QPointF flip = 2.0 * (beam * QPointF::dotProduct(v, beam) - v);
    const auto straight = along({});
    if (clear(straight))
        return *straight;
    const auto flipped = along(flip);
    if (clear(flipped))
        return *flipped;
    // Beside the compass: moved across the beam until it clears the compass's
    // parts, the nearer side first, so that it does not cover the controls
    // it was brought back over.
    if (!compass.isEmpty()) {
        const QPointF across(-beam.y(), beam.x());
        const auto [partsLow, partsHigh] = extentAlong(compass, pivot, across);
        const auto [low, high] = extentAlong({QPolygonF(bounds)}, pivot, across);
        double sides[] = {partsHigh - low + kCompassGap, partsLow - high - kCompassGap};
        if (std::abs(sides[1]) < std::abs(sides[0]))
            std::swap(sides[0], sides[1]);
        for (const double side : sides) {
            const auto beside = along(across * side);
            if (clear(beside))
                return *beside;
        }
    }
    // Nowhere clear of the compass: on the monitor at least.
    if (straight)
        return *straight;
    if (flipped)
        return *flipped;
    // Nothing along the beam fits (a readout wider than the monitor, a
    // monitor too small): pushed straight in, its top-left corner first.
    const double dx =
        std::max(home.left() - bounds.left(), std::min(0.0, home.right() - bounds.right()));
    const double dy =
        std::max(home.top() - bounds.top(), std::min(0.0, home.bottom() - bounds.bottom()));
    return {dx, dy};
}

QPoint pointOnMonitors(QPoint point, const QList<QRect>& monitors) {
    QPoint best = point;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const QRect& m : monitors) {
        const QPoint nearest(std::clamp(point.x(), m.left(), m.right()),
                             std::clamp(point.y(), m.top(), m.bottom()));
        const QPoint d = nearest - point;
        const long long distance = 1LL * d.x() * d.x() + 1LL * d.y() * d.y();
        if (distance < bestDistance) {
            best = nearest;
            bestDistance = distance;
        }
    }
    return best;
}

QList<QRect> desktopMonitors(const DesktopGeometry& desktop) {
    const QPoint origin = desktop.virtualRect.topLeft();
    if (desktop.monitors.isEmpty())
        return {QRect(QPoint(0, 0), desktop.virtualRect.size())};
    QList<QRect> result;
    for (const QRect& m : desktop.monitors)
        result.append(m.translated(-origin));
    return result;
}

void centreOnScreen(CompassState& state, const DesktopGeometry& desktop, QPointF pivot) {
    const QRect& screen = desktop.primary;
    const QPoint origin = desktop.virtualRect.topLeft();
    state.angle = 0.0f;
    state.measurement = kCentredSpread;
    state.posX = screen.left() - origin.x() + screen.width() / 2 - roundToInt(pivot.x());
    state.posY = screen.top() - origin.y() + screen.height() / 2 - roundToInt(pivot.y());
    state.needsRepaint = true;
}

} // namespace orvanta
