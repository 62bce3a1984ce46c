#include "model/options.h"

#include "model/numbers.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace orvanta {

namespace {

const QString kSection = QStringLiteral("Options");

// A hand-edited number beyond the float range (1e301) would become an infinity
// that the next save writes as text no reader takes back: it counts as no
// number and gives the default, as any other bad value does.
float readFloat(const IniDocument& doc, const QString& key, float fallback, QChar sep) {
    const auto text = doc.value(kSection, key);
    if (!text)
        return fallback;
    const auto v = parseFloat(*text, sep);
    if (!v)
        return fallback;
    // Rounded to the nearest float; past the largest one that is an infinity.
    // (FLT_MAX written with 15 digits reads a little above it and still
    // rounds back to it.)
    const float f = static_cast<float>(*v);
    return std::isfinite(f) ? f : fallback;
}

QString boolText(bool b) {
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString defaultSkinPathFor(const QString& optionsFileName) {
    return QFileInfo(optionsFileName).absoluteDir().filePath(QStringLiteral("default/default.ini"));
}

TDervikOptions::TDervikOptions(const QString& fileName, QChar decimalSeparator)
    : FileName(fileName), m_doc(IniDocument::load(fileName)), m_separator(decimalSeparator) {
    const IniDocument& d = m_doc;
    FirstTime = d.readBool(kSection, u"FirstTime", true);
    StayOnTop = d.readBool(kSection, u"StayOnTop", true);
    RunAtStart = d.readBool(kSection, u"RunAtStart", false);
    skinPath = d.readString(kSection, u"skinPath", defaultSkinPathFor(fileName));
    MaxLength = d.readInt(kSection, u"MaxLength", 0);
    HideSplash = d.readBool(kSection, u"HideSplash", false);
    Quality = d.readInt(kSection, u"Quality", 1) != 0;
    Transparency = d.readInt(kSection, u"Transparency", 0);
    Shape = d.readInt(kSection, u"Shape", 0);
    Scribe = d.readInt(kSection, u"Scribe", 0);
    StickyAngle = d.readBool(kSection, u"StickyAngle", true);
    LockAngle = d.readBool(kSection, u"LockAngle", false);
    LockMeasurement = d.readBool(kSection, u"LockMeasurement", false);
    SystemTrayIcon = d.readBool(kSection, u"SystemTrayIcon", true);
    RightClickMenu = d.readBool(kSection, u"RightClickMenu", true);
    Tooltips = d.readBool(kSection, u"Tooltips", true);
    ShowMinimizeBalloon = d.readBool(kSection, u"ShowMinimizeBalloon", true);
    X = d.readInt(kSection, u"X", 200);
    Y = d.readInt(kSection, u"Y", 150);
    Angle = readFloat(d, QStringLiteral("Angle"), 0.0f, m_separator);
    Measurement = readFloat(d, QStringLiteral("Measurement"), 100.0f, m_separator);
    SelectedBaseColor = d.readInt(kSection, u"SelectedBaseColor", 0);
    MeasureType = d.readInt(kSection, u"MeasureType", 0);
}

bool TDervikOptions::Save() {
    auto put = [this](QStringView key, const QString& value) {
        m_doc.setValue(kSection, key, value);
    };
    put(u"FirstTime", QStringLiteral("0"));
    put(u"StayOnTop", boolText(StayOnTop));
    put(u"RunAtStart", boolText(RunAtStart));
    put(u"skinPath", skinPath);
    put(u"HideSplash", boolText(HideSplash));
    put(u"Quality", Quality ? QStringLiteral("1") : QStringLiteral("0"));
    put(u"Transparency", QString::number(Transparency));
    put(u"Shape", QString::number(Shape));
    put(u"Scribe", QString::number(Scribe));
    put(u"StickyAngle", boolText(StickyAngle));
    put(u"LockAngle", boolText(LockAngle));
    put(u"LockMeasurement", boolText(LockMeasurement));
    put(u"SystemTrayIcon", boolText(SystemTrayIcon));
    put(u"RightClickMenu", boolText(RightClickMenu));
    put(u"Tooltips", boolText(Tooltips));
    put(u"ShowMinimizeBalloon", boolText(ShowMinimizeBalloon));
    put(u"X", QString::number(X));
    put(u"Y", QString::number(Y));
    // Single precision widened to double, as the file has always held it.
    put(u"Angle", formatGeneral(static_cast<double>(Angle), m_separator));
    put(u"Measurement", formatGeneral(static_cast<double>(Measurement), m_separator));
    put(u"SelectedBaseColor", QString::number(SelectedBaseColor));
    put(u"MeasureType", QString::number(MeasureType));
    return m_doc.save(FileName);
}

} // namespace orvanta
