// Compass.ini as a user may have edited it: the document must read, and what
// the options object saves must read back to the same settings and keep every
// other section and key of the file.
#include "model/options.h"

#include "fuzzsupport.h"

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

bool sameSettings(const TDervikOptions& a, const TDervikOptions& b) {
    return a.StayOnTop == b.StayOnTop && a.RunAtStart == b.RunAtStart && a.skinPath == b.skinPath &&
           a.HideSplash == b.HideSplash && a.Quality == b.Quality &&
           a.Transparency == b.Transparency && a.Shape == b.Shape && a.Scribe == b.Scribe &&
           a.StickyAngle == b.StickyAngle && a.LockAngle == b.LockAngle &&
           a.LockMeasurement == b.LockMeasurement && a.SystemTrayIcon == b.SystemTrayIcon &&
           a.RightClickMenu == b.RightClickMenu && a.Tooltips == b.Tooltips &&
           a.ShowMinimizeBalloon == b.ShowMinimizeBalloon && a.X == b.X && a.Y == b.Y &&
           sameFloat(a.Angle, b.Angle) && sameFloat(a.Measurement, b.Measurement) &&
           a.SelectedBaseColor == b.SelectedBaseColor && a.MeasureType == b.MeasureType;
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
        TDervikOptions options(path, separator);
        check(options.Save(), "options save");
        const TDervikOptions again(path, separator);
        check(sameSettings(options, again), "options round trip");
        check(!again.FirstTime, "a saved file is not a first run");
        // Sections and keys the options do not own survive the save.
        for (const QString& section : doc.sections())
            for (const QString& key : doc.keys(section))
                check(again.document().value(section, key).has_value(), "foreign key kept");
    }
    return 0;
}
