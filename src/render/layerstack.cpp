#include "render/layerstack.h"

#include <algorithm>

namespace orvanta {

namespace {

// The controls of the measure types radius, circumference and area.
constexpr std::array<SkinControl, 3> kMeasureTypeControls{
    SkinControl::Radius, SkinControl::Circumference, SkinControl::Area};

// Puts `layer` directly below `above`.
void moveBelow(TLayerStack& stack, const TRotLayer* layer, const TRotLayer* above) {
    const int target = stack.IndexOf(above);
    stack.Move(layer, stack.IndexOf(layer) < target ? target - 1 : target);
}

} // namespace

int TLayerStack::IndexOf(const TRotLayer* layer) const {
    const auto it = std::find_if(m_layers.begin(), m_layers.end(),
                                 [layer](const auto& owned) { return owned.get() == layer; });
    return it == m_layers.end() ? -1 : int(it - m_layers.begin());
}

void TLayerStack::Move(const TRotLayer* layer, int index) {
    const int from = IndexOf(layer);
    if (from < 0)
        return;
    std::unique_ptr<TRotLayer> owned = std::move(m_layers[std::size_t(from)]);
    m_layers.erase(m_layers.begin() + from);
    index = std::clamp(index, 0, int(m_layers.size()));
    m_layers.insert(m_layers.begin() + index, std::move(owned));
}

void RaiseMeasureTypeControl(TLayerStack& stack, int measureType) {
    if (measureType < 0 || measureType >= int(kMeasureTypeControls.size()))
        return;
    const TControlLayers& chosen = stack.Control(kMeasureTypeControls[std::size_t(measureType)]);
    if (!chosen.Exists())
        return;
    for (int other = 0; other < int(kMeasureTypeControls.size()); ++other) {
        const TControlLayers& rival = stack.Control(kMeasureTypeControls[std::size_t(other)]);
        if (other == measureType || !rival.Exists())
            continue;
        const int rivalHover = stack.IndexOf(rival.Hover);
        if (stack.IndexOf(chosen.Hover) < rivalHover)
            stack.Move(chosen.Hover, rivalHover);
    }
    moveBelow(stack, chosen.Pressed, chosen.Hover);
    moveBelow(stack, chosen.Normal, chosen.Pressed);
}

} // namespace orvanta
