// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/layerstack.h"

#include <algorithm>

namespace orvanta {

namespace {

// The controls of the measure types, indexed by MeasureKind.
constexpr std::array<SkinControl, 5> kMeasureTypeControls{
    SkinControl::Radius, SkinControl::Circumference, SkinControl::Area, SkinControl::Diameter,
    SkinControl::AngleReading};

// Puts `layer` directly below `above`.
void moveBelow(LayerStack& stack, const Layer* layer, const Layer* above) {
    const int target = stack.indexOf(above);
    stack.move(layer, stack.indexOf(layer) < target ? target - 1 : target);
}

} // namespace

int LayerStack::indexOf(const Layer* layer) const {
    const auto it = std::find_if(m_layers.begin(), m_layers.end(),
                                 [layer](const auto& owned) { return owned.get() == layer; });
    return it == m_layers.end() ? -1 : int(it - m_layers.begin());
}

void LayerStack::move(const Layer* layer, int index) {
    const int from = indexOf(layer);
    if (from < 0)
        return;
    std::unique_ptr<Layer> owned = std::move(m_layers[std::size_t(from)]);
    m_layers.erase(m_layers.begin() + from);
    index = std::clamp(index, 0, int(m_layers.size()));
    m_layers.insert(m_layers.begin() + index, std::move(owned));
}

void raiseMeasureTypeControl(LayerStack& stack, int measureType) {
    if (measureType < 0 || measureType >= int(kMeasureTypeControls.size()))
        return;
    const ControlLayers& chosen = stack.control(kMeasureTypeControls[std::size_t(measureType)]);
    if (!chosen.exists())
        return;
    for (int other = 0; other < int(kMeasureTypeControls.size()); ++other) {
        const ControlLayers& rival = stack.control(kMeasureTypeControls[std::size_t(other)]);
        if (other == measureType || !rival.exists())
            continue;
        const int rivalHover = stack.indexOf(rival.hover);
        if (stack.indexOf(chosen.hover) < rivalHover)
            stack.move(chosen.hover, rivalHover);
    }
    moveBelow(stack, chosen.pressed, chosen.hover);
    moveBelow(stack, chosen.normal, chosen.pressed);
}

} // namespace orvanta
