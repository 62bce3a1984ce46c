// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What the controller asks of whatever shows the compass: the window
// implements it over the screen, its cursor table, the tool tip, the
// clipboard, the menu, the tray and the dialogs; tests fake it. Everything
// the controller wants shown, opened or hidden goes through here. Positions
// are desktop pixels unless a name says "screen".

#include "interaction/ports.h"
#include "model/desktop.h"

#include <QPoint>
#include <QString>

namespace orvanta {

class CompassView : public CompassSurface {
public:
    // The monitors and the virtual desktop they make up, in screen pixels.
    [[nodiscard]] virtual DesktopGeometry desktop() const = 0;
    // Opens the context menu.
    virtual void popupMenu(QPoint screenPos) = 0;
    // Puts the window above the others again when it is set to stay on top,
    // or lets it go back among them.
    virtual void applyStayOnTop(bool on) = 0;
    // The state changed: draw at the next idle moment.
    virtual void scheduleRender() = 0;

    // The window shows itself (from the tray too) and takes the keyboard.
    virtual void showCompass() = 0;
    // The window hides into the tray, or closes when `toTray` is false.
    virtual void hideCompass(bool toTray) = 0;
    // The window closes as its close box would.
    virtual void closeCompass() = 0;

    // The help, the units' calibration grid, the calibration of the monitor
    // under the compass, the transparency slider and the skin's own details.
    virtual void showHelp() = 0;
    virtual void showCalibration() = 0;
    virtual void showScreenCalibration() = 0;
    virtual void showTransparencyDialog() = 0;
    virtual void showAboutSkin() = 0;
    // One of the program's web links by its action name ("getskins"; empty:
    // the home page).
    virtual void openWebLink(const QString& action) = 0;
};

} // namespace orvanta
