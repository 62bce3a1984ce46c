// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The image handed to the compass window: premultiplied ARGB32, the window's
// size and place on the desktop, transparent wherever the compass is not. The
// renderer decides what a frame redraws; this class clears and draws it.
//
// The window must read image() by reference: a shallow copy kept across frames
// would make the next frame copy the whole buffer.

#include "render/layerstack.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>

namespace orvanta {

// The window's opacity 0..255 from the Transparency option (percent): 255 at 0,
// and 85 % of it while another window is in the foreground (217 at 0).
[[nodiscard]] int windowAlpha(int transparency, bool foreground);

// Scales every premultiplied pixel of `area` by alpha / 255, rounded.
void applyOpacity(QImage& image, const QRect& area, int alpha);

class WindowImage {
public:
    // Places the image on the desktop at `rect` (desktop coordinates). A new
    // size makes a new, fully transparent image; a new position alone keeps
    // the pixels, for a window that moves along with the compass.
    void setRect(const QRect& rect);

    [[nodiscard]] const QImage& image() const { return m_image; }
    // Where the image lies on the desktop.
    [[nodiscard]] QRect rect() const { return m_rect; }

    // Clears `region` (desktop coordinates) and draws the visible layers of
    // `stack` into it at opacity `alpha`: the whole work of a frame, also used
    // to draw everything afresh when measuring what the dirty region saves.
    // `inside`, when it is the top layer, touches no pixel outside `region`
    // (the figure whose whole outline the region follows): it is drawn under
    // a clip of the region's bounding rectangle, which costs Qt a third of a
    // clip of many rectangles and sets the same pixels.
    void redraw(const LayerStack& stack, const QRegion& region, int alpha,
                const Layer* inside = nullptr);

private:
    QImage m_image;
    QRect m_rect;
};

} // namespace orvanta
