// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/clickfilter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace orvanta;

namespace {

constexpr int kInterval = 400;
constexpr int kDistance = 5;

// One input event: 'p' press, 'd' Qt's double-click event, 'r' release.
struct Input {
    char kind;
    std::uint64_t time;
    QPoint p = QPoint(100, 100);
    Qt::MouseButton button = Qt::LeftButton;
};

// What the filter lets through: 's' single press, 'D' double press,
// 'r' release, '-' dropped.
std::string run(const std::vector<Input>& inputs) {
    ClickFilter filter(kInterval, kDistance);
    std::string out;
    for (const Input& in : inputs) {
        if (in.kind == 'r') {
            out += filter.release(in.button, in.time, in.p) ? 'r' : '-';
            continue;
        }
        switch (filter.press(in.button, in.time, in.p, in.kind == 'd')) {
        case ClickFilter::Press::Repeat:
            out += '-';
            break;
        case ClickFilter::Press::Single:
            out += 's';
            break;
        case ClickFilter::Press::Double:
            out += 'D';
            break;
        }
    }
    return out;
}

} // namespace

TEST(ClickFilter, RepeatsAreDroppedAndDoubleClicksCountedFromWhatIsLeft) {
    const QPoint far(100 + kDistance + 1, 100);
    const struct {
        const char* what;
        std::vector<Input> inputs;
        std::string expected;
    } cases[] = {
        {"one click", {{'p', 10}, {'r', 20}}, "sr"},
        {"one click, each event twice, the second press made a double-click by Qt",
         {{'p', 10}, {'d', 10}, {'r', 20}, {'r', 20}},
         "s-r-"},
        {"a double-click", {{'p', 10}, {'r', 20}, {'d', 300}, {'r', 310}}, "srDr"},
        {"a double-click, each event twice",
         {{'p', 10},
          {'p', 10},
          {'r', 20},
          {'r', 20},
          {'p', 300},
          {'d', 300},
          {'r', 310},
          {'r', 310}},
         "s-r-D-r-"},
        {"a press and Qt's double-click for the same second press",
         {{'p', 10}, {'r', 20}, {'p', 300}, {'d', 300}},
         "srD-"},
        {"too slow for a double-click, whatever Qt says",
         {{'p', 10}, {'r', 20}, {'d', 10 + kInterval}},
         "srs"},
        {"too far for a double-click", {{'p', 10}, {'r', 20}, {'p', 300, far}}, "srs"},
        {"another button", {{'p', 10}, {'r', 20}, {'p', 300, {100, 100}, Qt::RightButton}}, "srs"},
        {"a third quick press starts over",
         {{'p', 10}, {'r', 20}, {'p', 100}, {'r', 120}, {'p', 200}},
         "srDrs"},
        {"the same place and button later is no repeat",
         {{'p', 10}, {'r', 20}, {'p', 9000}},
         "srs"},
        {"events without a time trust Qt and are never repeats",
         {{'p', 0}, {'r', 0}, {'d', 0}, {'r', 0}},
         "srDr"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.inputs), c.expected) << c.what;
}
