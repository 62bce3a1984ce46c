// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/windowplacement.h"

#include <algorithm>

namespace orvanta {

namespace {

// Smoothed and antialiased drawing reaches one pixel beyond a layer's integer
// bounds; one more keeps the outermost pixels off the window's edge.
constexpr int kEdge = 2;
// Room around the compass when the window grows: at least this many pixels,
// and an eighth of the compass's larger side, so that a slide dragged outwards
// resizes the window every few dozen frames rather than every frame.
constexpr int kMinRoom = 48;
constexpr int kRoomDivisor = 8;
// A window shrinks once it is this many times as wide or as high as it needs.
constexpr int kShrinkFactor = 2;
// A compass that only moves is carried in a window that fits it snugly once the
// room around it adds more than this share of its area: the compositor
// repaints the window's old and new place on every move, room and all (the
// room a window grows with adds a half and more).
constexpr qint64 kCarriedRoomNum = 1;
constexpr qint64 kCarriedRoomDen = 4;

qint64 area(const QRect& r) {
    return qint64(r.width()) * r.height();
}

// Moves `r` by the least amount that puts it inside `outer`; `r` must fit.
QRect clampInto(QRect r, const QRect& outer) {
    if (r.left() < outer.left())
        r.moveLeft(outer.left());
    if (r.right() > outer.right())
        r.moveRight(outer.right());
    if (r.top() < outer.top())
        r.moveTop(outer.top());
    if (r.bottom() > outer.bottom())
        r.moveBottom(outer.bottom());
    return r;
}

} // namespace

QRect placeWindow(const QRect& bounds, const QRect& current, const QRect& desktop,
                  std::optional<QPoint> shift) {
    const QRect needed = bounds.adjusted(-kEdge, -kEdge, kEdge, kEdge) & desktop;
    if (needed.isEmpty())
        return current & desktop;

    if (shift && !current.isEmpty()) {
        const QRect carried = current.translated(*shift);
        if (desktop.contains(carried) && carried.contains(needed)) {
            // Fitted snugly where the compass lies wholly on the desktop, so
            // that moving on keeps the same size.
            const bool whole = needed == bounds.adjusted(-kEdge, -kEdge, kEdge, kEdge);
            if (whole &&
                (area(carried) - area(needed)) * kCarriedRoomDen > area(needed) * kCarriedRoomNum)
                return needed;
            return carried;
        }
    }

    // A first window fits the compass: room is for a compass that outgrew its
    // window, and a snug window is what moves cost least.
    if (current.isEmpty())
        return needed;

    const int room = std::max(kMinRoom, std::max(needed.width(), needed.height()) / kRoomDivisor);
    const QRect roomy = needed.adjusted(-room, -room, room, room) & desktop;
    const auto fits = [](int have, int need, int want) {
        return have >= need && have <= kShrinkFactor * want;
    };
    const bool widthFits = fits(current.width(), needed.width(), roomy.width());
    const bool heightFits = fits(current.height(), needed.height(), roomy.height());
    if (widthFits && heightFits && current.contains(needed) && desktop.contains(current))
        return current;

    QRect placed(QPoint(0, 0), QSize(widthFits ? current.width() : roomy.width(),
                                     heightFits ? current.height() : roomy.height())
                                   .boundedTo(desktop.size()));
    placed.moveCenter(needed.center());
    return clampInto(placed, desktop);
}

} // namespace orvanta
