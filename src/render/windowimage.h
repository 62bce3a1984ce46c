// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The image handed to the compass window: premultiplied ARGB32, the size of the
// virtual desktop, transparent wherever the compass is not. Each frame redraws
// only where the compass was at the previous frame and where it is now, and
// reports that region so the window pushes exactly it.
//
// The window must read Image() by reference: a shallow copy kept across frames
// would make the next frame copy the whole desktop-sized buffer.

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
    // Resizes to `size`, fully transparent, when the size differs; the next
    // Present then reports the whole image. Returns whether it changed.
    bool setSize(QSize size);

    [[nodiscard]] const QImage& image() const { return m_image; }
    // Where the compass was drawn by the last Present, clipped to the image.
    [[nodiscard]] QRect shown() const { return m_shown; }

    // Draws the visible layers of `stack`, whose union is `bounds`, at opacity
    // `alpha`, clearing and redrawing only the pixels of the last frame's bounds
    // and of `bounds`. Returns the region that changed.
    QRegion present(const LayerStack& stack, const QRect& bounds, int alpha);

    // Clears `region` and draws the visible layers into it: the whole work of a
    // frame, also used to redraw everything when measuring what the dirty
    // region saves.
    void redraw(const LayerStack& stack, const QRegion& region, int alpha);

private:
    QImage m_image;
    QRect m_shown;
    bool m_wholeImageDirty = false;
};

} // namespace orvanta
