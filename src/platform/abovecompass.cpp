// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/abovecompass.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace orvanta {

QWidget* boxParent(QWidget* compass) {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    QWidget* active = QApplication::activeWindow();
    // The compass's own menu and tooltips are no owners: they close when the
    // box takes the keyboard.
    if (active && active != compass && active->isWindow() &&
        (active->windowType() == Qt::Dialog || active->windowType() == Qt::Window))
        return active;
    return compass;
}

void showAbove(QWidget* window) {
    // No window manager keeps a window above one that bypasses it, and weston
    // 10 drops XWayland when a window it manages is transient for one: the
    // compass leaves our windows unpainted instead (CompassWindow).
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (owner && owner->windowFlags().testFlag(Qt::X11BypassWindowManagerHint) && window->winId() &&
        window->windowHandle())
        window->windowHandle()->setTransientParent(nullptr);
    window->show();
    window->raise();
    window->activateWindow();
}

QRect besideRect(const QRect& avoid, QSize size, const QRect& monitor) {
    constexpr int kGap = 16;
    const QPoint centre = avoid.isValid() ? avoid.center() : monitor.center();
    const auto clamped = [&](QPoint topLeft) {
        const int x = std::clamp(topLeft.x(), monitor.left(),
                                 std::max(monitor.left(), monitor.right() + 1 - size.width()));
        const int y = std::clamp(topLeft.y(), monitor.top(),
                                 std::max(monitor.top(), monitor.bottom() + 1 - size.height()));
        return QRect(QPoint(x, y), size);
    };
    if (avoid.isValid()) {
        const int midY = centre.y() - size.height() / 2;
        const int midX = centre.x() - size.width() / 2;
        const QPoint tries[] = {
            {avoid.right() + 1 + kGap, midY},
            {avoid.left() - kGap - size.width(), midY},
            {midX, avoid.bottom() + 1 + kGap},
            {midX, avoid.top() - kGap - size.height()},
        };
        for (const QPoint p : tries) {
            const QRect r = clamped(p);
            if (!r.intersects(avoid) && monitor.contains(r))
                return r;
        }
    }
    const int x =
        centre.x() < monitor.center().x() ? monitor.right() + 1 - size.width() : monitor.left();
    const int y =
        centre.y() < monitor.center().y() ? monitor.bottom() + 1 - size.height() : monitor.top();
    return clamped(QPoint(x, y));
}

} // namespace orvanta
