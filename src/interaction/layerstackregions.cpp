// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/layerstackregions.h"

namespace orvanta {

namespace {

[[nodiscard]] bool hits(const Layer* layer, QPoint p) {
    return layer && layer->hitTest(QPointF(p));
}

} // namespace

const ControlLayers& LayerStackRegions::control(SkinControl key) const {
    return m_stack().controlLayers[static_cast<std::size_t>(key)];
}

Layer* LayerStackRegions::controlLayer(SkinControl key, ControlLayer layer) const {
    const ControlLayers& looks = this->control(key);
    switch (layer) {
    case ControlLayer::Normal:
        return looks.normal;
    case ControlLayer::Pressed:
        return looks.pressed;
    case ControlLayer::Hover:
        return looks.hover;
    }
    return nullptr;
}

bool LayerStackRegions::controlExists(SkinControl key) const {
    return control(key).exists();
}

bool LayerStackRegions::hitsControl(SkinControl key, QPoint p) const {
    return controlExists(key) && hits(control(key).normal, p);
}

bool LayerStackRegions::isVisible(SkinControl key, ControlLayer layer) const {
    const Layer* l = controlLayer(key, layer);
    return l && l->visible;
}

void LayerStackRegions::setVisible(SkinControl key, ControlLayer layer, bool visible) {
    if (Layer* l = controlLayer(key, layer))
        l->visible = visible;
}

int LayerStackRegions::stackIndex(SkinControl key) const {
    return m_stack().indexOf(control(key).normal);
}

bool LayerStackRegions::anchoredToBase(SkinControl key) const {
    const Placement placement = control(key).placement;
    return placement == Placement::Base || placement == Placement::BasePanel;
}

bool LayerStackRegions::hitsSlide(QPoint p) const {
    const LayerStack& stack = m_stack();
    return hits(stack.slideLayer, p) || hits(stack.slidePanelLayer, p);
}

bool LayerStackRegions::hitsBase(QPoint p) const {
    const LayerStack& stack = m_stack();
    return hits(stack.baseLayer, p) || hits(stack.basePanelLayer, p);
}

bool LayerStackRegions::hitsShape(QPoint p) const {
    return hits(m_stack().shapeLayer, p);
}

std::optional<QRect> LayerStackRegions::readoutBounds() const {
    const Layer* readout = m_stack().readoutLayer;
    if (!readout)
        return std::nullopt;
    return readout->transformedBounds();
}

QPointF LayerStackRegions::basePivot() const {
    const Layer* base = m_stack().baseLayer;
    return base ? base->pivot : QPointF();
}

} // namespace orvanta
