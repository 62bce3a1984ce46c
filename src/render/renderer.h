#pragma once
// The compass renderer: keeps the layers in step with the compass state and
// prepares the window image. It draws only when asked: a full render when the
// state raised FNeedsRepaint, a re-preparation of the window image alone when a
// control's look was shown or hidden (FNeedsWindowUpdate) or the window went
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
struct TRenderInput {
    CompassModel& Model;
    TDervikSkin& Skin;
    DesktopGeometry Desktop;
    bool Foreground = true; // the compass window is the foreground window
    bool CtrlDown = false;  // inverts sticky angles during a drag
};

struct TFrame {
    bool Rendered = false;       // a full render ran (the state was stored)
    bool Pushed = false;         // the window image changed; push Dirty
    bool Recentred = false;      // the compass was off every screen: centred, render again
    bool ReadoutChanged = false; // the window title and tray hint follow TitleText()
    QRegion Dirty;               // window coordinates
};

class TCompassRenderer {
public:
    // The idle pass: a full render when the state asks for one, else a new
    // window image when a look changed or the foreground changed, else nothing.
    TFrame IdleUpdate(TRenderInput& in);

    // The full render: normalise the state, format the readout, place and turn
    // every layer, redraw the base, readout and figure, prepare the window
    // image, store the state into the options. A compass that lies wholly off
    // every screen is centred on the primary one instead, and the state asks
    // for the next render.
    TFrame RenderCompass(TRenderInput& in);

    // The light path: prepares the window image again for the compass's bounds
    // at the opacity for `foreground`, without moving anything.
    TFrame UpdateWindow(const TDervikOptions& options, bool foreground);

    // Centres the compass on the primary screen (the menu command and the
    // recovery of a lost compass).
    void CentreOnScreen(TCompass& state, const DesktopGeometry& desktop) const;

    // The image for the window: premultiplied ARGB32, the virtual desktop's size.
    [[nodiscard]] const QImage& WindowImage() const { return m_window.Image(); }
    // The positions computed by the last full render.
    [[nodiscard]] const TFrameGeometry& Geometry() const { return m_geometry; }

    // Src's layers; Compose replaces them.
    TLayerStack Layers;
    // Raised by the hover and press handling after showing or hiding a look.
    bool FNeedsWindowUpdate = false;
    // The last image was prepared at the opacity of a window in the background.
    bool FDrawnInactive = false;
    // The union of the visible layers at the last render, clipped to the image.
    QRect FBounds;

private:
    TFrame Present(const TDervikOptions& options, bool foreground, const QRect& bounds);
    void PlaceLayers(TRenderInput& in);
    void DrawReadout(const QString& text);

    TWindowImage m_window;
    TFrameGeometry m_geometry;
};

} // namespace orvanta
