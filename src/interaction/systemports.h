#pragma once
// The real clock, repeat timer and mouse cursor behind the interaction's ports.
// The main window owns one of each; tests use fakes instead.

#include "interaction/ports.h"

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace orvanta {

// Milliseconds since the clock was made, from the monotonic system clock.
class SteadyClock final : public IClock {
public:
    SteadyClock();
    [[nodiscard]] std::uint32_t NowMs() const override;

private:
    QElapsedTimer m_elapsed;
};

// A Qt timer that calls `onTick` on the thread that made it.
class QtRepeatTimer final : public IRepeatTimer {
public:
    explicit QtRepeatTimer(std::function<void()> onTick);
    void Start(int intervalMs) override;
    void Stop() override;
    [[nodiscard]] bool IsActive() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

// The pointer of the primary screen's display.
class SystemCursor final : public ICursor {
public:
    [[nodiscard]] QPoint Position() const override;
    void SetPosition(QPoint screenPos) override;
};

} // namespace orvanta
