// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Presses and releases as the hand made them. Under XWayland the X server can
// deliver one press twice, once from each of its pointer devices, and Qt (6.8
// at least, when the server had no pointer when the program started) passes
// both on: the second arrives as a press or as a double-click, with the same
// button, timestamp and place as the first. This filter drops such a repeat
// and decides double-clicks itself, from the presses that are left, so that a
// single click never flips the compass and a real double-click still counts
// whether or not the presses came in pairs.

#include <QPoint>
#include <Qt>
#include <cstdint>

namespace orvanta {

class ClickFilter {
public:
    enum class Press { Repeat, Single, Double };

    // The double-click limits: the longest time between the two presses, and
    // how far apart they may lie on either axis (Qt's style hints).
    ClickFilter(int doubleClickMs, int doubleClickDistance)
        : m_doubleClickMs(doubleClickMs), m_doubleClickDistance(doubleClickDistance) {}

    // A press of `button` at `timestamp` (the input event's, in milliseconds)
    // and screen point `p`; `doubleClickEvent` when Qt delivered it as a
    // double-click, which counts only for an event without a time.
    [[nodiscard]] Press press(Qt::MouseButton button, std::uint64_t timestamp, QPoint p,
                              bool doubleClickEvent);
    // A release; false when it repeats the release just seen.
    [[nodiscard]] bool release(Qt::MouseButton button, std::uint64_t timestamp, QPoint p);

private:
    struct Event {
        Qt::MouseButton button = Qt::NoButton;
        std::uint64_t timestamp = 0;
        QPoint p;
        friend bool operator==(const Event&, const Event&) = default;
    };
    [[nodiscard]] static bool repeats(const Event& last, const Event& now);
    [[nodiscard]] bool secondOfTwo(const Event& first, const Event& second) const;

    int m_doubleClickMs;
    int m_doubleClickDistance;
    Event m_lastPress;
    Event m_lastRelease;
    bool m_lastWasDouble = false; // the last press ended a double-click
};

} // namespace orvanta
