// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The compass's icon in the system tray, where a hidden compass waits: its
// menu is the compass's menu, a double click brings the compass back, and the
// icon greys while the compass is hidden. Without a tray on the desktop there
// is no icon and nowhere to hide.

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

namespace orvanta {

class CompassController;
struct CompassMenu;

class CompassTray : public QObject {
    Q_OBJECT

public:
    // `assets` holds the icons; the controller and the menu must outlive the tray.
    CompassTray(CompassController& controller, CompassMenu& menu, QString assets,
                QObject* parent = nullptr);

    // The desktop has a tray, and the icon is in it.
    [[nodiscard]] bool available() const { return m_icon != nullptr; }
    // The icon's tool tip follows the window's title.
    void setToolTip(const QString& text);
    // The compass was hidden into the tray: the icon greys, the menu offers to
    // show it again, and the first time a balloon says where it went.
    void compassHidden();
    // The compass shows again: the icon is coloured, the menu's item to show
    // it goes.
    void compassShown();

private:
    void setIcon(const QString& file);
    void activated(QSystemTrayIcon::ActivationReason reason);

    CompassController& m_controller;
    CompassMenu& m_menu;
    QString m_assets;
    QSystemTrayIcon* m_icon = nullptr;
};

} // namespace orvanta
