// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/compassmodel.h"
#include "model/orvantaerror.h"
#include "testfiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

// A composed compass with seven 1:1 units of two decimals, spread 100.
struct Model {
    explicit Model(QChar separator = u'.')
        : options(dir.filePath("Compass.ini"), separator), units(dir.path(), QString(), separator),
          model(options, units, separator) {
        model.state.composed = true;
        model.state.maxLength = 100000;
        model.state.measurement = 100;
        model.updateReadout();
    }
    // Types each character; "\r" is Enter, "\b" Backspace.
    void type(const QString& keys) {
        for (const QChar c : keys)
            model.keyPress(c);
    }
    [[nodiscard]] float spread() const { return model.state.measurement; }
    QTemporaryDir dir;
    Settings options;
    UnitTable units;
    CompassModel model;
};

} // namespace

TEST(TypedEntry, StepsEditTheEntry) {
    const std::tuple<const char*, bool, const char*, const char*, bool> cases[] = {
        {"100", false, "250", "250", true}, {"12.35", false, "\b", "12.3", true},
        {"", false, "12.5.3", ".3", true},  {"600", false, "/-2", "-2", true},
        {"", true, "\b\b", "", true},       {"100", false, "\x1b\r", "100", false},
        {"7", true, "a.", "7.", true},      {"100", false, ".", ".", true}};
    for (const auto& [shown, typing, keys, text, typingAfter] : cases) {
        TypedEntry entry{QString::fromLatin1(shown), typing};
        for (const char k : std::string_view(keys))
            entry = stepEntry(entry, QChar(k));
        EXPECT_EQ(entry.text, QString::fromLatin1(text)) << keys;
        EXPECT_EQ(entry.typing, typingAfter) << keys;
    }
}

TEST(TypedEntry, EnterAppliesTheEntryToTheShownMeasure) {
    // Measure type, keys, spread after; zoom 2 shrinks typed radii.
    const std::tuple<int, const char*, float> steps[] = {
        {0, "250\r", 250},    {0, "+50\r", 300},   {0, "*2\r", 600},
        {0, "/4\r", 150},     {0, "/0\r", 150},    {0, "-.5\r", 149.5f},
        {1, "628.32\r", 100}, {2, "31416\r", 100}, {2, "-40000\r", 100}, // more area than there is
    };
    Model m;
    for (const auto& [type, keys, spread] : steps) {
        m.model.setMeasureType(type);
        m.type(QString::fromLatin1(keys));
        EXPECT_EQ(m.spread(), spread) << keys;
        EXPECT_FALSE(m.model.state.typing) << keys;
    }
    m.model.setMeasureType(0);
    m.model.state.externalZoom = 2; // a magnified readout: typed radii shrink
    m.type("250\r");
    EXPECT_EQ(m.spread(), 125);
    m.type("-\r");
    EXPECT_EQ(m.model.state.displayText, "-");
    EXPECT_TRUE(m.model.state.typing);
}

TEST(TypedEntry, DiameterAndAngleTakeWhatTheyShow) {
    // Measure type, keys, spread and angle reading after (from 100 px, 0.0°).
    const std::tuple<MeasureKind, const char*, float, float> steps[] = {
        {MeasureKind::Diameter, "250\r", 125, 0}, {MeasureKind::Diameter, "+50\r", 150, 0},
        {MeasureKind::Diameter, "*2\r", 300, 0},  {MeasureKind::Angle, "90\r", 300, 90},
        {MeasureKind::Angle, "+300\r", 300, 30},  {MeasureKind::Angle, "-45\r", 300, 345},
        {MeasureKind::Angle, "/0\r", 300, 345},   {MeasureKind::Angle, "725.5\r", 300, 5.5},
    };
    Model m;
    for (const auto& [kind, keys, spread, reading] : steps) {
        m.model.setMeasureType(int(kind));
        m.type(QString::fromLatin1(keys));
        m.model.state.displayAngle = m.model.state.angle; // as the next render draws it
        m.model.updateReadout();
        EXPECT_EQ(m.spread(), spread) << keys;
        if (kind == MeasureKind::Angle) {
            EXPECT_FLOAT_EQ(m.model.state.displayValue, reading) << keys;
        }
        EXPECT_FALSE(m.model.state.typing) << keys;
    }
    EXPECT_EQ(m.model.titleText(), "Compass 5.5°"); // an angle has no unit
}

TEST(TypedEntry, CopyMeasurementGivesEveryQuantityOnOneLine) {
    Model m;
    m.units.setName(6, "cm");
    m.units.setPixelNum(6, 10);
    m.model.selectUnit(6);
    m.model.setMeasureType(int(MeasureKind::Area)); // what is shown does not matter
    m.model.state.displayAngle = 30;
    EXPECT_EQ(m.model.measurementLine(),
              QString::fromUtf8("r 10 cm · d 20 cm · C 62.83 cm · A 314.16 cm² · 330.0°"));
    const QJsonObject json = QJsonDocument::fromJson(m.model.measurementJson().toUtf8()).object();
    const std::pair<const char*, double> fields[] = {{"radius", 10},
                                                     {"diameter", 20},
                                                     {"circumference", 62.83},
                                                     {"area", 314.16},
                                                     {"angle", 330}};
    for (const auto& [key, value] : fields)
        EXPECT_DOUBLE_EQ(json.value(QLatin1String(key)).toDouble(-1), value) << key;
    EXPECT_EQ(json.value("unit").toString(), "cm");
    m.model.updateReadout();
    EXPECT_EQ(m.model.copyText(), "314.16"); // Ctrl+C still copies the readout
}

TEST(TypedEntry, BackspaceEditsTheShownReadoutInTheRegionalFormat) {
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        Model m(separator);
        m.model.state.measurement = 12.35f;
        m.model.updateReadout();
        m.type("\b");
        EXPECT_EQ(m.model.state.displayText, QString("12") + separator + "3");
        m.type("\r");
        EXPECT_FLOAT_EQ(m.spread(), 12.3f);
    }
}

TEST(TypedEntry, EntriesThatAreNotNumbersKeepTyping) {
    const std::tuple<QChar, const char*, const char*> cases[] = {
        {u'.', "1\b", "''"}, {u'.', "+.", "'.'"}, {u',', "1.5", "'1.5'"}};
    for (const auto& [separator, keys, quoted] : cases) {
        Model m(separator);
        m.type(QString::fromLatin1(keys));
        EXPECT_EQ(test::errorOf([&] { m.model.keyPress(u'\r'); }),
                  QString::fromLatin1(quoted) + " is not a valid floating point value");
        EXPECT_TRUE(m.model.state.typing);
        EXPECT_EQ(m.spread(), 100);
    }
}

TEST(TypedEntry, ClipboardTakesANumberAsRadius) {
    Model m(u',');
    m.units.setPixelNum(6, 10);
    m.model.selectUnit(6);
    m.model.setMeasureType(1);
    EXPECT_FALSE(m.model.paste("abc"));
    EXPECT_FALSE(m.model.paste("1e40"));
    EXPECT_EQ(m.spread(), 100);
    EXPECT_TRUE(m.model.paste(" 2,50\r\n"));
    EXPECT_EQ(m.model.copyText(), "2,5");
    EXPECT_EQ(m.spread(), 25);
}

TEST(TypedEntry, TitleSquaresTheUnitOfAnAreaOnly) {
    struct Case {
        int type;
        const char* name;
        const char* shown;
    };
    const Case cases[] = {
        {0, "px", "px"},      {1, "cm", "cm"},     {2, "cm", "cm²"},
        {2, "英寸", "英寸²"}, {0, "英寸", "英寸"},
    };
    for (const Case& c : cases) {
        Model m;
        m.units.setName(6, QString::fromUtf8(c.name));
        m.units.setPixelNum(6, 96);
        m.model.selectUnit(6);
        m.model.setMeasureType(c.type);
        EXPECT_EQ(m.model.titleText(), "Compass 100 " + QString::fromUtf8(c.shown));
    }
}

TEST(TypedEntry, UnitChoicesAndBrokenUnits) {
    Model m;
    m.units.setName(6, "英寸");
    m.units.setPixelNum(6, 96);
    m.type("12");
    m.model.selectUnit(6); // choosing a unit drops the entry
    EXPECT_FALSE(m.model.state.typing);
    m.model.state.measurement = 48;
    EXPECT_TRUE(m.model.updateReadout());
    EXPECT_EQ(m.model.titleText(), "Compass 0.5 英寸"); // a unit of the user's keeps its name
    m.type("7");
    EXPECT_FALSE(m.model.updateReadout()); // the entry stays on show
    EXPECT_EQ(m.model.state.displayText, "7");

    // A unit of zero pixels, or one past the end of the list, acts as pixels.
    Model b;
    b.units.setPixelNum(6, 0);
    b.model.selectUnit(6);
    b.type("250\r");
    EXPECT_EQ(b.spread(), 250);
    b.units.setCount(3);
    b.model.updateReadout();
    EXPECT_EQ(b.model.state.displayText, "250");
}

TEST(TypedEntry, ExtremeStateReadsSensibly) {
    Model m;
    m.model.state.externalZoom = 1e30f;
    m.model.updateReadout();
    EXPECT_EQ(m.model.state.displayText, "1.00000001504747E32"); // the float nearest 1e30
    m.model.setMeasureType(2);
    m.model.updateReadout();
    EXPECT_EQ(m.model.state.displayValue, std::numeric_limits<float>::max());
    m.model.state.measurement = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(m.model.formatMeasurement(), "0");
}

TEST(TypedEntry, ShapeChangesKeepTheShownPerimeter) {
    Model m;
    m.model.setShape(3); // radius shown: the spread stays
    EXPECT_EQ(m.spread(), 100);
    m.model.setShape(0);
    m.model.setMeasureType(1);
    m.model.setShape(3);
    EXPECT_EQ(m.spread(), 60);
    EXPECT_EQ(m.model.formatMeasurement(), "623.54");
    m.model.setScribe(true);
    EXPECT_EQ(m.spread(), 120);
    const Settings saved(m.options.fileName, u'.');
    EXPECT_EQ(saved.shape, 3);
    EXPECT_EQ(saved.scribe, Inscription::Inscribed);
}
