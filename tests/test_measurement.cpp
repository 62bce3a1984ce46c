// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/measurement.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

constexpr MeasureKind kRadius = MeasureKind::Radius, kCircumference = MeasureKind::Circumference,
                      kArea = MeasureKind::Area, kDiameter = MeasureKind::Diameter;
constexpr Inscription kAround = Inscription::AroundCircle, kIn = Inscription::Inscribed;

QString readout(float spread, const Figure& figure, UnitScale scale = {}, int decimals = 2,
                float zoom = 1, QChar separator = u'.') {
    return formatReadoutValue(measuredValue(spread, zoom, figure, scale), decimals, separator);
}

} // namespace

TEST(Measurement, ReadoutOfEachFigure) {
    struct Case {
        Figure figure;
        float zoom;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {{0, kAround, kRadius}, 1, 2, "100"},
        {{0, kAround, kCircumference}, 1, 2, "628.32"},
        {{0, kAround, kArea}, 1, 2, "31415.93"},
        {{4, kAround, kCircumference}, 1, 2, "800"},
        {{4, kIn, kCircumference}, 1, 2, "565.69"},
        {{4, kIn, kArea}, 1, 2, "20000"},
        {{0, kAround, kCircumference}, 2, 0, "1257"},
        {{0, kAround, kArea}, 2, 2, "125663.71"},
        {{6, kAround, kArea}, 1, 2, "34641.02"},
        {{4, kAround, kArea}, 1, 2, "40000"},
        {{0, kAround, kDiameter}, 2, 2, "400"},
        {{5, kIn, kDiameter}, 1, 2, "200"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readout(100, c.figure, {}, c.decimals, c.zoom), QString::fromLatin1(c.text))
            << c.figure.shape << "/" << int(c.figure.scribe) << "/" << int(c.figure.measureType);
    EXPECT_EQ(readout(96, {0, kAround, kCircumference}, {96, 2.54L}, 2, 1, u','), "15,96");
}

TEST(Measurement, AngleReadsAsAProtractorDoes) {
    // The stored clockwise angle and what the readout shows.
    const std::tuple<float, QChar, const char*> cases[] = {
        {30, u'.', "330.0°"},   {-45, u'.', "45.0°"},     {0, u'.', "0.0°"},
        {270, u'.', "90.0°"},   {90, u',', "270,0°"},     {0.04f, u'.', "0.0°"},
        {-0.04f, u'.', "0.0°"}, {-359.96f, u'.', "0.0°"}, {180.06f, u'.', "179.9°"},
        {NAN, u'.', "0.0°"}};
    for (const auto& [stored, separator, text] : cases)
        EXPECT_EQ(formatAngle(protractorAngle(stored), separator), QString::fromUtf8(text))
            << stored;
}

TEST(Measurement, ReadoutTextNeverShowsJunk) {
    const std::pair<long double, const char*> cases[] = {
        {NAN, "0"},
        {INFINITY, "0"},
        {123456789012345.67L, "123456789012345.67"},
        {1234567890123456.7L, "1.23456789012346E15"}};
    for (const auto& [v, text] : cases)
        EXPECT_EQ(formatReadoutValue(v, 2, u'.'), QString::fromLatin1(text)) << double(v);
    EXPECT_EQ(formatReadoutValue(1e30L, 2, u','), "1E30");
}

// Entering what a figure shows gives back its spread, for every shape and mode.
TEST(Measurement, EnteringTheShownQuantityRestoresTheSpread) {
    const UnitScale scale{96, 2.54L};
    for (std::int32_t shape = 0; shape <= kMostSides; shape = shape ? shape + 1 : kFewestSides)
        for (Inscription scribe : {kAround, kIn})
            for (float spread : {37.0f, 2403.0f}) {
                const Figure line{shape, scribe, kCircumference}, area{shape, scribe, kArea};
                EXPECT_EQ(
                    spreadForCircumference(OpSet, double(measuredValue(spread, 1, line, scale)), 1,
                                           scale, circumferenceCoefficients(shape, scribe), u'.'),
                    spread)
                    << shape << "/" << int(scribe);
                EXPECT_EQ(spreadForArea(OpSet, double(measuredValue(spread, 1, area, scale)), 1,
                                        scale, areaCoefficients(shape, scribe), u'.'),
                          spread)
                    << shape << "/" << int(scribe);
            }
}

TEST(Measurement, EntryOperationsOnACircle) {
    struct Case {
        bool area;
        std::int32_t op;
        double value;
        std::optional<float> spread;
    };
    const Case cases[] = {{false, OpAdd, 62.832, 110}, {false, OpSubtract, 1256.64, -100},
                          {false, OpMultiply, 2, 200}, {false, OpDivide, 0, {}},
                          {false, OpSet, 1e12, {}},    {false, 9, 1, {}},
                          {true, OpDivide, 4, 50},     {true, OpSet, -1, {}}};
    for (const auto& c : cases) {
        const auto spread =
            c.area ? spreadForArea(c.op, c.value, 100, {}, areaCoefficients(0, kAround), u'.')
                   : spreadForCircumference(c.op, c.value, 100, {},
                                            circumferenceCoefficients(0, kAround), u'.');
        EXPECT_EQ(spread, c.spread) << c.area << " op " << c.op << " " << c.value;
    }
}

TEST(Measurement, ShapeNames) {
    const std::pair<std::int32_t, const char*> names[] = {
        {0, "Circle"},    {3, "Triangle"}, {4, "Square"}, {9, "Nonagon"}, {10, "10 sides"},
        {39, "39 sides"}, {1, ""},         {2, ""},       {40, ""},       {-1, ""}};
    for (const auto& [n, name] : names)
        EXPECT_EQ(shapeName(n), QString::fromUtf8(name)) << n;
    EXPECT_EQ(shapeMenuText(3), QStringLiteral("Triangle - 3"));
    EXPECT_EQ(shapeMenuText(0), QStringLiteral("Circle"));
}
