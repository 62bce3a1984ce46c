// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/systemports.h"

#include <QCursor>
#include <utility>

namespace orvanta {

SteadyClock::SteadyClock() {
    m_elapsed.start();
}

std::uint32_t SteadyClock::nowMs() const {
    // Wraps after about 49 days; the repeat compares times as signed differences.
    return static_cast<std::uint32_t>(m_elapsed.elapsed());
}

QtRepeatTimer::QtRepeatTimer(std::function<void()> onTick) {
    // The repeat counts milliseconds between steps; a coarse timer would
    // stretch the 400 ms delay and the 16 ms steps by up to 5 %.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
}

void QtRepeatTimer::start(int intervalMs) {
    m_timer.start(intervalMs);
}

void QtRepeatTimer::stop() {
    m_timer.stop();
}

QPoint SystemCursor::position() const {
    return QCursor::pos();
}

void SystemCursor::setPosition(QPoint screenPos) {
    QCursor::setPos(screenPos);
}

} // namespace orvanta
