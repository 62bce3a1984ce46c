// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/compassrenderer.h"

#include "render/dirtybands.h"
#include "render/windowplacement.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <cstring>

namespace orvanta {

namespace {

[[nodiscard]] bool isPanel(Placement p) {
    return p == Placement::BasePanel || p == Placement::SlidePanel;
}

// A layer that turns with the compass: about the compass's pivot in the window.
void turnWithCompass(Layer& layer, const FrameGeometry& g) {
    layer.pivot = g.centre - layer.position;
    layer.angle = float(-g.angle);
}

// The height of the dirty region's bands: low enough that the band along a
// figure's outline stays narrow where the outline runs slanted, high enough
// that a frame's region keeps a few hundred rectangles at most.
constexpr int kDirtyBand = 16;
// Smoothed and antialiased drawing reaches one pixel beyond the exact outline
// of a layer or a line; a second pixel absorbs the difference between how the
// outline is flattened here and how the painter flattens it.
constexpr qreal kDirtyPad = 2.0;
// Positions computed in floating point from the same state differ from a
// whole-pixel shift by rounding only.
constexpr double kShiftTolerance = 1e-6;

// The columns in which two bitmaps of the same height differ, from the first
// difference to the end of the wider one; null when they are not comparable,
// empty when they are the same.
QRect changedColumns(const QImage& before, const QImage& now) {
    if (before.isNull() || now.isNull() || before.height() != now.height() ||
        before.format() != now.format() || before.depth() != 32)
        return {};
    const int common = std::min(before.width(), now.width());
    int first = common;
    for (int y = 0; y < now.height() && first > 0; ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(now.constScanLine(y));
        if (std::memcmp(a, b, std::size_t(first) * sizeof(QRgb)) == 0)
            continue;
        int x = 0;
        while (x < first && a[x] == b[x])
            ++x;
        first = x;
    }
    const int end = std::max(before.width(), now.width());
    return QRect(first, 0, end - first, now.height());
}

// `source` premultiplied, converted again only when it changed.
const QImage& premultipliedCopy(const QImage& source, QImage& copy, std::int64_t& key) {
    if (source.format() == QImage::Format_ARGB32_Premultiplied)
        return source;
    if (key != source.cacheKey() || copy.isNull() != source.isNull()) {
        copy = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        key = source.cacheKey();
    }
    return copy;
}

} // namespace

Frame CompassRenderer::idleUpdate(RenderInput& in) {
    if (layers.empty())
        return {};
    if (in.model.state.needsRepaint)
        return renderCompass(in);
    if (needsWindowUpdate || in.foreground == m_drawnInactive)
        return updateWindow(in.model.options, in.foreground);
    return {};
}

Frame CompassRenderer::renderCompass(RenderInput& in) {
    Frame frame;
    if (layers.empty())
        return frame;
    CompassState& state = in.model.state;
    const QRect desktop(QPoint(0, 0), in.desktop.virtualRect.size());
    if (desktop != m_desktop || in.desktop.virtualRect.topLeft() != m_desktopTopLeft) {
        // Desktop coordinates moved or the window no longer fits: start afresh.
        m_desktop = desktop;
        m_desktopTopLeft = in.desktop.virtualRect.topLeft();
        m_poses.clear();
    }
    state.normalizeCompass(in.model.options, in.ctrlDown);
    frame.readoutChanged = in.model.updateReadout();
    placeLayers(in);

    if (!meetsDesktop(layerBounds(layers), in.desktop)) {
        centreOnScreen(state, in.desktop);
        frame.recentred = true;
        return frame;
    }
    // Only a compass still on the desktop brings its readout back: one
    // beyond it is centred again above.
    keepReadoutOnMonitor(in.desktop);
    const QRect bounds = layerBounds(layers);
    const Frame pushed = present(in.model.options, in.foreground, bounds);
    frame.pushed = pushed.pushed;
    frame.moved = pushed.moved;
    frame.window = pushed.window;
    frame.dirty = pushed.dirty;
    frame.rendered = true;
    state.storeCompassState(in.model.options);
    return frame;
}

Frame CompassRenderer::updateWindow(const Settings& options, bool foreground) {
    return present(options, foreground, layerBounds(layers));
}

std::vector<CompassRenderer::LayerPose> CompassRenderer::poses() const {
    std::vector<LayerPose> result;
    result.reserve(layers.layers().size());
    for (const auto& owned : layers.layers()) {
        const Layer& l = *owned;
        // A hidden layer's outline is never asked for.
        LayerPose pose{&l,      l.contentKey(), l.position,
                       l.pivot, l.angle,        l.visible,
                       0,       false,          l.visible ? l.footprint() : QPolygonF()};
        if (&l == layers.shapeLayer) {
            pose.colour = layers.shapeLayer->colour;
            pose.antialiased = layers.shapeLayer->antialiased;
        }
        result.push_back(std::move(pose));
    }
    return result;
}

namespace {

bool samePoint(QPointF a, QPointF b) {
    return std::abs(a.x() - b.x()) <= kShiftTolerance && std::abs(a.y() - b.y()) <= kShiftTolerance;
}

// The same picture, wherever it is placed. A turning layer's pivot is the
// compass's centre less its position, so it carries the rounding of both.
template <class Pose> bool sameLook(const Pose& a, const Pose& b) {
    return a.layer == b.layer && a.content == b.content && samePoint(a.pivot, b.pivot) &&
           a.angle == b.angle && a.visible == b.visible && a.colour == b.colour &&
           a.antialiased == b.antialiased;
}

template <class Pose> bool sameLayers(const std::vector<Pose>& a, const std::vector<Pose>& b) {
    return a.size() == b.size() && !a.empty() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](const Pose& x, const Pose& y) { return x.layer == y.layer; });
}

// The whole-pixel shift by which every layer moved while looking the same, or
// nothing when anything else changed.
template <class Pose>
std::optional<QPoint> commonShift(const std::vector<Pose>& before, const std::vector<Pose>& now) {
    std::optional<QPoint> shift;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (!sameLook(before[i], now[i]))
            return std::nullopt;
        const QPointF d = now[i].position - before[i].position;
        const QPoint whole(int(std::lround(d.x())), int(std::lround(d.y())));
        if (std::abs(d.x() - whole.x()) > kShiftTolerance ||
            std::abs(d.y() - whole.y()) > kShiftTolerance || (shift && *shift != whole))
            return std::nullopt;
        shift = whole;
    }
    return shift;
}

} // namespace

QRegion CompassRenderer::changedRegion(const std::vector<LayerPose>& now,
                                       const QList<QPolygonF>& outline, bool& figureInside) const {
    figureInside = false;
    DirtyBands bands(m_window.rect(), kDirtyBand);
    for (std::size_t i = 0; i < now.size(); ++i) {
        const LayerPose& was = m_poses[i];
        const LayerPose& is = now[i];
        const bool placedAlike = samePoint(was.position, is.position) && was.angle == is.angle &&
                                 samePoint(was.pivot, is.pivot) && was.visible == is.visible;
        if (placedAlike && sameLook(was, is))
            continue;
        if (is.layer == layers.shapeLayer) {
            for (const QPolygonF& line : (was.visible ? m_outline : QList<QPolygonF>()))
                bands.addPolyline(line, kDirtyPad);
            for (const QPolygonF& line : (is.visible ? outline : QList<QPolygonF>()))
                bands.addPolyline(line, kDirtyPad);
            // The band holds every pixel the outline's stroke reaches.
            figureInside = is.visible;
            continue;
        }
        if (is.layer == layers.baseLayer && placedAlike && !m_baseChange.isNull()) {
            // The bar grew or shrank at its end: only those columns changed.
            if (is.visible)
                bands.addConvex(layers.baseLayer->footprint(m_baseChange), kDirtyPad);
            continue;
        }
        if (was.visible)
            bands.addConvex(was.footprint, kDirtyPad);
        if (is.visible)
            bands.addConvex(is.footprint, kDirtyPad);
    }
    return bands.region();
}

Frame CompassRenderer::present(const Settings& options, bool foreground, const QRect& newBounds) {
    Frame frame;
    m_drawnInactive = !foreground;
    needsWindowUpdate = false;
    bounds = newBounds & m_desktop;
    const int alpha = windowAlpha(options.transparency, foreground);
    std::vector<LayerPose> now = poses();
    const bool comparable = alpha == m_alpha && sameLayers(m_poses, now);
    const std::optional<QPoint> shift =
        comparable ? commonShift(m_poses, now) : std::optional<QPoint>();
    const QRect before = m_window.rect();
    const QRect placed = placeWindow(newBounds, before, m_desktop, shift);
    frame.window = placed;

    const ShapeLayer* figure = layers.shapeLayer;
    const auto figureAt = [&](const std::vector<LayerPose>& list) -> const LayerPose* {
        for (const LayerPose& p : list)
            if (p.layer == figure)
                return &p;
        return nullptr;
    };
    const LayerPose* figureBefore = figureAt(m_poses);
    const LayerPose* figureNow = figureAt(now);
    const bool figureChanged = !figureBefore || !figureNow ||
                               !samePoint(figureBefore->position, figureNow->position) ||
                               !sameLook(*figureBefore, *figureNow);

    if (shift && !before.isEmpty() && placed == before.translated(*shift)) {
        // Carried along, or nothing changed at all: every pixel stays.
        m_window.setRect(placed);
        frame.moved = !shift->isNull();
        for (QPolygonF& line : m_outline)
            line.translate(*shift);
    } else {
        const QList<QPolygonF> outline =
            figure && figureChanged ? figure->drawnOutline() : m_outline;
        QRegion dirty;
        bool figureInside = true;
        if (placed != before || !comparable) {
            m_window.setRect(placed);
            dirty = QRegion(placed);
        } else {
            dirty = changedRegion(now, outline, figureInside);
        }
        m_window.redraw(layers, dirty, alpha, figureInside ? figure : nullptr);
        m_outline = outline;
        frame.dirty = dirty;
        frame.pushed = !dirty.isEmpty();
    }
    m_poses = std::move(now);
    m_alpha = alpha;
    return frame;
}

void CompassRenderer::centreOnScreen(CompassState& state, const DesktopGeometry& desktop) const {
    const QPointF pivot = layers.baseLayer ? layers.baseLayer->pivot : QPointF();
    orvanta::centreOnScreen(state, desktop, pivot);
}

void CompassRenderer::placeLayers(RenderInput& in) {
    const CompassState& state = in.model.state;
    const Settings& options = in.model.options;
    Skin& skin = in.skin;
    const int spread = int(state.measurement);
    Layer& base = *layers.baseLayer;
    const FrameGeometry g = frameGeometry(skin, base.pivot, QPoint(state.posX, state.posY), spread,
                                          double(state.displayAngle));
    m_geometry = g;

    placeBase(skin, g);
    base.position = QPointF(g.origin);
    base.angle = float(-g.angle);

    if (Layer* slide = layers.slideLayer) {
        slide->position = g.slidePosition;
        turnWithCompass(*slide, g);
    }
    if (Layer* panel = layers.basePanelLayer) {
        panel->position = g.basePanelPosition;
        panel->angle = 0.0f;
    }
    if (Layer* panel = layers.slidePanelLayer) {
        panel->position = g.slidePanelPosition;
        panel->angle = 0.0f;
    }

    if (Layer* readout = layers.readoutLayer) {
        readout->position = controlPosition(skin, g, skin.sizeRect.rect(ControlRects::Placement),
                                            layers.readoutPlacement);
        if (isPanel(layers.readoutPlacement))
            readout->angle = 0.0f;
        else
            turnWithCompass(*readout, g);
        // Drawn again only for a new text or a new bitmap (a new composition),
        // so that a frame that only moves leaves the readout as it was.
        if (readout->bitmap.cacheKey() != m_readoutKey || state.displayText != m_readoutText) {
            drawReadout(state.displayText);
            m_readoutText = state.displayText;
            m_readoutKey = readout->bitmap.cacheKey();
        }
    }

    placeFigure(options, skin, g);

    for (int i = 0; i < kControlCount; ++i) {
        const ControlLayers& triple = layers.controlLayers[std::size_t(i)];
        if (!triple.exists())
            continue;
        Layer& normal = *triple.normal;
        normal.position = controlPosition(
            skin, g, skin.controls[std::size_t(i)].rect(ControlRects::Placement), triple.placement);
        if (isPanel(triple.placement))
            normal.angle = 0.0f;
        else
            turnWithCompass(normal, g);
        for (Layer* look : {triple.pressed, triple.hover}) {
            look->position = normal.position;
            look->pivot = normal.pivot;
            look->angle = normal.angle;
        }
    }
}

void CompassRenderer::keepReadoutOnMonitor(const DesktopGeometry& desktop) {
    // Past a monitor's edge the readout comes back inside, so that a long
    // spread near the edge still shows its value; where it fits it stays.
    Layer* readout = layers.readoutLayer;
    if (!readout || !readout->visible)
        return;
    // Brought back, it keeps off the compass's own parts and their controls.
    QList<QPolygonF> compass;
    for (const Layer* part :
         {layers.baseLayer, layers.slideLayer, layers.basePanelLayer, layers.slidePanelLayer})
        if (part && part->visible)
            compass << part->footprint();
    QPointF shift = readoutShift(readout->footprint().boundingRect(), m_geometry.centre,
                                 m_geometry.angle, desktopMonitors(desktop), compass);
    if (isPanel(layers.readoutPlacement)) // upright text stays on whole pixels
        shift = QPointF(std::round(shift.x()), std::round(shift.y()));
    readout->position += shift;
    // Off its place the readout has left the skin's panel behind it, so it
    // brings the skin's readout background along and reads over any desktop.
    const bool backed = !shift.isNull();
    if (backed != m_readoutBacked) {
        m_readoutBacked = backed;
        drawReadout(m_readoutText);
        m_readoutKey = readout->bitmap.cacheKey();
    }
}

void CompassRenderer::placeBase(const Skin& skin, const FrameGeometry& g) {
    Layer& base = *layers.baseLayer;
    const BarTiles tiles = barTiles(skin, g.spread, layers.baseBitmap.size());
    if (!base.bitmap.isNull() && base.bitmap.cacheKey() == m_baseKey && tiles == m_tiles) {
        m_baseChange = QRect(); // unchanged: any change is a new composition
        return;
    }
    // Build into the bitmap of two frames ago and keep the last one to compare.
    const bool sameLayer = base.bitmap.cacheKey() == m_baseKey;
    std::swap(base.bitmap, m_previousBase);
    buildBaseBitmap(base.bitmap, tiles,
                    premultipliedCopy(layers.baseBitmap, m_basePiece, m_basePieceKey),
                    premultipliedCopy(layers.barBitmap, m_barPiece, m_barPieceKey));
    m_baseChange = sameLayer ? changedColumns(m_previousBase, base.bitmap) : QRect();
    m_baseKey = base.bitmap.cacheKey();
    m_tiles = tiles;
}

void CompassRenderer::placeFigure(const Settings& options, Skin& skin, const FrameGeometry& g) {
    ShapeLayer* shape = layers.shapeLayer;
    if (!shape)
        return;
    const FigureKey key{options.shape, int(options.scribe), g.spread,
                        isPolygon(options.shape) ? g.angle : 0.0};
    // A new layer (a new composition) has no outline yet.
    if (shape->outline().isEmpty() || key != m_figure) {
        FigurePath figure = figurePath(options.shape, int(options.scribe), g.spread, g.angle);
        shape->setOutline(std::move(figure.outline), figure.side);
        m_figure = key;
        m_figureK = figure.k;
    }
    shape->position = g.centre - QPointF(m_figureK + 1, m_figureK + 1);
    shape->angle = 0.0f;
    shape->colour = colorToRgb(skin.baseColor());
    shape->antialiased = options.quality;
}

void CompassRenderer::drawReadout(const QString& text) {
    QImage& bitmap = layers.readoutLayer->bitmap;
    bitmap.fill(m_readoutBacked ? layers.readoutBackground | 0xff000000u
                                : layers.readoutBackground);
    if (bitmap.isNull() || text.isEmpty())
        return;
    QPainter p(&bitmap);
    p.setFont(layers.readoutFont);
    p.setPen(QColor::fromRgba(layers.readoutColour));
    const QFontMetrics metrics(layers.readoutFont);
    const int x = readoutTextX(bitmap.width(), metrics.horizontalAdvance(text));
    p.drawText(QPoint(x, metrics.ascent()), text);
}

} // namespace orvanta
