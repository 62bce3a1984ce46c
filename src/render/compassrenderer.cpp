// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/compassrenderer.h"

#include <QFontMetrics>
#include <QPainter>

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
    m_window.setSize(in.desktop.virtualRect.size());
    state.normalizeCompass(in.model.options, in.ctrlDown);
    frame.readoutChanged = in.model.updateReadout();
    placeLayers(in);

    const QRect bounds = layerBounds(layers);
    if (!meetsDesktop(bounds, in.desktop)) {
        centreOnScreen(state, in.desktop);
        frame.recentred = true;
        return frame;
    }
    const Frame pushed = present(in.model.options, in.foreground, bounds);
    frame.pushed = pushed.pushed;
    frame.dirty = pushed.dirty;
    frame.rendered = true;
    state.storeCompassState(in.model.options);
    return frame;
}

Frame CompassRenderer::updateWindow(const Settings& options, bool foreground) {
    return present(options, foreground, layerBounds(layers));
}

Frame CompassRenderer::present(const Settings& options, bool foreground, const QRect& newBounds) {
    Frame frame;
    m_drawnInactive = !foreground;
    needsWindowUpdate = false;
    bounds = newBounds & windowImage().rect();
    frame.dirty =
        m_window.present(layers, newBounds, windowAlpha(options.transparency, foreground));
    frame.pushed = !frame.dirty.isEmpty();
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

    buildBaseBitmap(base.bitmap, barTiles(skin, spread, layers.baseBitmap.size()),
                    layers.baseBitmap, layers.barBitmap);
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
        drawReadout(state.displayText);
    }

    if (ShapeLayer* shape = layers.shapeLayer) {
        FigurePath figure = figurePath(options.shape, options.scribe, spread, g.angle);
        shape->outline = std::move(figure.outline);
        shape->side = figure.side;
        shape->position = g.centre - QPointF(figure.k + 1, figure.k + 1);
        shape->angle = 0.0f;
        shape->colour = colorToRgb(skin.baseColor());
        shape->antialiased = options.quality;
    }

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

void CompassRenderer::drawReadout(const QString& text) {
    QImage& bitmap = layers.readoutLayer->bitmap;
    bitmap.fill(layers.readoutBackground);
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
