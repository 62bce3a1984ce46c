// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The real clock, repeat timer and mouse cursor behind the interaction's ports.
// The main window owns one of each; tests use fakes instead.

#include "interaction/ports.h"

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace orvanta {

// Milliseconds since the clock was made, from the monotonic system clock.
class SteadyClock final : public Clock {
public:
    SteadyClock();
    [[nodiscard]] std::uint32_t nowMs() const override;

private:
    QElapsedTimer m_elapsed;
};

// A Qt timer that calls `onTick` on the thread that made it.
class QtRepeatTimer final : public RepeatTimer {
public:
    explicit QtRepeatTimer(std::function<void()> onTick);
    void start(int intervalMs) override;
    void stop() override;
    [[nodiscard]] bool isActive() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

// The pointer of the primary screen's display.
class SystemCursor final : public MousePointer {
public:
    [[nodiscard]] QPoint position() const override;
    void setPosition(QPoint screenPos) override;
};

} // namespace orvanta
