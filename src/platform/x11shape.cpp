// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/x11shape.h"

#include "platform/logging.h"
#include "platform/xcbsupport.h"

#include <QByteArray>
#include <QGuiApplication>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace orvanta {

namespace {

// The screen number of $DISPLAY, which is the screen Qt connected to.
int displayScreen() {
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen))
        return 0;
    std::free(host);
    return screen;
}

// X11 protocol coordinates are 16-bit.
const QRect kProtocolRange(QPoint(std::numeric_limits<std::int16_t>::min(),
                                  std::numeric_limits<std::int16_t>::min()),
                           QPoint(std::numeric_limits<std::int16_t>::max(),
                                  std::numeric_limits<std::int16_t>::max()));

struct Run {
    int x0 = 0;
    int x1 = 0; // one past the last pixel
    qsizetype rect = 0;
};

// Calls `row(y, runs)` for every row of `area` with the runs of pixels of
// `image` at least `minAlpha` opaque, in column order; false when nothing is
// to be scanned.
template <class RowFn>
bool forEachRow(const QImage& image, const QRect& area, int minAlpha, RowFn row) {
    const QRect clip = area.intersected(image.rect());
    if (clip.isEmpty())
        return false;
    std::vector<Run> runs;
    if (!image.hasAlphaChannel()) {
        if (minAlpha <= 255)
            runs.push_back(Run{clip.left(), clip.right() + 1, 0});
        for (int y = clip.top(); y <= clip.bottom(); ++y)
            row(y, runs);
        return true;
    }
    // Both ARGB32 forms keep alpha in the top byte of each pixel; anything else
    // is converted, but only the part that is scanned.
    QImage converted;
    const QImage* source = &image;
    QPoint origin(0, 0);
    if (image.format() != QImage::Format_ARGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied) {
        converted = image.copy(clip).convertToFormat(QImage::Format_ARGB32);
        source = &converted;
        origin = clip.topLeft();
    }
    const int right = clip.right() + 1;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source->constScanLine(y - origin.y()));
        const auto opaque = [&](int x) { return qAlpha(line[x - origin.x()]) >= minAlpha; };
        runs.clear();
        int x = clip.left();
        while (true) {
            while (x < right && !opaque(x))
                ++x;
            if (x == right)
                break;
            const int x0 = x;
            while (x < right && opaque(x))
                ++x;
            runs.push_back(Run{x0, x, 0});
        }
        row(y, runs);
    }
    return true;
}

bool sameColumns(const std::vector<Run>& a, const std::vector<Run>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Run& p, const Run& q) { return p.x0 == q.x0 && p.x1 == q.x1; });
}

} // namespace

QVector<QRect> alphaRuns(const QImage& image, const QRect& area, int minAlpha) {
    QVector<QRect> rects;
    std::vector<Run> previous;
    forEachRow(image, area, minAlpha, [&](int y, std::vector<Run>& current) {
        std::size_t above = 0;
        for (Run& run : current) {
            // Runs of a row are in column order, so the matching run above, if
            // any, is found by walking forward.
            while (above < previous.size() && previous[above].x0 < run.x0)
                ++above;
            if (above < previous.size() && previous[above].x0 == run.x0 &&
                previous[above].x1 == run.x1) {
                rects[previous[above].rect].setBottom(y);
                run.rect = previous[above].rect;
                ++above;
            } else {
                rects.append(QRect(run.x0, y, run.x1 - run.x0, 1));
                run.rect = rects.size() - 1;
            }
        }
        previous = current;
    });
    return rects;
}

namespace {

// Collects rows of runs into QRegion's banded layout: a row whose runs match
// the row above extends that band, any other row starts a new one.
class BandBuilder {
public:
    void addRow(int y, const std::vector<Run>& runs) {
        if (m_rowsSeen && y == m_lastRow + 1 && !runs.empty() && sameColumns(runs, m_band)) {
            for (qsizetype i = m_bandStart; i < m_rects.size(); ++i)
                m_rects[i].setBottom(y);
        } else {
            m_bandStart = m_rects.size();
            for (const Run& run : runs)
                m_rects.append(QRect(run.x0, y, run.x1 - run.x0, 1));
            m_band = runs;
        }
        m_rowsSeen = true;
        m_lastRow = y;
    }
    [[nodiscard]] QRegion region() const {
        QRegion region;
        region.setRects(m_rects.constData(), int(m_rects.size()));
        return region;
    }

private:
    QVector<QRect> m_rects;
    std::vector<Run> m_band;
    qsizetype m_bandStart = 0;
    int m_lastRow = 0;
    bool m_rowsSeen = false;
};

} // namespace

QRegion alphaRegion(const QImage& image, const QRect& area, int minAlpha) {
    BandBuilder bands;
    forEachRow(image, area, minAlpha,
               [&](int y, const std::vector<Run>& runs) { bands.addRow(y, runs); });
    return bands.region();
}

void PixelShape::reset(const QImage& image) {
    m_region = alphaRegion(image, image.rect(), m_minAlpha);
}

bool PixelShape::update(const QImage& image, const QRegion& changed) {
    const QRegion inside = changed & image.rect();
    if (inside.isEmpty())
        return false;
    // QRegion keeps its rectangles in bands of rows, sorted by column: each
    // row of a band is scanned across all of the band's rectangles at once,
    // so the result comes out banded too and no region is merged piece by
    // piece.
    BandBuilder bands;
    std::vector<Run> row;
    for (auto band = inside.begin(); band != inside.end();) {
        auto end = band;
        while (end != inside.end() && end->top() == band->top())
            ++end;
        for (int y = band->top(); y <= band->bottom(); ++y) {
            row.clear();
            for (auto r = band; r != end; ++r)
                forEachRow(image, QRect(r->left(), y, r->width(), 1), m_minAlpha,
                           [&](int, const std::vector<Run>& runs) {
                               for (const Run& run : runs) {
                                   if (!row.empty() && row.back().x1 == run.x0)
                                       row.back().x1 = run.x1;
                                   else
                                       row.push_back(run);
                               }
                           });
            bands.addRow(y, row);
        }
        band = end;
    }
    const QRegion scanned = bands.region();
    if ((m_region & inside) == scanned)
        return false;
    m_region = (m_region - inside) | scanned;
    return true;
}

ServerGrab::ServerGrab() {
    if (xcb_connection_t* connection = x11Connection())
        xcb_grab_server(connection);
}

ServerGrab::~ServerGrab() {
    if (xcb_connection_t* connection = x11Connection()) {
        xcb_ungrab_server(connection);
        xcb_flush(connection);
    }
}

bool compositorRunning() {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return false;
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(displayScreen());
    // Only if it exists: a compositor interns the atom to own the selection,
    // so a missing atom already means there is none.
    xcb_generic_error_t* error = nullptr;
    const auto atom = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, name.size(), name.constData()), &error));
    if (refused(error, "to look up the compositor's selection") || !atom ||
        atom->atom == XCB_ATOM_NONE)
        return false;
    const auto owner = owned(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), &error));
    if (refused(error, "to name the compositor's selection owner"))
        return false;
    return owner && owner->owner != XCB_WINDOW_NONE;
}

namespace {

// The X connection when `window` is an X window and the server has SHAPE.
xcb_connection_t* shapeConnection(WId window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || window == 0)
        return nullptr;
    const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
    return shape && shape->present ? connection : nullptr;
}

// Checked: a refused input shape leaves the window catching clicks that its
// transparent pixels should let through, a refused bounding shape shows them
// black, and nothing else would tell.
bool accepted(xcb_connection_t* connection, xcb_void_cookie_t cookie, const QString& what) {
    return !refused(xcb_request_check(connection, cookie), what.toUtf8().constData());
}

bool setShape(WId window, xcb_shape_kind_t kind, const QVector<QRect>& rects) {
    xcb_connection_t* connection = shapeConnection(window);
    if (!connection)
        return false;
    std::vector<xcb_rectangle_t> list;
    list.reserve(rects.size());
    for (const QRect& r : rects) {
        const QRect c = r.intersected(kProtocolRange);
        if (c.isEmpty())
            continue;
        list.push_back(xcb_rectangle_t{
            static_cast<std::int16_t>(c.x()), static_cast<std::int16_t>(c.y()),
            static_cast<std::uint16_t>(c.width()), static_cast<std::uint16_t>(c.height())});
    }
    const xcb_void_cookie_t cookie =
        xcb_shape_rectangles_checked(connection, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED,
                                     static_cast<xcb_window_t>(window), 0, 0,
                                     static_cast<std::uint32_t>(list.size()), list.data());
    return accepted(connection, cookie,
                    QStringLiteral("the %1 shape of window 0x%2 (%3 rectangles)")
                        .arg(kind == XCB_SHAPE_SK_INPUT ? u"input" : u"bounding")
                        .arg(window, 0, 16)
                        .arg(list.size()));
}

} // namespace

bool setInputShape(WId window, const QVector<QRect>& rects) {
    return setShape(window, XCB_SHAPE_SK_INPUT, rects);
}

bool setBoundingShape(WId window, const std::optional<QVector<QRect>>& rects) {
    if (rects)
        return setShape(window, XCB_SHAPE_SK_BOUNDING, *rects);
    xcb_connection_t* connection = shapeConnection(window);
    if (!connection)
        return false;
    // No mask: the window is its whole rectangle again.
    const xcb_void_cookie_t cookie =
        xcb_shape_mask_checked(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                               static_cast<xcb_window_t>(window), 0, 0, XCB_PIXMAP_NONE);
    return accepted(
        connection, cookie,
        QStringLiteral("clearing the bounding shape of window 0x%1").arg(window, 0, 16));
}

} // namespace orvanta
