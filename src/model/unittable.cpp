// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/unittable.h"

#include "model/inidocument.h"
#include "model/logging.h"
#include "model/measurement.h"
#include "model/orvantaerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>

namespace orvanta {

namespace {

// Section and key names are fixed texts of the file format.
const QString kOptionsSection = QStringLiteral("选项");
const QString kUnitSectionPrefix = QStringLiteral("单位");
const QString kNameKey = QStringLiteral("名称");
const QString kDefaultNamePrefix = QStringLiteral("自定义");

// What a missing file or key stands for: seven 1:1 units, six of them shipped.
constexpr std::int32_t kDefaultCount = 7;
constexpr std::int32_t kDefaultLocked = 6;
constexpr long double kDefaultRatio = 1;
constexpr std::int32_t kDefaultDecimals = 2;

QString unitSection(std::int32_t index) {
    return kUnitSectionPrefix + QString::number(index + 1); // the file counts from 1
}

// Numbers are written with the user's decimal separator. A file written under
// another locale, and the file shipped with the program, use "."; it is read too.
long double readRatio(const IniDocument& doc, const QString& section, QStringView key,
                      QChar separator) {
    const auto text = doc.value(section, key);
    if (!text)
        return kDefaultRatio;
    if (const auto v = parseFloat(*text, separator))
        return *v;
    if (separator != u'.')
        if (const auto v = parseFloat(*text, u'.'))
            return *v;
    return kDefaultRatio;
}

// Keys missing from `top` are taken from `under`. Used only for reading: the
// user's file never receives what it did not hold.
IniDocument layered(IniDocument top, const IniDocument& under) {
    for (const QString& section : under.sections())
        for (const QString& key : under.keys(section))
            if (!top.value(section, key))
                top.setValue(section, key, *under.value(section, key));
    return top;
}

// The shipped units under the names a units file may give them: the shipped
// file's Chinese and the English that the program shows.
struct ShippedUnit {
    QStringView stored;
    const char* english;
    QStringView symbol = {};
};
constexpr ShippedUnit kShippedUnits[] = {
    {u"像素", QT_TRANSLATE_NOOP("Units", "Pixels"), u"px"},
    {u"英寸", QT_TRANSLATE_NOOP("Units", "Inches"), u"in"},
    {u"厘米", QT_TRANSLATE_NOOP("Units", "Centimetres"), u"cm"},
    {u"毫米", QT_TRANSLATE_NOOP("Units", "Millimetres"), u"mm"},
    {u"点", QT_TRANSLATE_NOOP("Units", "Points"), u"pt"},
    {u"派卡", QT_TRANSLATE_NOOP("Units", "Picas"), u"pc"},
};

const ShippedUnit* shippedUnitNamed(const QString& name) {
    const QString trimmed = name.trimmed();
    for (const ShippedUnit& u : kShippedUnits)
        if (trimmed == u.stored ||
            trimmed.compare(QLatin1String(u.english), Qt::CaseInsensitive) == 0)
            return &u;
    return nullptr;
}

bool convertible(long double ratio) {
    return std::isfinite(ratio) && ratio > 0;
}

} // namespace

QString perUserUnitsPath() {
    // Relative values of XDG_CONFIG_HOME are invalid and must be ignored.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return perUserUnitsPathIn(base);
}

QString perUserUnitsPathIn(const QString& configHome) {
    return QDir(configHome).filePath(QStringLiteral("Velmora/config/distances.ini"));
}

UnitTable::UnitTable(const QString& programFolder, const QString& perUserFile,
                     QChar decimalSeparator)
    : UnitTable(
          UnitFiles{QDir(programFolder).filePath(QStringLiteral("distances.ini")), {}, perUserFile},
          decimalSeparator) {}

UnitTable::UnitTable(const UnitFiles& files, QChar decimalSeparator)
    : m_defaultFile(files.userFile), m_shippedFile(files.shippedFile),
      m_separator(decimalSeparator) {
    // The per-user copy is never created here: only one the user made is used.
    if (!files.perUserFile.isEmpty() && QFileInfo::exists(files.perUserFile))
        m_perUserFile = files.perUserFile;
    load(m_perUserFile.isEmpty() ? m_defaultFile : m_perUserFile);
}

void UnitTable::load(const QString& path) {
    IniDocument doc = IniDocument::load(path);
    if (!m_shippedFile.isEmpty())
        doc = layered(std::move(doc), IniDocument::load(m_shippedFile));
    const std::int32_t count =
        std::clamp(doc.readInt(kOptionsSection, u"UnitsCount", kDefaultCount), 0, kMaxUnits);
    m_lockedCount = std::max(doc.readInt(kOptionsSection, u"UnitsLockedCount", kDefaultLocked), 0);
    m_selected = doc.readInt(kOptionsSection, u"SelectedUnit", 0);
    m_units.assign(std::size_t(count), Unit{});
    for (std::int32_t i = 0; i < count; ++i) {
        const QString section = unitSection(i);
        Unit& u = m_units[std::size_t(i)];
        u.name = doc.readString(section, kNameKey, kDefaultNamePrefix + QString::number(i));
        u.pixels = readRatio(doc, section, u"PixelNum", m_separator);
        u.units = readRatio(doc, section, u"UnitNum", m_separator);
        u.decimals = doc.readInt(section, u"DecimalNum", kDefaultDecimals);
    }
}

void UnitTable::save() const {
    if (!m_perUserFile.isEmpty()) {
        saveTo(m_perUserFile);
        try {
            saveTo(m_defaultFile);
        } catch (const OrvantaError&) {
            // The next start reads the per-user copy, which is up to date.
        }
        return;
    }
    saveTo(m_defaultFile);
}

void UnitTable::saveTo(const QString& path) const {
    IniDocument doc = IniDocument::load(path);
    doc.setValue(kOptionsSection, u"UnitsCount", QString::number(unitsCount()));
    doc.setValue(kOptionsSection, u"SelectedUnit", QString::number(m_selected));
    // Shipped units are data of the program: a change to them lasts until exit.
    for (std::int32_t i = m_lockedCount; i < unitsCount(); ++i) {
        const Unit& u = m_units[std::size_t(i)];
        const QString section = unitSection(i);
        doc.setValue(section, kNameKey, u.name);
        doc.setValue(section, u"PixelNum", formatGeneral(u.pixels, m_separator));
        doc.setValue(section, u"UnitNum", formatGeneral(u.units, m_separator));
        doc.setValue(section, u"DecimalNum", QString::number(u.decimals));
    }
    QString why;
    if (!writeFileAtomically(path, doc.toBytes(), &why)) {
        // Logged here as well as thrown: the way out and the per-user copy's
        // companion file swallow the error.
        qCWarning(lcSettings, "Cannot save the units to \"%s\": %s", qUtf8Printable(path),
                  qUtf8Printable(why));
        throw translatableError(QT_TRANSLATE_NOOP("Errors", "Cannot create file \"%1\". %2"),
                                {path, why});
    }
}

const UnitTable::Unit* UnitTable::at(std::int32_t index) const {
    if (index < 0 || index >= unitsCount())
        return nullptr;
    return &m_units[std::size_t(index)];
}

UnitTable::Unit* UnitTable::grow(std::int32_t index) {
    if (index < 0 || index >= kMaxUnits)
        return nullptr;
    if (index >= unitsCount())
        setCount(index + 1);
    return &m_units[std::size_t(index)];
}

QString UnitTable::name(std::int32_t index) const {
    const Unit* u = at(index);
    return u ? u->name : QString();
}

QString UnitTable::symbol(std::int32_t index) const {
    if (index < m_lockedCount)
        if (const ShippedUnit* u = shippedUnitNamed(name(index)))
            return u->symbol.toString();
    return displayName(index);
}

QString UnitTable::displayName(std::int32_t index) const {
    const QString stored = name(index);
    // A unit of the user's keeps its name even when it is called "Pixels";
    // only the names the program gives follow the language. With no units file
    // at all, the locked units too carry the name given to a new unit.
    if (index < m_lockedCount)
        if (const ShippedUnit* u = shippedUnitNamed(stored))
            return QCoreApplication::translate("Units", u->english);
    const QStringView number = QStringView(stored).mid(kDefaultNamePrefix.size());
    if (stored.startsWith(kDefaultNamePrefix) && !number.isEmpty() &&
        std::all_of(number.begin(), number.end(), [](QChar c) { return c.isDigit(); }))
        return QCoreApplication::translate("Units", "Custom %1").arg(number);
    return stored;
}

long double UnitTable::pixelNum(std::int32_t index) const {
    const Unit* u = at(index);
    return u ? u->pixels : 0;
}

long double UnitTable::unitNum(std::int32_t index) const {
    const Unit* u = at(index);
    return u ? u->units : 0;
}

std::int32_t UnitTable::decimalNum(std::int32_t index) const {
    const Unit* u = at(index);
    return u ? u->decimals : 0;
}

void UnitTable::setName(std::int32_t index, const QString& name) {
    // The name as shown ("Custom 1" for "自定义1") leaves the stored one as it is.
    if (index < unitsCount() && name == displayName(index))
        return;
    if (Unit* u = grow(index))
        u->name = name;
}

void UnitTable::setPixelNum(std::int32_t index, long double pixels) {
    if (Unit* u = grow(index))
        u->pixels = pixels;
}

void UnitTable::setUnitNum(std::int32_t index, long double units) {
    if (Unit* u = grow(index))
        u->units = units;
}

void UnitTable::setDecimalNum(std::int32_t index, std::int32_t decimals) {
    if (Unit* u = grow(index))
        u->decimals = decimals;
}

void UnitTable::setCount(std::int32_t count) {
    m_units.resize(std::size_t(std::clamp(count, 0, kMaxUnits)));
}

void UnitTable::select(std::int32_t index) {
    if (index >= 0 && index < unitsCount())
        m_selected = index;
}

UnitScale UnitTable::selectedScale() const {
    const Unit* u = at(m_selected);
    if (!u || !convertible(u->pixels) || !convertible(u->units))
        return UnitScale{};
    return UnitScale{u->pixels, u->units};
}

float unitsToPixels(const QString& text, UnitScale scale, float zoom, QChar separator) {
    const long double v = toFloat(text, separator);
    const long double pixels = v * scale.pixels / scale.units / zoom;
    if (!std::isfinite(pixels) || std::fabs(pixels) > std::numeric_limits<float>::max())
        throw translatableError(QT_TRANSLATE_NOOP("Errors", "'%1' cannot be converted to pixels"),
                                {text});
    return static_cast<float>(pixels);
}

std::int32_t unitsToWholePixels(double v, UnitScale scale, QChar separator) {
    const long double pixels = roundHalfAway(v * scale.pixels / scale.units);
    if (!std::isfinite(pixels))
        throw invalidIntegerError(formatReadout(pixels, 0, separator));
    // The value goes through its text, as the readout does, so the error names
    // the number the way the user would read it.
    const QString text = formatReadoutValue(pixels, 0, separator);
    if (const auto whole = parseInt(text))
        return *whole;
    throw invalidIntegerError(text);
}

} // namespace orvanta
