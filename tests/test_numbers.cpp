// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/numbers.h"

#include <gtest/gtest.h>

using namespace orvanta;

TEST(FormatReadout, PatternWithUpToDDecimals) {
    const struct {
        long double value;
        int decimals;
        const char* dot;
        const char* comma;
    } cases[] = {
        {12.5L, 2, "12.5", "12,5"},
        {12.0L, 2, "12", "12"},
        {12.346L, 2, "12.35", "12,35"},
        {628.32L, -3, "628", "628"},
        {-3.14159L, 3, "-3.142", "-3,142"},
        {-0.004L, 2, "0", "0"},
        {0.5L, 0, "0", "0"},
        {1.5L, 0, "2", "2"},
        {1e20L, 2, "100000000000000000000", "100000000000000000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatReadout(c.value, c.decimals, u'.'), c.dot) << double(c.value);
        EXPECT_EQ(formatReadout(c.value, c.decimals, u','), c.comma) << double(c.value);
    }
}

TEST(FormatGeneral, FifteenSignificantDigitsShortestForm) {
    const std::pair<long double, const char*> cases[] = {
        {static_cast<double>(12.3f), "12.3000001907349"},
        {100.0L, "100"},
        {0.0L, "0"},
        {-2.5L, "-2.5"},
        {1e15L, "1E15"},
        {123456789012345.0L, "123456789012345"},
        {1.5e20L, "1.5E20"},
        {0.00001L, "0.00001"},
        {0.000001L, "1E-6"},
        {1.0L / 3.0L, "0.333333333333333"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatGeneral(value, u'.'), text) << double(value);
    EXPECT_EQ(formatGeneral(12.25L, u','), QStringLiteral("12,25"));
}

TEST(ParseNumbers, RegionalSeparatorHexadecimalAndStrictSyntax) {
    const std::tuple<const char16_t*, QChar, long double> floats[] = {
        {u" -12.5 ", u'.', -12.5L}, {u"12,5", u',', 12.5L},    {u"+.5", u'.', 0.5L},
        {u"3.", u'.', 3.0L},        {u"1.5e3", u'.', 1500.0L}, {u"1E-2", u'.', 0.01L}};
    for (const auto& [text, separator, value] : floats)
        EXPECT_EQ(parseFloat(text, separator), value) << QString::fromUtf16(text).toStdString();
    for (const char16_t* bad :
         {u"", u".", u"-.", u"1.5.2", u"1,5", u"1e", u"inf", u"nan", u"1 000", u"0x10", u"1e99999"})
        EXPECT_FALSE(parseFloat(bad, u'.').has_value()) << QString::fromUtf16(bad).toStdString();
    EXPECT_FALSE(parseFloat(u"1.5", u',').has_value());

    const std::pair<const char16_t*, std::int32_t> ints[] = {{u" -7 ", -7},
                                                             {u"0X1f", 31},
                                                             {u"$10", 16},
                                                             {u"$FFFFFFFF", -1},
                                                             {u"2147483647", 2147483647},
                                                             {u"-2147483648", -2147483647 - 1}};
    for (const auto& [text, value] : ints)
        EXPECT_EQ(parseInt(text), value) << QString::fromUtf16(text).toStdString();
    for (const char16_t* bad : {u"", u"0x", u"$", u"yes", u"1.5", u"2147483648", u"$100000000"})
        EXPECT_FALSE(parseInt(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(Rounding, HalvesToEvenAndAway) {
    const std::tuple<long double, long double, long double> cases[] = {
        {2.5L, 2, 3}, {3.5L, 4, 4}, {-2.5L, -2, -3}, {101.5L, 102, 102}, {2.6L, 3, 3}};
    for (const auto& [in, even, away] : cases) {
        EXPECT_EQ(roundHalfEven(in), even) << double(in);
        EXPECT_EQ(roundHalfAway(in), away) << double(in);
    }
}
