// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The compass as a stack of rotating layers: the collection drawn bottom to top,
// the named slots that point into it, and what composition prepared for the
// renderer (the base and bar cut-outs, the readout font). Composition builds a
// whole stack aside and swaps it in; the renderer moves and turns its layers;
// the mouse handling hit-tests them and switches the controls' looks.

#include "render/layer.h"
#include "skins/skin.h"

#include <QFont>
#include <QImage>
#include <QRgb>
#include <array>
#include <memory>
#include <vector>

namespace orvanta {

// Where a control (or the readout) is attached. The numbers are the placement
// digits of skin files.
enum class Placement { Base = 0, Slide = 1, BasePanel = 2, SlidePanel = 3 };

// One control's three looks, stacked normal, pressed, hover. A control exists
// only when all three do.
struct ControlLayers {
    Layer* normal = nullptr;
    Layer* pressed = nullptr;
    Layer* hover = nullptr;
    // Where the renderer places it: the skin's placement, or the base or slide
    // when the skin lacks the panel it names.
    Placement placement = Placement::Base;

    [[nodiscard]] bool exists() const { return normal && pressed && hover; }
};

class LayerStack {
public:
    LayerStack() = default;
    LayerStack(LayerStack&&) noexcept = default;
    LayerStack& operator=(LayerStack&&) noexcept = default;

    // Adds a layer on top and returns it.
    template <class Layer> Layer* add(std::unique_ptr<Layer> layer) {
        Layer* raw = layer.get();
        m_layers.push_back(std::move(layer));
        return raw;
    }

    [[nodiscard]] const std::vector<std::unique_ptr<Layer>>& layers() const { return m_layers; }
    [[nodiscard]] bool empty() const { return m_layers.empty(); }
    // Position in the collection, bottom = 0; -1 for a layer not in it.
    [[nodiscard]] int indexOf(const Layer* layer) const;
    // Takes the layer out and puts it back at `index` (counted without it), so
    // that the layers in between shift by one.
    void move(const Layer* layer, int index);

    Layer* baseLayer = nullptr;
    Layer* slideLayer = nullptr;
    Layer* basePanelLayer = nullptr;
    Layer* slidePanelLayer = nullptr;
    Layer* readoutLayer = nullptr;
    ShapeLayer* shapeLayer = nullptr;
    std::array<ControlLayers, kControlCount> controlLayers{}; // in SkinControl order
    Placement readoutPlacement = Placement::Base;             // as for the controls

    [[nodiscard]] ControlLayers& control(SkinControl c) {
        return controlLayers[static_cast<std::size_t>(c)];
    }
    [[nodiscard]] const ControlLayers& control(SkinControl c) const {
        return controlLayers[static_cast<std::size_t>(c)];
    }

    QImage baseBitmap; // the base part, straight ARGB32
    QImage barBitmap;  // one segment of the bar, repeated along the spread

    QFont readoutFont;
    QRgb readoutColour = 0xff000000;
    QRgb readoutBackground = 0x007f7f7f; // what the readout is cleared to, alpha 0

private:
    std::vector<std::unique_ptr<Layer>> m_layers;
};

// The layer side of choosing a measure type (0 radius, 1 circumference, 2
// area): that type's control is moved above the other two, its three looks
// kept together in their order. Types whose control the skin lacks are skipped.
void raiseMeasureTypeControl(LayerStack& stack, int measureType);

} // namespace orvanta
