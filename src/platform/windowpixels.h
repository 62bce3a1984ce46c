// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// A drag frame's few changed rectangles, put to the window straight from
// memory the X server shares with us. Through Qt they would first be cleared
// and copied into Qt's backing store, and Qt waits for the server before it
// paints over rectangles it put the frame before: a round trip a frame, which
// on a busy server waits behind the compositor's repaint of the last frame.

#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QWindow>
#include <cstdint>

namespace orvanta {

// Copies the rows of `region` of `image` (32 bits a pixel; the region lies
// inside it) into memory laid out alike, `stride` bytes a row, each pixel
// `offset` away from where it lies in the image.
void copyRows(const QImage& image, const QRegion& region, uchar* to, qsizetype stride,
              QPoint offset = {});

class WindowPixels {
public:
    virtual ~WindowPixels() = default;
    // Puts `region` of `image` (premultiplied ARGB32, the window's size) to
    // `window`. False when it cannot (not on X11, no shared memory, a display
    // with another pixel layout): the caller paints through Qt instead.
    virtual bool put(WId window, const QImage& image, const QRegion& region) = 0;
};

// Through the MIT-SHM extension on Qt's X connection. The shared segment is
// the window image's size and is made again when the image grows. The server
// reads it while it handles each put, so a frame's puts end with a request
// that has a reply, and the next frame writes into the segment once that reply
// is in: it has come long before when frames are a hand's moves apart. The
// segment is let go of when no frame came for a few seconds: a compass at rest
// keeps no second copy of its window.
class X11WindowPixels : public WindowPixels {
public:
    X11WindowPixels();
    ~X11WindowPixels() override;
    X11WindowPixels(const X11WindowPixels&) = delete;
    X11WindowPixels& operator=(const X11WindowPixels&) = delete;

    bool put(WId window, const QImage& image, const QRegion& region) override;

private:
    bool reserve(std::size_t bytes);
    void release();
    bool prepareWindow(WId window);
    void waitForServer();

    bool m_usable = false;
    // The segment: its id on the server and where it is mapped here.
    std::uint32_t m_segment = 0;
    uchar* m_memory = nullptr;
    std::size_t m_size = 0;
    // The window last put to, its graphics context and its depth.
    WId m_window = 0;
    std::uint32_t m_gc = 0;
    std::uint8_t m_depth = 0;
    // The request after the last frame's puts, whose reply says the server is
    // done with them; 0 when there is none to wait for.
    unsigned int m_fence = 0;
    QTimer m_idle;
};

} // namespace orvanta
