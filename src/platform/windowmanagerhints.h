// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// How window managers are to treat the compass window: out of the taskbar and
// the pager, on top of other windows when the user wants it so, and nothing a
// window manager warns about. Qt's own hints do not do: its stay-on-top hint
// adds the legacy _NET_WM_STATE_STAYS_ON_TOP, which xfwm4 warns about, and a
// Qt::Tool window without a parent is made transient for Qt's unmapped client
// leader window, which mutter rejects as an invalid WM_TRANSIENT_FOR. So the
// window is a plain frameless Qt::Window and these hints are set here.

#include "platform/stackkeeper.h"

#include <QByteArrayList>
#include <QString>
#include <QWindow>

namespace orvanta {

// The _NET_WM_STATE atoms, by name, for a window that is not mapped and
// carries `existing`: out of the taskbar and the pager, above or not as asked,
// and without Qt's legacy _NET_WM_STATE_STAYS_ON_TOP. Other states are kept,
// in their order.
[[nodiscard]] QByteArrayList netWmState(const QByteArrayList& existing, bool stayOnTop);

// The hints behind an interface, so the window logic runs headless in tests.
class WindowManagerHints {
public:
    virtual ~WindowManagerHints() = default;
    // Sets the hints on a window that is about to be mapped: every show of a
    // window, since a window manager removes _NET_WM_STATE from a window it
    // withdraws, and a re-created native window starts without them.
    virtual void prepare(WId window, bool stayOnTop) = 0;
    // Turns staying on top on or off for a mapped window.
    virtual void setStayOnTop(WId window, bool on) = 0;
    // True where the window has to place itself, past the window manager
    // (override-redirect): sway centres a floating X window at every
    // configure request, tiles one that is not floating, and stacks a focused
    // floating window above it; weston moves a managed X window no more once
    // it is mapped. Asked before the native window exists.
    [[nodiscard]] virtual bool bypassWindowManager() const = 0;
    // Called when `window` has just been given the keyboard. Under XWayland
    // the compositor picks the window a click focuses by the window's whole
    // rectangle (sway) or, for a window in the above state, ignores its input
    // shape once it has repainted (mutter 43), while the X server sends the
    // click itself through the input shape to the window below: the window
    // below gets the click and ours the keyboard. Under XWayland, when the pointer
    // is inside our window's rectangle but over another window, that window
    // is given the keyboard; returns whether it was. Only for activations the
    // window did not ask for.
    virtual bool handBackFocus(WId window) = 0;
};

// The X11 hints; does nothing off X11. Requests the X server refuses are
// logged under orvanta.x11. A window that bypasses the window manager and is
// to stay on top is kept on top of the X server's stack (see stackkeeper.h).
class X11WindowManagerHints final : public WindowManagerHints {
public:
    void prepare(WId window, bool stayOnTop) override;
    void setStayOnTop(WId window, bool on) override;
    [[nodiscard]] bool bypassWindowManager() const override;
    bool handBackFocus(WId window) override;

    // The running window manager's name, empty without one or off X11.
    [[nodiscard]] static QString windowManagerName();
    // True when the X server is XWayland (its outputs are named so).
    [[nodiscard]] static bool onXWayland();

private:
    void keepOnTopIfBypassing(WId window, bool stayOnTop);

    X11StackKeeper m_stack;
};

} // namespace orvanta
