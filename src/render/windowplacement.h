// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Where the compass window lies. The window covers the compass with room to
// spare, not the whole desktop, so that its memory and the cost of pushing a
// frame follow the compass. Desktop coordinates throughout: screen pixels
// minus the virtual desktop's top-left corner, as the compass state uses.

#include <QPoint>
#include <QRect>
#include <optional>

namespace orvanta {

// The window for a compass whose layers cover `bounds`, given the window
// `current` it has now, clipped to `desktop`:
// - the first window (no `current`) fits the compass;
// - a compass that only moved, by `shift`, takes its window along, so its
//   pixels stay as they are and nothing is redrawn; a window with more than a
//   quarter of the compass's area to spare is fitted to it instead where the
//   compass lies wholly on the desktop, since a compositor repaints the old and
//   new place of the whole window on every move;
// - a compass that still fits keeps its window, unless the window has become
//   more than twice as wide or as high as the compass needs: a window shrinks
//   lazily, so a drag that hovers around one size never resizes it;
// - otherwise the window is centred on the compass again, keeping its size
//   where that still fits and growing at once with room to spare where not.
// An empty `bounds` (nothing on the desktop) keeps the current window.
[[nodiscard]] QRect placeWindow(const QRect& bounds, const QRect& current, const QRect& desktop,
                                std::optional<QPoint> shift = std::nullopt);

} // namespace orvanta
