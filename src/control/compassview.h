// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What the controller needs from whatever shows the compass. The window
// implements it over the screen, its cursor table, the tooltip and the
// clipboard; tests fake it. Positions are desktop pixels unless a name says
// "screen".

#include "model/desktop.h"

#include <QPoint>
#include <QString>

namespace orvanta {

class CompassView {
public:
    virtual ~CompassView() = default;

    // The monitors and the virtual desktop they make up, in screen pixels.
    [[nodiscard]] virtual DesktopGeometry desktop() const = 0;
    // Shows cursor `number` of the cursor table over the compass.
    virtual void setCursorShape(int number) = 0;
    virtual void showHint(const QString& text, QPoint screenPos) = 0;
    virtual void hideHint() = 0;
    // Opens the context menu, unless the options switch it off.
    virtual void popupMenu(QPoint screenPos) = 0;
    // Puts the window above the others again when it is set to stay on top,
    // or lets it go back among them.
    virtual void applyStayOnTop(bool on) = 0;
    [[nodiscard]] virtual QString clipboardText() const = 0;
    virtual void setClipboardText(const QString& text) = 0;
    // The state changed: draw at the next idle moment.
    virtual void scheduleRender() = 0;
};

} // namespace orvanta
