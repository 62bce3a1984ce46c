// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The loupe's picture: the desktop's pixels about one point, enlarged, with
// the pixels the compass covers left out so that it never shows itself.

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <utility>
#include <vector>

namespace orvanta {

// The zooms the loupe steps through.
inline constexpr int kLoupeZooms[] = {2, 3, 4, 6, 8, 12, 16};

// The zoom `steps` steps (negative: smaller) from `zoom`, within 2..16.
[[nodiscard]] int steppedZoom(int zoom, int steps);

// How many desktop pixels across the loupe of `diameter` shows at `zoom`:
// odd, so that the point it looks at has a middle pixel.
[[nodiscard]] int loupeSpan(int diameter, int zoom);

// What the compass drew in one frame (premultiplied), and where.
struct DrawnFrame {
    QPoint origin;
    QImage image;
};

// What lies beneath the compass on `screen`, a grab whose top-left pixel lies
// at `screenOrigin`: the screen's pixels, but transparent wherever the
// compass drew (`drawn`, premultiplied, at `drawnRect`) with any opacity,
// and wherever one of the frames before (`earlier`), which the screen may
// still show, drew otherwise than it. ARGB32, the screen's size.
[[nodiscard]] QImage beneathCompass(QImage screen, QPoint screenOrigin, const QImage& drawn,
                                    const QRect& drawnRect,
                                    const std::vector<DrawnFrame>& earlier = {});

// What the loupe has seen of the desktop since it last forgot: the slide
// covers the very pixels its tip stands on, but a moment before they lay
// ahead of it, uncovered. Kept in tiles, so that only the ground the tip
// went over costs memory.
class BeneathMemory {
public:
    // Keeps the pixels of `beneath` (lying at `origin`) that are not
    // transparent, over what was seen there before.
    void see(const QImage& beneath, QPoint origin);
    // The pixels of `area` last seen; transparent where none was.
    [[nodiscard]] QImage recall(const QRect& area) const;
    void forget() { m_tiles.clear(); }

private:
    static constexpr int kTile = 64;
    QHash<QPoint, QImage> m_tiles; // ARGB32, by tile index
};

// `beneath` (loupeSpan pixels square, the point looked at in its middle)
// enlarged `zoom` times into a round picture `diameter` across, premultiplied:
// a pixel the compass covers shows hatched, a crosshair frames the middle
// pixel and a ring closes it. Outside the disc and its ring it is transparent.
[[nodiscard]] QImage loupePicture(const QImage& beneath, int zoom, int diameter);

// The same pictures, one a frame, into an image it keeps: the ring and the
// crosshair are drawn once for each zoom, each frame only the enlarged pixels.
class LoupePainter {
public:
    explicit LoupePainter(int diameter);
    // Paints `beneath` (ARGB32) at `zoom` as loupePicture does; the picture
    // lives until the next paint.
    const QImage& paint(const QImage& beneath, int zoom);

private:
    void prepare(int zoom);

    int m_diameter;
    int m_zoom = 0;
    QImage m_picture;
    // Where the disc lies on each row: its first and last column.
    std::vector<std::pair<int, int>> m_rows;
    // The ring's and the crosshair's pixels (premultiplied, not transparent),
    // laid over the enlarged ones: where they lie, and whether in the disc.
    struct Mark {
        int offset;
        QRgb colour;
        bool inDisc;
    };
    std::vector<Mark> m_marks;
};

} // namespace orvanta
