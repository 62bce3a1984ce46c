// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/compasstray.h"

#include "app/compassmenu.h"
#include "control/compasscontroller.h"

#include <QCursor>
#include <QFileInfo>
#include <QIcon>

namespace orvanta {

namespace {

// The balloon that says where the compass went stays this long.
constexpr int kBalloonMs = 30000;

} // namespace

CompassTray::CompassTray(CompassController& controller, CompassMenu& menu, QString assets,
                         QObject* parent)
    : QObject(parent), m_controller(controller), m_menu(menu), m_assets(std::move(assets)) {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    const Settings& settings = m_controller.settings();
    m_icon = new QSystemTrayIcon(this);
    setIcon(QStringLiteral("AppTray.ico"));
    m_icon->setToolTip(QStringLiteral("Orvanta"));
    if (settings.systemTrayIcon && settings.rightClickMenu)
        m_icon->setContextMenu(m_menu.contextMenu);
    connect(m_icon, &QSystemTrayIcon::activated, this, &CompassTray::activated);
    m_icon->show();
}

void CompassTray::setToolTip(const QString& text) {
    if (m_icon)
        m_icon->setToolTip(text);
}

void CompassTray::compassHidden() {
    m_menu.openAction->setVisible(true);
    setIcon(QStringLiteral("AppTrayGray.ico"));
    if (m_controller.settings().showMinimizeBalloon && m_icon) {
        m_icon->showMessage(tr("Orvanta is still running"), tr("To show Orvanta, click this icon"),
                            QSystemTrayIcon::Information, kBalloonMs);
        m_controller.balloonShown();
    }
}

void CompassTray::compassShown() {
    setIcon(QStringLiteral("AppTray.ico"));
    m_menu.openAction->setVisible(false);
}

void CompassTray::setIcon(const QString& file) {
    const QString path = m_assets + file;
    if (m_icon && QFileInfo::exists(path))
        m_icon->setIcon(QIcon(path));
}

void CompassTray::activated(QSystemTrayIcon::ActivationReason reason) {
    const Settings& settings = m_controller.settings();
    if (!settings.systemTrayIcon)
        return;
    if (reason == QSystemTrayIcon::DoubleClick)
        m_controller.showCompass();
    else if (reason == QSystemTrayIcon::Trigger && settings.rightClickMenu)
        m_menu.contextMenu->popup(QCursor::pos());
}

} // namespace orvanta
