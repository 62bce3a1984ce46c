// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Composition: turns the selected skin into the compass's layer stack. Every
// piece is cut out of the skin picture and bled once here, so that a frame only
// moves and turns layers and redraws the base, the readout and the figure.
//
// Runs when the window is created, after a change of skin, quality, circle
// colour or transparency, and after the skin was reloaded from disk.

#include "model/compassstate.h"
#include "model/settings.h"
#include "render/layerstack.h"
#include "skins/skin.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

namespace orvanta {

struct ComposeResult {
    bool ok = true;
    // Why the compass was left as it was, naming the file; empty when Ok.
    QString error;
    // What was composed in a way the skin did not ask for (controls placed on
    // a panel the skin lacks), one line each.
    QStringList warnings;
};

// The two working copies of the skin picture: the body (base, bar, slide,
// panels) and the controls. They differ only for BMP skins, whose key colour
// becomes the bleed colour and the button bleed colour respectively.
struct SkinPictures {
    QImage body;
    QImage controls;
};

// The pivot of the compass in the base part's bitmap: the base edge across, the
// middle of the bar down.
[[nodiscard]] QPointF compassPivot(const Skin& skin);

// Reads the skin picture and prepares both working copies. A PNG comes with
// straight alpha already (and a single transparent colour as alpha 0); a BMP
// is opaque and keyed by the skin's transColor. Throws OrvantaError naming the
// file when it cannot be read.
[[nodiscard]] SkinPictures loadSkinPictures(const Skin& skin);

// Builds the layer stack of `skin` from its prepared pictures: pieces cut and
// bled, layers stacked in their fixed order, the controls of `measureType` on
// top of the other two, resampling after `smooth`. Warnings (controls on a
// panel the skin lacks) are appended to `warnings`.
[[nodiscard]] LayerStack buildLayers(const Skin& skin, const SkinPictures& pictures, bool smooth,
                                     int measureType, QStringList& warnings);

// The readout font: the face, bold and italic of the skin, sized so that its
// character cell (ascent plus descent) is `cellHeight` pixels high.
[[nodiscard]] QFont readoutFont(const QString& face, int cellHeight, bool bold, bool italic);

// Composes `skin` into `stack`. The new layers are built aside and swapped in
// only when complete: when the picture cannot be read, the previous stack and
// the state stay as they were and the result says why. On success the pivot
// keeps its place on the screen across the change (the first composition
// moves nothing), the skin's circle colour follows the options, and the state
// is marked composed and in need of a render.
[[nodiscard]] ComposeResult compose(Skin& skin, const Settings& options, CompassState& state,
                                    LayerStack& stack);

} // namespace orvanta
