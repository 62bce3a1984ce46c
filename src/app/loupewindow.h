// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The loupe: a small round window beside the point the compass measures from
// (the slide's tip, or the pivot while the base is dragged) that shows the
// desktop there enlarged, with a crosshair on that very pixel and its colour
// and place beneath.
//
// Each frame it reads the pixels about the point from the X server and takes
// out what the compass drew there (it knows its own window image): every
// pixel it drew on, at any opacity, is not seen. What it saw since the drag
// began is remembered, so a pixel the slide has just covered shows as it was
// a moment before, when it lay ahead of the tip; one never seen shows
// hatched. It never hides the compass to look beneath, so nothing flickers,
// and every uncovered pixel is read afresh each frame.
//
// A drag frame's read is asked for as the frame is put and taken at the next
// one, so that the frame never waits for the server's answer; the memory
// holds what the tip needs meanwhile. Once the compass rests the screen is
// read again, with only what the compass now draws left out. Before the
// compass lands on a place (at start, after a jump) that place is read, so
// that the pixels its slide then covers show as they were. The window is opaque, shaped to its
// disc and its readout, and its pixels go to the server through shared
// memory: the compositor has nothing to blend, and no frame waits for Qt's
// backing store.

#include "platform/windowpixels.h"
#include "vision/loupe.h"

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>

namespace orvanta {

class X11ScreenPixels;

class LoupeWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDiameter = 161;

    LoupeWindow();
    ~LoupeWindow() override;

    // Looks at `point` (screen coordinates; `shown` is how the readout names
    // it) with the compass's image `drawn` lying at `drawnRect` on the
    // screen, and stands beside the point inside `screen`.
    void lookAt(QPoint point, QPoint shown, const QImage& drawn, const QRect& drawnRect,
                const QRect& screen);
    // Reads the desktop about `point` (screen coordinates) before the
    // compass, now `drawn` at `drawnRect` (none: not on the screen yet),
    // lands there: at rest the slide's panel covers all the loupe shows at
    // the larger zooms. Only where the reads so far do not cover it.
    void lookAhead(QPoint point, const QImage& drawn, const QRect& drawnRect);
    void setZoom(int zoom);
    // Forgets what it saw under the compass: a new drag looks afresh.
    void forget();
    [[nodiscard]] int zoom() const { return m_zoom; }
    // The pixel under the crosshair; transparent when the compass covers it.
    [[nodiscard]] QRgb colour() const { return m_colour; }

    // The wheel over the loupe asks for another zoom.
    std::function<void(int steps)> zoomAsked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void look(const QImage& drawn, const QRect& drawnRect);
    void takeRead();
    void settle();
    void leaveOutSelves(QImage& beneath, QPoint origin) const;
    [[nodiscard]] QRect seenAbout(QPoint point) const;
    [[nodiscard]] QRect viewAbout(QPoint point) const;
    void present();
    void shape();
    const QImage& piece(const QString& text);

    std::unique_ptr<X11ScreenPixels> m_screen;
    int m_zoom = 4;
    QPoint m_point, m_shown;
    // What the compass drew about the point in the last frames, and where:
    // the first at the read under way.
    std::deque<DrawnFrame> m_recent;
    // Where the loupe itself stood in the last frames.
    std::deque<QRect> m_selves;
    // What the reads so far covered since the last forget().
    QRect m_read;
    BeneathMemory m_memory;
    QImage m_beneath;   // what the picture shows, loupeSpan pixels square
    int m_lensZoom = 0; // the zoom it was shown at
    LoupePainter m_lens;
    // The window's pixels, and the readout they show.
    QImage m_image;
    QString m_text;
    QHash<QString, QImage> m_pieces; // of the readout, white on its box
    QRect m_box;                     // the readout's, as wide as its text
    QRect m_shapedBox;
    QVector<QRect> m_disc; // the disc's shape, in rows
    X11WindowPixels m_pixels;
    bool m_storeStale = false; // Qt's backing store missed frames put past it
    WId m_shaped = 0;
    QRgb m_colour = 0;
    // Reads once more when no frame came after the last: the screen shows
    // the compass at rest by then.
    QTimer m_settle;
    QElapsedTimer m_raised; // since it was last raised
    int m_wheel = 0;        // eighths of a degree not yet turned into a step
};

} // namespace orvanta
