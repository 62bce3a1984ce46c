#pragma once
// The hit regions of the compass read from the renderer's layer stack: what the
// main window hands to the interaction logic as its ICompassLayers.

#include "interaction/ports.h"
#include "render/layerstack.h"

#include <functional>
#include <utility>

namespace orvanta {

class LayerStackRegions final : public ICompassLayers {
public:
    // `stack` answers the stack in use now.
    explicit LayerStackRegions(std::function<TLayerStack&()> stack) : m_stack(std::move(stack)) {}

    [[nodiscard]] bool ControlExists(SkinControl key) const override;
    [[nodiscard]] bool HitsControl(SkinControl key, QPoint p) const override;
    [[nodiscard]] bool IsVisible(SkinControl key, ControlLayer layer) const override;
    void SetVisible(SkinControl key, ControlLayer layer, bool visible) override;
    [[nodiscard]] int StackIndex(SkinControl key) const override;
    [[nodiscard]] bool AnchoredToBase(SkinControl key) const override;
    [[nodiscard]] bool HitsSlide(QPoint p) const override;
    [[nodiscard]] bool HitsBase(QPoint p) const override;
    [[nodiscard]] bool HitsShape(QPoint p) const override;
    [[nodiscard]] std::optional<QRect> ReadoutBounds() const override;
    [[nodiscard]] QPointF BasePivot() const override;

private:
    [[nodiscard]] const TControlLayers& Control(SkinControl key) const;
    [[nodiscard]] TRotLayer* Layer(SkinControl key, ControlLayer layer) const;

    std::function<TLayerStack&()> m_stack;
};

} // namespace orvanta
