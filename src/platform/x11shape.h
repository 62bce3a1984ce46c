// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Per-pixel click-through on X11. Qt sets only a window's bounding shape; the
// input shape, which decides where clicks reach the window instead of the one
// below, is set here through the SHAPE extension. Without a compositor the
// window's transparent pixels would show black, so the window also needs to
// know whether one runs.

#include <QImage>
#include <QRect>
#include <QVector>
#include <QWindow>

namespace orvanta {

// The pixels of `image` inside `area` whose alpha is at least `minAlpha`, as
// rectangles: one per horizontal run, with runs of the same columns on
// consecutive rows merged into one rectangle. Coordinates are the image's.
// Meant for the compass's bounds only; scanning a whole desktop-sized image
// costs milliseconds.
[[nodiscard]] QVector<QRect> alphaRuns(const QImage& image, const QRect& area, int minAlpha);

// True when a compositing manager owns the _NET_WM_CM_S<screen> selection of
// our screen; false off X11.
[[nodiscard]] bool compositorRunning();

// Makes only `rects` (native pixels of the window) receive the mouse; an empty
// list lets every click through. False off X11, without the SHAPE extension
// or when the X server refuses the shape (logged under orvanta.x11).
bool setInputShape(WId window, const QVector<QRect>& rects);

// The same behind an interface, so the window logic runs headless in tests.
class DesktopShape {
public:
    virtual ~DesktopShape() = default;
    [[nodiscard]] virtual bool compositorRunning() const = 0;
    virtual bool setInputShape(WId window, const QVector<QRect>& rects) = 0;
};

class X11DesktopShape final : public DesktopShape {
public:
    [[nodiscard]] bool compositorRunning() const override { return orvanta::compositorRunning(); }
    bool setInputShape(WId window, const QVector<QRect>& rects) override {
        return orvanta::setInputShape(window, rects);
    }
};

} // namespace orvanta
