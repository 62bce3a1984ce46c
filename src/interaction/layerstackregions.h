// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The hit regions of the compass read from the renderer's layer stack: what the
// main window hands to the interaction logic as its HitLayers.

#include "interaction/ports.h"
#include "render/layerstack.h"

#include <functional>
#include <utility>

namespace orvanta {

class LayerStackRegions final : public HitLayers {
public:
    // `stack` answers the stack in use now.
    explicit LayerStackRegions(std::function<LayerStack&()> stack) : m_stack(std::move(stack)) {}

    [[nodiscard]] bool controlExists(SkinControl key) const override;
    [[nodiscard]] bool hitsControl(SkinControl key, QPoint p) const override;
    [[nodiscard]] bool isVisible(SkinControl key, ControlLayer layer) const override;
    void setVisible(SkinControl key, ControlLayer layer, bool visible) override;
    [[nodiscard]] int stackIndex(SkinControl key) const override;
    [[nodiscard]] bool anchoredToBase(SkinControl key) const override;
    [[nodiscard]] bool hitsSlide(QPoint p) const override;
    [[nodiscard]] bool hitsBase(QPoint p) const override;
    [[nodiscard]] bool hitsShape(QPoint p) const override;
    [[nodiscard]] std::optional<QRect> readoutBounds() const override;
    [[nodiscard]] QPointF basePivot() const override;

private:
    [[nodiscard]] const ControlLayers& control(SkinControl key) const;
    [[nodiscard]] Layer* controlLayer(SkinControl key, ControlLayer layer) const;

    std::function<LayerStack&()> m_stack;
};

} // namespace orvanta
