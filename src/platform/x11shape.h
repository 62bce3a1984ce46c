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
#include <QRegion>
#include <QVector>
#include <QWindow>
#include <optional>

namespace orvanta {

// The pixels of `image` inside `area` whose alpha is at least `minAlpha`, as
// rectangles: one per horizontal run, with runs of the same columns on
// consecutive rows merged into one rectangle. Coordinates are the image's.
// Meant for the compass's bounds only; scanning a whole desktop-sized image
// costs milliseconds.
[[nodiscard]] QVector<QRect> alphaRuns(const QImage& image, const QRect& area, int minAlpha);

// The same pixels as a region, banded as QRegion keeps them (one band per run
// of rows with the same runs), so that it is built without merging.
[[nodiscard]] QRegion alphaRegion(const QImage& image, const QRect& area, int minAlpha);

// A region of the window's pixels at least `minAlpha` opaque, kept in step
// with the window image by scanning again only what a frame changed: the
// input shape and the bounding shape follow the compass at the cost of the
// dirty region, not of the compass's whole square.
class PixelShape {
public:
    explicit PixelShape(int minAlpha) : m_minAlpha(minAlpha) {}
    // Scans the whole image: a new or resized window.
    void reset(const QImage& image);
    // Scans `changed` (image coordinates) again; returns whether the region
    // changed.
    bool update(const QImage& image, const QRegion& changed);
    [[nodiscard]] const QRegion& region() const { return m_region; }

private:
    int m_minAlpha;
    QRegion m_region;
};

// Holds the X server for the other clients (the compositor among them) while
// a window is moved and repainted, so that they see the new place and the new
// pixels together. Does nothing off X11.
class ServerGrab {
public:
    ServerGrab();
    ~ServerGrab();
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;
};

// True when a compositing manager owns the _NET_WM_CM_S<screen> selection of
// our screen; false off X11.
[[nodiscard]] bool compositorRunning();

// Makes only `rects` (native pixels of the window) receive the mouse; an empty
// list lets every click through. False off X11, without the SHAPE extension
// or when the X server refuses the shape (logged under orvanta.x11).
bool setInputShape(WId window, const QVector<QRect>& rects);

// Makes only `rects` of the window visible, or the whole window with none.
// Set directly rather than through QWidget::setMask, under which Qt clips
// every paint and flush to the shape's many rectangles. False as above.
bool setBoundingShape(WId window, const std::optional<QVector<QRect>>& rects);

// The same behind an interface, so the window logic runs headless in tests.
class DesktopShape {
public:
    virtual ~DesktopShape() = default;
    [[nodiscard]] virtual bool compositorRunning() const = 0;
    virtual bool setInputShape(WId window, const QVector<QRect>& rects) = 0;
    virtual bool setBoundingShape(WId window, const std::optional<QVector<QRect>>& rects) = 0;
};

class X11DesktopShape final : public DesktopShape {
public:
    [[nodiscard]] bool compositorRunning() const override { return orvanta::compositorRunning(); }
    bool setInputShape(WId window, const QVector<QRect>& rects) override {
        return orvanta::setInputShape(window, rects);
    }
    bool setBoundingShape(WId window, const std::optional<QVector<QRect>>& rects) override {
        return orvanta::setBoundingShape(window, rects);
    }
};

} // namespace orvanta
