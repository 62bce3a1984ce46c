// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "controllerharness.h"
#include "logcapture.h"
#include "model/settings.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace orvanta;
using test::readAll;
using test::writeAll;

// A hand-edited or damaged Compass.ini: each value outside its option's range
// is brought into it on reading, and a save stores what is used.
TEST(OptionRanges, OutOfRangeValuesAreBroughtIntoRangeAndSaved) {
    using Field = std::function<int(const Settings&)>;
    const Field shape = [](const Settings& s) { return s.shape; };
    const Field scribe = [](const Settings& s) { return int(s.scribe); };
    const Field type = [](const Settings& s) { return int(s.measureType); };
    const Field transparency = [](const Settings& s) { return s.transparency; };
    const struct {
        const char* key;
        const char* stored;
        Field field;
        int used;
    } cases[] = {
        {"MeasureType", "42", type, 0},
        {"MeasureType", "-1", type, 0},
        {"MeasureType", "2", type, 2},
        {"MeasureType", "4", type, 4},
        {"MeasureType", "5", type, 0},
        {"Shape", "2147483647", shape, 0},
        {"Shape", "2", shape, 0},
        {"Shape", "40", shape, 0},
        {"Shape", "3", shape, 3},
        {"Shape", "39", shape, 39},
        {"Scribe", "7", scribe, 0},
        {"Scribe", "1", scribe, 1},
        {"Transparency", "95", transparency, 90}, // never all but invisible
        {"Transparency", "-3", transparency, 0},
        {"Transparency", "90", transparency, 90},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        QTemporaryDir dir;
        const QString file = dir.filePath("Compass.ini");
        writeAll(file, QByteArray("[Options]\r\n") + c.key + '=' + c.stored + "\r\n");
        Settings options(file);
        EXPECT_EQ(c.field(options), c.used);
        const bool outOfRange = QByteArray::number(c.used) != c.stored;
        EXPECT_EQ(options.corrected(), outOfRange ? QStringList{c.key} : QStringList{});
        ASSERT_TRUE(options.save());
        EXPECT_TRUE(options.corrected().isEmpty());
        EXPECT_TRUE(readAll(file).contains(QByteArray("\r\n") + c.key + '=' +
                                           QByteArray::number(c.used) + "\r\n"));
        const Settings again(file);
        EXPECT_TRUE(again.corrected().isEmpty());
    }

    // What is not a number at all gives the default, as it always has, and
    // the log names the key, the value and the range.
    QTemporaryDir dir;
    writeAll(dir.filePath("Compass.ini"), "[Options]\r\nShape=six\r\nMeasureType=42\r\n");
    const test::LogCapture log;
    const Settings options(dir.filePath("Compass.ini"));
    EXPECT_EQ(options.corrected(), QStringList{"MeasureType"});
    EXPECT_EQ(log.lines, QStringList("orvanta.settings: MeasureType=42 in the options is out of "
                                     "range (0 to 4); using 0"));
}

// The start stores the corrected values at once: the next start neither
// corrects nor logs again, and the menu checks what is shown.
TEST(OptionRanges, TheStartStoresTheCorrectedValues) {
    test::ControllerHarness h("[Options]\r\nFirstTime=0\r\nMeasureType=42\r\nShape=1000\r\n");
    ASSERT_TRUE(h.ok());
    const QByteArray stored = h.program.readFile("Compass.ini");
    EXPECT_TRUE(stored.contains("\r\nMeasureType=0\r\n") && stored.contains("\r\nShape=0\r\n"))
        << stored.toStdString();
    EXPECT_EQ(h.controller->settings().measureType, MeasureKind::Radius);
    EXPECT_TRUE(h.services.messages.isEmpty());
}
