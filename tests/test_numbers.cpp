#include "model/numbers.h"

#include <gtest/gtest.h>

using namespace orvanta;

struct ReadoutCase {
    long double value;
    int decimals;
    const char* dot;
    const char* comma;
};

TEST(FormatReadout, PatternWithUpToDDecimals) {
    const ReadoutCase cases[] = {
        {12.5L, 2, "12.5", "12,5"},
        {12.0L, 2, "12", "12"},
        {12.346L, 2, "12.35", "12,35"},
        {0.004L, 2, "0", "0"},
        {628.3185L, 0, "628", "628"},
        {628.32L, -3, "628", "628"},
        {-3.14159L, 3, "-3.142", "-3,142"},
        {-0.004L, 2, "0", "0"},
        {0.5L, 0, "0", "0"},
        {1.5L, 0, "2", "2"},
        {31415.9265L, 2, "31415.93", "31415,93"},
        {1e20L, 2, "100000000000000000000", "100000000000000000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatReadout(c.value, c.decimals, u'.'), QString::fromLatin1(c.dot))
            << double(c.value);
        EXPECT_EQ(formatReadout(c.value, c.decimals, u','), QString::fromLatin1(c.comma))
            << double(c.value);
    }
}

TEST(FormatGeneral, FifteenSignificantDigitsShortestForm) {
    const struct {
        long double value;
        const char* text;
    } cases[] = {
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
    for (const auto& c : cases)
        EXPECT_EQ(formatGeneral(c.value, u'.'), QString::fromLatin1(c.text)) << double(c.value);
    EXPECT_EQ(formatGeneral(12.25L, u','), QStringLiteral("12,25"));
}

TEST(ParseFloat, RegionalSeparatorAndStrictSyntax) {
    EXPECT_EQ(parseFloat(u"12.5", u'.'), 12.5L);
    EXPECT_EQ(parseFloat(u" -12.5 ", u'.'), -12.5L);
    EXPECT_EQ(parseFloat(u"12,5", u','), 12.5L);
    EXPECT_EQ(parseFloat(u"+.5", u'.'), 0.5L);
    EXPECT_EQ(parseFloat(u"3.", u'.'), 3.0L);
    EXPECT_EQ(parseFloat(u"1.5e3", u'.'), 1500.0L);
    EXPECT_EQ(parseFloat(u"1E-2", u'.'), 0.01L);
    for (const char16_t* bad : {u"", u".", u"-", u"-.", u"1.5.2", u"1,5", u"abc", u"1e", u"inf",
                                u"nan", u"1 000", u"0x10", u"1e99999"})
        EXPECT_FALSE(parseFloat(bad, u'.').has_value()) << QString::fromUtf16(bad).toStdString();
    EXPECT_FALSE(parseFloat(u"1.5", u',').has_value());
}

TEST(ParseInt, DecimalAndHexadecimal) {
    EXPECT_EQ(parseInt(u"16"), 16);
    EXPECT_EQ(parseInt(u" -7 "), -7);
    EXPECT_EQ(parseInt(u"0x10"), 16);
    EXPECT_EQ(parseInt(u"0X1f"), 31);
    EXPECT_EQ(parseInt(u"$10"), 16);
    EXPECT_EQ(parseInt(u"$FFFFFFFF"), -1);
    EXPECT_EQ(parseInt(u"2147483647"), 2147483647);
    EXPECT_EQ(parseInt(u"-2147483648"), -2147483647 - 1);
    for (const char16_t* bad :
         {u"", u"0x", u"$", u"yes", u"1.5", u"2147483648", u"$100000000", u"12a"})
        EXPECT_FALSE(parseInt(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(Rounding, HalvesToEvenAndAway) {
    EXPECT_EQ(roundHalfEven(2.5L), 2.0L);
    EXPECT_EQ(roundHalfEven(3.5L), 4.0L);
    EXPECT_EQ(roundHalfEven(-2.5L), -2.0L);
    EXPECT_EQ(roundHalfEven(100.5L), 100.0L);
    EXPECT_EQ(roundHalfEven(101.5L), 102.0L);
    EXPECT_EQ(roundHalfEven(2.6L), 3.0L);
    EXPECT_EQ(roundHalfAway(2.5L), 3.0L);
    EXPECT_EQ(roundHalfAway(-2.5L), -3.0L);
}

TEST(ConversionErrors, CarryTheOffendingText) {
    EXPECT_EQ(invalidFloatMessage("1,5"),
              QStringLiteral("'1,5' is not a valid floating point value"));
    EXPECT_EQ(invalidIntegerMessage("9e99"), QStringLiteral("'9e99' is not a valid integer value"));
    try {
        (void)toFloat(QStringLiteral("."), u'.');
        FAIL() << "no error";
    } catch (const OrvantaError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'.' is not a valid floating point value"));
    }
}
