// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The compass renderer: keeps the layers in step with the compass state and
// prepares the window image. It draws only when asked: a full render when the
// state raised needsRepaint, a re-preparation of the window image alone when a
// control's look was shown or hidden (needsWindowUpdate) or the window went
// to or from the foreground. Never on a timer.
//
// Each frame reports the region of the window image that changed: where the
// compass was at the previous frame and where it is now. The window pushes
// exactly that region.

#include "model/compassmodel.h"
#include "model/desktop.h"
#include "render/compose.h"
#include "render/geometry.h"
#include "render/layerstack.h"
#include "render/windowimage.h"
#include "skins/skin.h"

#include <QImage>
#include <QRect>
#include <QRegion>

namespace orvanta {

// What one pass needs besides the renderer's own layers.
struct RenderInput {
    CompassModel& model;
    Skin& skin;
    DesktopGeometry desktop;
    bool foreground = true; // the compass window is the foreground window
    bool ctrlDown = false;  // inverts sticky angles during a drag
};

struct Frame {
    bool rendered = false;       // a full render ran (the state was stored)
    bool pushed = false;         // the window image changed; push Dirty
    bool recentred = false;      // the compass was off every screen: centred, render again
    bool readoutChanged = false; // the window title and tray hint follow titleText()
    QRegion dirty;               // window coordinates
};

class CompassRenderer {
public:
    // The idle pass: a full render when the state asks for one, else a new
    // window image when a look changed or the foreground changed, else nothing.
    Frame idleUpdate(RenderInput& in);

    // The full render: normalise the state, format the readout, place and turn
    // every layer, redraw the base, readout and figure, prepare the window
    // image, store the state into the options. A compass that lies wholly off
    // every screen is centred on the primary one instead, and the state asks
    // for the next render.
    Frame renderCompass(RenderInput& in);

    // The light path: prepares the window image again for the compass's bounds
    // at the opacity for `foreground`, without moving anything.
    Frame updateWindow(const Settings& options, bool foreground);

    // Centres the compass on the primary screen (the menu command and the
    // recovery of a lost compass).
    void centreOnScreen(CompassState& state, const DesktopGeometry& desktop) const;

    // The image for the window: premultiplied ARGB32, the virtual desktop's size.
    [[nodiscard]] const QImage& windowImage() const { return m_window.image(); }
    // The positions computed by the last full render.
    [[nodiscard]] const FrameGeometry& geometry() const { return m_geometry; }

    // Src's layers; Compose replaces them.
    LayerStack layers;
    // Raised by the hover and press handling after showing or hiding a look.
    bool needsWindowUpdate = false;
    // The last image was prepared at the opacity of a window in the background.
    bool m_drawnInactive = false;
    // The union of the visible layers at the last render, clipped to the image.
    QRect bounds;

private:
    Frame present(const Settings& options, bool foreground, const QRect& bounds);
    void placeLayers(RenderInput& in);
    void drawReadout(const QString& text);

    WindowImage m_window;
    FrameGeometry m_geometry;
};

} // namespace orvanta
