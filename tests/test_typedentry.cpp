#include "model/compassmodel.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

// A composed compass with seven 1:1 units of two decimals, spread 100.
struct Model {
    explicit Model(QChar separator = u'.')
        : options(dir.filePath("Compass.ini"), separator), units(dir.path(), QString(), separator),
          model(options, units, separator) {
        model.state.FComposed = true;
        model.state.FMaxLength = 100000;
        model.state.FMeasurement = 100;
        model.UpdateReadout();
    }
    // Types each character; "\r" is Enter, "\b" Backspace.
    void type(const QString& keys) {
        for (const QChar c : keys)
            model.KeyPress(c);
    }
    [[nodiscard]] float spread() const { return model.state.FMeasurement; }
    QTemporaryDir dir;
    TDervikOptions options;
    TMeasurements units;
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
            entry = StepEntry(entry, QChar(k));
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
        m.model.SetMeasureType(type);
        m.type(QString::fromLatin1(keys));
        EXPECT_EQ(m.spread(), spread) << keys;
        EXPECT_FALSE(m.model.state.FTyping) << keys;
    }
    m.model.SetMeasureType(0);
    m.model.state.FExternalZoom = 2; // a magnified readout: typed radii shrink
    m.type("250\r");
    EXPECT_EQ(m.spread(), 125);
    m.type("-\r");
    EXPECT_EQ(m.model.state.FDisplayText, "-");
    EXPECT_TRUE(m.model.state.FTyping);
}

TEST(TypedEntry, BackspaceEditsTheShownReadoutInTheRegionalFormat) {
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        Model m(separator);
        m.model.state.FMeasurement = 12.35f;
        m.model.UpdateReadout();
        m.type("\b");
        EXPECT_EQ(m.model.state.FDisplayText, QString("12") + separator + "3");
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
        try {
            m.model.KeyPress(u'\r');
            ADD_FAILURE() << keys;
        } catch (const OrvantaError& e) {
            EXPECT_EQ(e.message(),
                      QString::fromLatin1(quoted) + " is not a valid floating point value");
        }
        EXPECT_TRUE(m.model.state.FTyping);
        EXPECT_EQ(m.spread(), 100);
    }
}

TEST(TypedEntry, ClipboardTakesANumberAsRadius) {
    Model m(u',');
    m.units.SetPixelNum(6, 10);
    m.model.SelectUnit(6);
    m.model.SetMeasureType(1);
    EXPECT_FALSE(m.model.Paste("abc"));
    EXPECT_FALSE(m.model.Paste("1e40"));
    EXPECT_EQ(m.spread(), 100);
    EXPECT_TRUE(m.model.Paste(" 2,50\r\n"));
    EXPECT_EQ(m.model.CopyText(), "2,5");
    EXPECT_EQ(m.spread(), 25);
}

TEST(TypedEntry, UnitChoicesAndBrokenUnits) {
    Model m;
    m.units.SetName(6, "英寸");
    m.units.SetPixelNum(6, 96);
    m.type("12");
    m.model.SelectUnit(6); // choosing a unit drops the entry
    EXPECT_FALSE(m.model.state.FTyping);
    m.model.state.FMeasurement = 48;
    EXPECT_TRUE(m.model.UpdateReadout());
    EXPECT_EQ(m.model.TitleText(), "圆规0.5 英寸");
    m.type("7");
    EXPECT_FALSE(m.model.UpdateReadout()); // the entry stays on show
    EXPECT_EQ(m.model.state.FDisplayText, "7");

    // A unit of zero pixels, or one past the end of the list, acts as pixels.
    Model b;
    b.units.SetPixelNum(6, 0);
    b.model.SelectUnit(6);
    b.type("250\r");
    EXPECT_EQ(b.spread(), 250);
    b.units.SetCount(3);
    b.model.UpdateReadout();
    EXPECT_EQ(b.model.state.FDisplayText, "250");
}

TEST(TypedEntry, ExtremeStateReadsSensibly) {
    Model m;
    m.model.state.FExternalZoom = 1e30f;
    m.model.UpdateReadout();
    EXPECT_EQ(m.model.state.FDisplayText, "1.00000001504747E32"); // the float nearest 1e30
    m.model.SetMeasureType(2);
    m.model.UpdateReadout();
    EXPECT_EQ(m.model.state.FDisplayValue, std::numeric_limits<float>::max());
    m.model.state.FMeasurement = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(m.model.FormatMeasurement(), "0");
}

TEST(TypedEntry, ShapeChangesKeepTheShownPerimeter) {
    Model m;
    m.model.SetShape(3); // radius shown: the spread stays
    EXPECT_EQ(m.spread(), 100);
    m.model.SetShape(0);
    m.model.SetMeasureType(1);
    m.model.SetShape(3);
    EXPECT_EQ(m.spread(), 60);
    EXPECT_EQ(m.model.FormatMeasurement(), "623.54");
    m.model.SetScribe(true);
    EXPECT_EQ(m.spread(), 120);
    const TDervikOptions saved(m.options.FileName, u'.');
    EXPECT_EQ(saved.Shape, 3);
    EXPECT_EQ(saved.Scribe, 1);
}
