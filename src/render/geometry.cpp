#include "render/geometry.h"

#include "model/numbers.h"
#include "render/pieces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvanta {

namespace {

// Beyond this many sides a polygon differs from its circle by less than a
// tenth of a pixel at the longest spread a desktop allows, and its corners
// would only cost time.
constexpr int kMaxPolygonSides = 1000;
// Control points of the four cubic arcs that make the circle, as a fraction of
// the square's side, measured from the arc's ends along the tangents.
constexpr double kArcControl = 0.2753905;
// Where CentreOnScreen leaves the spread.
constexpr float kCentredSpread = 100.0f;

[[nodiscard]] int roundToInt(double v) {
    return int(roundHalfEven(v));
}

[[nodiscard]] double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

TFrameGeometry FrameGeometry(const TDervikSkin& skin, QPointF pivot, QPoint origin, int spread,
                             double angleDegrees) {
    TFrameGeometry g;
    g.Pivot = pivot;
    g.Origin = origin;
    g.Spread = spread;
    g.Angle = angleDegrees;
    g.Centre = QPointF(origin) + pivot;
    const double r = spread;
    const TRect& base = skin.BaseRect;
    // In floating point throughout: a hand-edited position may lie at the very
    // end of the integer range, where adding the skin's offsets would overflow.
    const QPointF o(origin);
    g.SlidePosition =
        QPointF(o.x() + skin.BaseEdge + r - skin.SlideEdge + skin.SlideRect.left - base.left,
                o.y() + skin.SlideRect.top - base.top);

    const double c = std::cos(radians(angleDegrees));
    const double s = std::sin(radians(angleDegrees));
    {
        // The base panel's anchor is taken mirrored across the beam (note the
        // signs of dy): base panel anchors in skin files are drawn for that.
        const double dx = skin.BasePanelAnchor.x - pivot.x() - base.left;
        const double dy = skin.BasePanelAnchor.y - pivot.y() - base.top;
        g.BasePanelPosition =
            QPointF(roundHalfEven(c * dx + s * dy + g.Centre.x() - skin.BasePanelCenter.x +
                                  skin.BasePanelRect.left),
                    roundHalfEven(s * dx - c * dy + g.Centre.y() - skin.BasePanelCenter.y +
                                  skin.BasePanelRect.top));
    }
    {
        const double dx = r - skin.SlideEdge + skin.SlidePanelAnchor.x - base.left;
        const double dy = skin.SlidePanelAnchor.y - pivot.y() - base.top;
        g.SlidePanelPosition =
            QPointF(roundHalfEven(c * dx - s * dy + g.Centre.x() - skin.SlidePanelCenter.x +
                                  skin.SlidePanelRect.left),
                    roundHalfEven(s * dx + c * dy + g.Centre.y() - skin.SlidePanelCenter.y +
                                  skin.SlidePanelRect.top));
    }
    return g;
}

QPointF ControlPosition(const TDervikSkin& skin, const TFrameGeometry& g, const TRect& r,
                        TPlacement placement) {
    const TRect& base = skin.BaseRect;
    switch (placement) {
    case TPlacement::BasePanel:
        return QPointF(r.left, r.top) + g.BasePanelPosition -
               QPointF(skin.BasePanelAnchor.x, skin.BasePanelAnchor.y) +
               QPointF(skin.BasePanelCenter.x, skin.BasePanelCenter.y) -
               QPointF(skin.BasePanelRect.left, skin.BasePanelRect.top);
    case TPlacement::SlidePanel:
        return QPointF(r.left, r.top) + g.SlidePanelPosition -
               QPointF(skin.SlidePanelAnchor.x, skin.SlidePanelAnchor.y) +
               QPointF(skin.SlidePanelCenter.x, skin.SlidePanelCenter.y) -
               QPointF(skin.SlidePanelRect.left, skin.SlidePanelRect.top);
    case TPlacement::Base:
        return QPointF(r.left, r.top) + QPointF(g.Origin) - QPointF(base.left, base.top);
    case TPlacement::Slide:
        return QPointF(r.left, r.top) + QPointF(g.Origin) - QPointF(base.left, base.top) +
               QPointF(double(skin.BaseEdge) - skin.SlideEdge + g.Spread, 0);
    }
    return {};
}

TBarTiles BarTiles(const TDervikSkin& skin, int spread, QSize baseBitmap) {
    const TRect& bar = skin.BarRect;
    const TRect& base = skin.BaseRect;
    TBarTiles t;
    t.BitmapSize = QSize(std::max(spread + skin.BaseEdge + 2, baseBitmap.width()),
                         std::max(bar.bottom - base.top, baseBitmap.height()));
    t.First = QPoint(bar.left - base.left, bar.top - base.top);
    t.Step = bar.width();
    // A skin without a bar has nothing to repeat (and nothing to divide by).
    if (t.Step > 0) {
        const int n = (spread - (bar.left - skin.BaseEdge - base.left)) / t.Step;
        t.Count = n >= 0 ? n + 1 : 0;
    }
    return t;
}

void BuildBaseBitmap(QImage& target, const TBarTiles& tiles, const QImage& base,
                     const QImage& bar) {
    if (target.size() != tiles.BitmapSize || target.format() != QImage::Format_ARGB32)
        target = QImage(tiles.BitmapSize, QImage::Format_ARGB32);
    target.fill(0);
    if (!bar.isNull()) {
        for (int i = 0; i < tiles.Count; ++i) {
            const QPoint at = tiles.First + QPoint(i * tiles.Step, 0);
            if (at.x() >= target.width())
                break;
            CopyPixels(target, at, bar, bar.rect());
        }
    }
    if (!base.isNull())
        CopyPixels(target, QPoint(0, 0), base, base.rect());
}

bool IsPolygon(int shape) {
    return shape >= 3 && shape <= kMaxPolygonSides;
}

double VertexRadius(int shape, int scribe, double spread) {
    if (!IsPolygon(shape) || scribe == 1)
        return spread;
    return spread / std::cos(std::numbers::pi / shape);
}

QPolygon PolygonVertices(int sides, int scribe, int spread, double angleDegrees, int k) {
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

TFigure Figure(int shape, int scribe, int spread, double angleDegrees) {
    const double v = VertexRadius(shape, scribe, spread);
    TFigure f;
    f.K = roundToInt(v);
    const int diameter = roundToInt(2.0 * v);
    f.Side = diameter + 4;
    if (IsPolygon(shape)) {
        const QPolygon corners = PolygonVertices(shape, scribe, spread, angleDegrees, f.K);
        f.Outline.addPolygon(QPolygonF(corners));
        f.Outline.closeSubpath();
        return f;
    }
    // The ellipse inscribed in (1, 1)-(d + 1, d + 1), one cubic arc per quarter.
    const double lo = 1.0;
    const double hi = diameter + 1.0;
    const double mid = (lo + hi) / 2.0;
    const double c = kArcControl * diameter;
    QPainterPath& p = f.Outline;
    p.moveTo(hi, mid);
    p.cubicTo(hi, mid + c, mid + c, hi, mid, hi);
    p.cubicTo(mid - c, hi, lo, mid + c, lo, mid);
    p.cubicTo(lo, mid - c, mid - c, lo, mid, lo);
    p.cubicTo(mid + c, lo, hi, mid - c, hi, mid);
    p.closeSubpath();
    return f;
}

int ReadoutTextX(int bitmapWidth, int textWidth) {
    const int x = roundToInt(bitmapWidth / 2.0 - textWidth / 2.0 - 1.0);
    return std::max(x, 1);
}

QRect LayerBounds(const TLayerStack& stack) {
    QRect bounds;
    bool bottom = true;
    for (const auto& layer : stack.Layers()) {
        if (bottom || layer->Visible)
            bounds |= layer->TransformedBounds();
        bottom = false;
    }
    return bounds;
}

bool MeetsDesktop(const QRect& bounds, const DesktopGeometry& desktop) {
    const QPoint origin = desktop.virtualRect.topLeft();
    if (desktop.monitors.isEmpty())
        return bounds.intersects(QRect(QPoint(0, 0), desktop.virtualRect.size()));
    return std::any_of(desktop.monitors.begin(), desktop.monitors.end(),
                       [&](const QRect& m) { return bounds.intersects(m.translated(-origin)); });
}

void CentreOnScreen(TCompass& state, const DesktopGeometry& desktop, QPointF pivot) {
    const QRect& screen = desktop.primary;
    const QPoint origin = desktop.virtualRect.topLeft();
    state.FAngle = 0.0f;
    state.FMeasurement = kCentredSpread;
    state.FPosX = screen.left() - origin.x() + screen.width() / 2 - roundToInt(pivot.x());
    state.FPosY = screen.top() - origin.y() + screen.height() / 2 - roundToInt(pivot.y());
    state.FNeedsRepaint = true;
}

} // namespace orvanta
