// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Compass.ini as a user may have edited it: the document must read, and what
// the options object saves must read back to the same settings and keep every
// other section and key of the file.
#include "fuzzsupport.h"
#include "model/settings.h"

#include <cmath>

using namespace orvanta;
using namespace orvanta::fuzz;

namespace {

// Two documents hold the same sections, keys and values in the same order.
bool sameDocument(const IniDocument& a, const IniDocument& b) {
    if (a.sections() != b.sections())
        return false;
    for (const QString& section : a.sections()) {
        if (a.keys(section) != b.keys(section))
            return false;
        for (const QString& key : a.keys(section))
            if (a.value(section, key) != b.value(section, key))
                return false;
    }
    return true;
}

bool sameFloat(float a, float b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool sameSettings(const Settings& a, const Settings& b) {
    return a.stayOnTop == b.stayOnTop && a.runAtStart == b.runAtStart && a.skinPath == b.skinPath &&
           a.hideSplash == b.hideSplash && a.quality == b.quality &&
           a.transparency == b.transparency && a.shape == b.shape && a.scribe == b.scribe &&
           a.stickyAngle == b.stickyAngle && a.lockAngle == b.lockAngle &&
           a.lockMeasurement == b.lockMeasurement && a.systemTrayIcon == b.systemTrayIcon &&
           a.rightClickMenu == b.rightClickMenu && a.tooltips == b.tooltips &&
           a.showMinimizeBalloon == b.showMinimizeBalloon && a.x == b.x && a.y == b.y &&
           sameFloat(a.angle, b.angle) && sameFloat(a.measurement, b.measurement) &&
           a.selectedBaseColor == b.selectedBaseColor && a.measureType == b.measureType;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = bytesOf(data, size);

    // What a document reads, it writes so that it reads the same again.
    const IniDocument doc = IniDocument::fromBytes(bytes);
    check(sameDocument(doc, IniDocument::fromBytes(doc.toBytes())), "document round trip");

    const QString path = scratch().filePath(QStringLiteral("Compass.ini"));
    writeFile(path, bytes);
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        writeFile(path, bytes);
        Settings options(path, separator);
        check(options.save(), "options save");
        const Settings again(path, separator);
        check(sameSettings(options, again), "options round trip");
        check(!again.firstTime, "a saved file is not a first run");
        // Sections and keys the options do not own survive the save.
        for (const QString& section : doc.sections())
            for (const QString& key : doc.keys(section))
                check(again.document().value(section, key).has_value(), "foreign key kept");
    }
    return 0;
}
