// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/settings.h"

#include "model/logging.h"
#include "model/numbers.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <utility>

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

// A whole number brought into `range`; the key is noted when that changed it.
std::int32_t readRanged(const IniDocument& doc, QStringView key, const OptionRange& range,
                        QStringList& corrected) {
    const auto text = doc.value(kSection, key);
    const std::int32_t value = doc.readInt(kSection, key, range.fallback);
    const std::int32_t brought = range.brought(value);
    if (text && brought != value) {
        qCWarning(lcSettings, "%s=%s in the options is out of range (%s); using %d",
                  qUtf8Printable(key.toString()), qUtf8Printable(*text),
                  qUtf8Printable(range.expected()), brought);
        corrected << key.toString();
    }
    return brought;
}

QString boolText(bool b) {
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

constexpr std::pair<LanguageChoice, QStringView> kLanguageTexts[] = {
    {LanguageChoice::Automatic, u"Automatic"},
    {LanguageChoice::English, u"English"},
    {LanguageChoice::Chinese, u"Chinese"},
};

} // namespace

QString languageChoiceText(LanguageChoice choice) {
    for (const auto& [c, text] : kLanguageTexts)
        if (c == choice)
            return text.toString();
    return QStringLiteral("Automatic");
}

LanguageChoice languageChoiceFromText(QStringView text) {
    for (const auto& [c, stored] : kLanguageTexts)
        if (text.trimmed().compare(stored, Qt::CaseInsensitive) == 0)
            return c;
    return LanguageChoice::Automatic;
}

QString defaultSkinPathFor(const QString& optionsFileName) {
    return QFileInfo(optionsFileName).absoluteDir().filePath(QStringLiteral("default/default.ini"));
}

Settings::Settings(const QString& fileName, QChar decimalSeparator)
    : fileName(fileName), m_doc(IniDocument::load(fileName)), m_separator(decimalSeparator) {
    const IniDocument& d = m_doc;
    firstTime = d.readBool(kSection, u"FirstTime", true);
    stayOnTop = d.readBool(kSection, u"StayOnTop", true);
    runAtStart = d.readBool(kSection, u"RunAtStart", false);
    skinPath = d.readString(kSection, u"skinPath", defaultSkinPathFor(fileName));
    maxLength = d.readInt(kSection, u"MaxLength", 0);
    hideSplash = d.readBool(kSection, u"HideSplash", false);
    quality = d.readInt(kSection, u"Quality", 1) != 0;
    transparency = readRanged(d, u"Transparency", kTransparencyRange, m_corrected);
    shape = readRanged(d, u"Shape", kShapeRange, m_corrected);
    scribe = Inscription(readRanged(d, u"Scribe", kScribeRange, m_corrected));
    stickyAngle = d.readBool(kSection, u"StickyAngle", true);
    lockAngle = d.readBool(kSection, u"LockAngle", false);
    lockMeasurement = d.readBool(kSection, u"LockMeasurement", false);
    systemTrayIcon = d.readBool(kSection, u"SystemTrayIcon", true);
    rightClickMenu = d.readBool(kSection, u"RightClickMenu", true);
    tooltips = d.readBool(kSection, u"Tooltips", true);
    showMinimizeBalloon = d.readBool(kSection, u"ShowMinimizeBalloon", true);
    x = d.readInt(kSection, u"X", 200);
    y = d.readInt(kSection, u"Y", 150);
    angle = readFloat(d, QStringLiteral("Angle"), 0.0f, m_separator);
    measurement = readFloat(d, QStringLiteral("Measurement"), 100.0f, m_separator);
    selectedBaseColor = d.readInt(kSection, u"SelectedBaseColor", 0);
    measureType = MeasureKind(readRanged(d, u"MeasureType", kMeasureTypeRange, m_corrected));
    language = languageChoiceFromText(d.readString(kSection, u"Language", {}));
    physicalUnitsPerMonitor = d.readBool(kSection, u"PhysicalUnitsPerMonitor", true);
    loupe = d.readBool(kSection, u"Loupe", false);
    loupeZoom = readRanged(d, u"LoupeZoom", kLoupeZoomRange, m_corrected);
}

bool Settings::isStored(QStringView key) const {
    return m_doc.value(kSection, key).has_value();
}

bool Settings::save(QString* whyNot) {
    auto put = [this](QStringView key, const QString& value) {
        m_doc.setValue(kSection, key, value);
    };
    put(u"FirstTime", QStringLiteral("0"));
    put(u"StayOnTop", boolText(stayOnTop));
    put(u"RunAtStart", boolText(runAtStart));
    put(u"skinPath", skinPath);
    put(u"HideSplash", boolText(hideSplash));
    put(u"Quality", quality ? QStringLiteral("1") : QStringLiteral("0"));
    put(u"Transparency", QString::number(transparency));
    put(u"Shape", QString::number(shape));
    put(u"Scribe", QString::number(std::int32_t(scribe)));
    put(u"StickyAngle", boolText(stickyAngle));
    put(u"LockAngle", boolText(lockAngle));
    put(u"LockMeasurement", boolText(lockMeasurement));
    put(u"SystemTrayIcon", boolText(systemTrayIcon));
    put(u"RightClickMenu", boolText(rightClickMenu));
    put(u"Tooltips", boolText(tooltips));
    put(u"ShowMinimizeBalloon", boolText(showMinimizeBalloon));
    put(u"X", QString::number(x));
    put(u"Y", QString::number(y));
    // Single precision widened to double, as the file has always held it.
    put(u"Angle", formatGeneral(static_cast<double>(angle), m_separator));
    put(u"Measurement", formatGeneral(static_cast<double>(measurement), m_separator));
    put(u"SelectedBaseColor", QString::number(selectedBaseColor));
    put(u"MeasureType", QString::number(std::int32_t(measureType)));
    put(u"Language", languageChoiceText(language));
    put(u"PhysicalUnitsPerMonitor", boolText(physicalUnitsPerMonitor));
    put(u"Loupe", boolText(loupe));
    put(u"LoupeZoom", QString::number(loupeZoom));
    QString reason;
    QString& why = whyNot ? *whyNot : reason;
    if (m_doc.save(fileName, &why)) {
        m_corrected.clear();
        return true;
    }
    // Most callers save in passing (a toggle, the way out) and go on with the
    // values in memory: this line is all that is left of the failure.
    qCWarning(lcSettings, "Cannot save the options to \"%s\": %s", qUtf8Printable(fileName),
              qUtf8Printable(why));
    return false;
}

} // namespace orvanta
