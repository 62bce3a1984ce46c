// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Every window the program opens (a message box, a dialog, the help) shows
// above the compass, which stays on top of every other window. A window
// manager keeps a window above the one it is transient for, and Qt makes a
// window transient for its parent: so each box takes as parent the window the
// user is working in when it is one of ours (the units dialog behind a save
// error), else the compass, and takes the keyboard when it shows.

#include <QRect>

class QWidget;

namespace orvanta {

// The parent a new box or dialog takes: the active modal dialog, else the
// active window of ours, else `compass` (may be null before the compass exists).
[[nodiscard]] QWidget* boxParent(QWidget* compass);

// Shows `window`, puts it on top of its parent and gives it the keyboard. A
// window whose owner bypasses the window manager is not transient for it.
void showAbove(QWidget* window);

// Where a window of `size` goes on `monitor` so that it leaves `avoid` (the
// compass it previews) in sight: right of it, else left, below, above, with a
// gap; where none has room, the corner of the monitor farthest from its centre.
// Clamped to the monitor.
[[nodiscard]] QRect besideRect(const QRect& avoid, QSize size, const QRect& monitor);

} // namespace orvanta
