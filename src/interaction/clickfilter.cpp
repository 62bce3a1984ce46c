// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/clickfilter.h"

#include <cstdlib>

namespace orvanta {

bool ClickFilter::repeats(const Event& last, const Event& now) {
    // Synthetic events may carry no time at all: those are never repeats.
    return now.timestamp != 0 && now == last;
}

bool ClickFilter::secondOfTwo(const Event& first, const Event& second) const {
    return first.button == second.button && first.timestamp != 0 &&
           second.timestamp >= first.timestamp &&
           second.timestamp - first.timestamp < static_cast<std::uint64_t>(m_doubleClickMs) &&
           std::abs(second.p.x() - first.p.x()) <= m_doubleClickDistance &&
           std::abs(second.p.y() - first.p.y()) <= m_doubleClickDistance;
}

ClickFilter::Press ClickFilter::press(Qt::MouseButton button, std::uint64_t timestamp, QPoint p,
                                      bool doubleClickEvent) {
    const Event now{button, timestamp, p};
    if (repeats(m_lastPress, now))
        return Press::Repeat;
    // A third press after a double-click starts a new click, as elsewhere.
    const bool isDouble =
        timestamp == 0 ? doubleClickEvent : !m_lastWasDouble && secondOfTwo(m_lastPress, now);
    m_lastPress = now;
    m_lastWasDouble = isDouble;
    return isDouble ? Press::Double : Press::Single;
}

bool ClickFilter::release(Qt::MouseButton button, std::uint64_t timestamp, QPoint p) {
    const Event now{button, timestamp, p};
    if (repeats(m_lastRelease, now))
        return false;
    m_lastRelease = now;
    return true;
}

} // namespace orvanta
