#pragma once
// The compass as a stack of rotating layers: the collection drawn bottom to top,
// the named slots that point into it, and what composition prepared for the
// renderer (the base and bar cut-outs, the readout font). Composition builds a
// whole stack aside and swaps it in; the renderer moves and turns its layers;
// the mouse handling hit-tests them and switches the controls' looks.

#include "render/rotlayer.h"
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
enum class TPlacement { Base = 0, Slide = 1, BasePanel = 2, SlidePanel = 3 };

// One control's three looks, stacked normal, pressed, hover. A control exists
// only when all three do.
struct TControlLayers {
    TRotLayer* Normal = nullptr;
    TRotLayer* Pressed = nullptr;
    TRotLayer* Hover = nullptr;
    // Where the renderer places it: the skin's placement, or the base or slide
    // when the skin lacks the panel it names.
    TPlacement Placement = TPlacement::Base;

    [[nodiscard]] bool Exists() const { return Normal && Pressed && Hover; }
};

class TLayerStack {
public:
    TLayerStack() = default;
    TLayerStack(TLayerStack&&) noexcept = default;
    TLayerStack& operator=(TLayerStack&&) noexcept = default;

    // Adds a layer on top and returns it.
    template <class Layer> Layer* Add(std::unique_ptr<Layer> layer) {
        Layer* raw = layer.get();
        m_layers.push_back(std::move(layer));
        return raw;
    }

    [[nodiscard]] const std::vector<std::unique_ptr<TRotLayer>>& Layers() const { return m_layers; }
    [[nodiscard]] bool Empty() const { return m_layers.empty(); }
    // Position in the collection, bottom = 0; -1 for a layer not in it.
    [[nodiscard]] int IndexOf(const TRotLayer* layer) const;
    // Takes the layer out and puts it back at `index` (counted without it), so
    // that the layers in between shift by one.
    void Move(const TRotLayer* layer, int index);

    TRotLayer* gBaseLayer = nullptr;
    TRotLayer* gSlideLayer = nullptr;
    TRotLayer* gBasePanelLayer = nullptr;
    TRotLayer* gSlidePanelLayer = nullptr;
    TRotLayer* gReadoutLayer = nullptr;
    TShapeLayer* gShapeLayer = nullptr;
    std::array<TControlLayers, kControlCount> gControlLayers{}; // in SkinControl order
    TPlacement ReadoutPlacement = TPlacement::Base;             // as for the controls

    [[nodiscard]] TControlLayers& Control(SkinControl c) {
        return gControlLayers[static_cast<std::size_t>(c)];
    }
    [[nodiscard]] const TControlLayers& Control(SkinControl c) const {
        return gControlLayers[static_cast<std::size_t>(c)];
    }

    QImage gBaseBitmap; // the base part, straight ARGB32
    QImage gBarBitmap;  // one segment of the bar, repeated along the spread

    QFont ReadoutFont;
    QRgb ReadoutColour = 0xff000000;
    QRgb ReadoutBackground = 0x007f7f7f; // what the readout is cleared to, alpha 0

private:
    std::vector<std::unique_ptr<TRotLayer>> m_layers;
};

// The layer side of choosing a measure type (0 radius, 1 circumference, 2
// area): that type's control is moved above the other two, its three looks
// kept together in their order. Types whose control the skin lacks are skipped.
void RaiseMeasureTypeControl(TLayerStack& stack, int measureType);

} // namespace orvanta
