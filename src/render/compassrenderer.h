// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The compass renderer: keeps the layers in step with the compass state and
// prepares the window image. It draws only when asked: a full render when the
// state raised needsRepaint, a re-preparation of the window image alone when a
// control's look was shown or hidden (needsWindowUpdate) or the window went
// to or from the foreground. Never on a timer.
//
// The window covers the compass, not the desktop (placeWindow). Each frame
// reports where the window lies and the region of it that changed: the old
// and new places of the layers that moved or changed, and the band along the
// figure's old and new outline. A compass that only moved takes its window
// along and changes no pixel. Everything here is in desktop coordinates
// (screen pixels minus the virtual desktop's top-left corner); the window maps
// them to its own when it paints.

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
#include <cstdint>
#include <vector>

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
    bool pushed = false;         // the window image changed; push `dirty`
    bool recentred = false;      // the compass was off every screen: centred, render again
    bool readoutChanged = false; // the window title and tray tool tip follow titleText()
    bool moved = false;          // the window moved along with the compass, pixels unchanged
    QRect window;                // where the window lies (empty: as it was)
    QRegion dirty;               // what changed in the window image
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

    // The image for the window: premultiplied ARGB32, the window's size.
    [[nodiscard]] const QImage& windowImage() const { return m_window.image(); }
    // Where that image lies on the desktop.
    [[nodiscard]] QRect windowRect() const { return m_window.rect(); }
    // The positions computed by the last full render.
    [[nodiscard]] const FrameGeometry& geometry() const { return m_geometry; }

    // Src's layers; Compose replaces them.
    LayerStack layers;
    // Raised by the hover and press handling after showing or hiding a look.
    bool needsWindowUpdate = false;
    // The last image was prepared at the opacity of a window in the background.
    bool m_drawnInactive = false;
    // The union of the visible layers at the last render, clipped to the desktop.
    QRect bounds;

private:
    // What a layer showed and where, at the last frame.
    struct LayerPose {
        const Layer* layer = nullptr;
        std::int64_t content = 0;
        QPointF position;
        QPointF pivot;
        float angle = 0.0f;
        bool visible = false;
        QRgb colour = 0; // the figure's
        bool antialiased = false;
        QPolygonF footprint;
    };
    // What the figure is drawn from: its outline changes only with these.
    struct FigureKey {
        int shape = 0;
        int scribe = 0;
        int spread = 0;
        double angle = 0.0; // polygons only: a circle looks the same at any angle
        friend bool operator==(const FigureKey&, const FigureKey&) = default;
    };

    Frame present(const Settings& options, bool foreground, const QRect& bounds);
    [[nodiscard]] std::vector<LayerPose> poses() const;
    // The pixels that changed since the last frame; `figureInside` tells
    // whether they hold every pixel the figure now touches.
    [[nodiscard]] QRegion changedRegion(const std::vector<LayerPose>& now,
                                        const QList<QPolygonF>& outline, bool& figureInside) const;
    void placeLayers(RenderInput& in);
    void placeBase(const Skin& skin, const FrameGeometry& g);
    void placeFigure(const Settings& options, Skin& skin, const FrameGeometry& g);
    void keepReadoutOnMonitor(const DesktopGeometry& desktop);
    void drawReadout(const QString& text);

    WindowImage m_window;
    FrameGeometry m_geometry;
    QRect m_desktop;         // the desktop in desktop coordinates
    QPoint m_desktopTopLeft; // in screen pixels
    std::vector<LayerPose> m_poses;
    int m_alpha = -1;
    QList<QPolygonF> m_outline; // the figure as drawn at the last frame

    // The base bitmap is built again only when the bar's tiles change; the
    // previous one is kept to find the columns that changed.
    BarTiles m_tiles;
    // The base and bar pieces premultiplied, as the base bitmap is built: it
    // is then drawn as it is, not converted after every change.
    QImage m_basePiece;
    QImage m_barPiece;
    std::int64_t m_basePieceKey = 0;
    std::int64_t m_barPieceKey = 0;
    std::int64_t m_baseKey = 0;
    QImage m_previousBase;
    QRect m_baseChange; // bitmap pixels; null: the whole bitmap
    QString m_readoutText;
    std::int64_t m_readoutKey = 0;
    bool m_readoutBacked = false; // moved off its place: drawn on its own background
    FigureKey m_figure;
    int m_figureK = 0;
};

} // namespace orvanta
