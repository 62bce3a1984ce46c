// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Keeps a window that places itself past the window manager on top of the X
// server's own stack. No window manager stacks such a window, but some stack
// the windows they manage above it: sway 1.7 (wlroots 0.15) raises an X window
// it focuses to the top of the X stack, while it still draws our window above
// that one. Under XWayland the X server picks the window a click goes to by
// its stack, so a click on the compass's solid pixels reached the window drawn
// below. The window is put back right above any managed window that comes
// over it, as other overlays that bypass the window manager do.

#include <QAbstractNativeEventFilter>
#include <QWindow>

namespace orvanta {

class StackKeeper {
public:
    virtual ~StackKeeper() = default;
    // Keeps `window` above every managed top-level window from now on, or no
    // window when 0.
    virtual void keepOnTop(WId window) = 0;
};

// Watches the root window's children (SubstructureNotify on Qt's connection);
// does nothing off X11. Only other programs' managed windows are looked at, so
// that menus and tooltips, which bypass the window manager too, and our own
// boxes and dialogs stay above the compass.
class X11StackKeeper final : public StackKeeper, private QAbstractNativeEventFilter {
public:
    X11StackKeeper() = default;
    ~X11StackKeeper() override;
    X11StackKeeper(const X11StackKeeper&) = delete;
    X11StackKeeper& operator=(const X11StackKeeper&) = delete;

    void keepOnTop(WId window) override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    // `other` was mapped or restacked: when it now lies above our window, ours
    // goes right above it.
    void restackAbove(quint32 other);

    WId m_window = 0;
    bool m_filtering = false;
};

} // namespace orvanta
