#include "interaction/layerregions.h"

namespace orvanta {

namespace {

[[nodiscard]] bool hits(const TRotLayer* layer, QPoint p) {
    return layer && layer->HitTest(QPointF(p));
}

} // namespace

const TControlLayers& LayerStackRegions::Control(SkinControl key) const {
    return m_stack().gControlLayers[static_cast<std::size_t>(key)];
}

TRotLayer* LayerStackRegions::Layer(SkinControl key, ControlLayer layer) const {
    const TControlLayers& control = Control(key);
    switch (layer) {
    case ControlLayer::Normal:
        return control.Normal;
    case ControlLayer::Pressed:
        return control.Pressed;
    case ControlLayer::Hover:
        return control.Hover;
    }
    return nullptr;
}

bool LayerStackRegions::ControlExists(SkinControl key) const {
    return Control(key).Exists();
}

bool LayerStackRegions::HitsControl(SkinControl key, QPoint p) const {
    return ControlExists(key) && hits(Control(key).Normal, p);
}

bool LayerStackRegions::IsVisible(SkinControl key, ControlLayer layer) const {
    const TRotLayer* l = Layer(key, layer);
    return l && l->Visible;
}

void LayerStackRegions::SetVisible(SkinControl key, ControlLayer layer, bool visible) {
    if (TRotLayer* l = Layer(key, layer))
        l->Visible = visible;
}

int LayerStackRegions::StackIndex(SkinControl key) const {
    return m_stack().IndexOf(Control(key).Normal);
}

bool LayerStackRegions::AnchoredToBase(SkinControl key) const {
    const TPlacement placement = Control(key).Placement;
    return placement == TPlacement::Base || placement == TPlacement::BasePanel;
}

bool LayerStackRegions::HitsSlide(QPoint p) const {
    const TLayerStack& stack = m_stack();
    return hits(stack.gSlideLayer, p) || hits(stack.gSlidePanelLayer, p);
}

bool LayerStackRegions::HitsBase(QPoint p) const {
    const TLayerStack& stack = m_stack();
    return hits(stack.gBaseLayer, p) || hits(stack.gBasePanelLayer, p);
}

bool LayerStackRegions::HitsShape(QPoint p) const {
    return hits(m_stack().gShapeLayer, p);
}

std::optional<QRect> LayerStackRegions::ReadoutBounds() const {
    const TRotLayer* readout = m_stack().gReadoutLayer;
    if (!readout)
        return std::nullopt;
    return readout->TransformedBounds();
}

QPointF LayerStackRegions::BasePivot() const {
    const TRotLayer* base = m_stack().gBaseLayer;
    return base ? base->Pivot : QPointF();
}

} // namespace orvanta
