// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/calibrationstore.h"

#include "model/inidocument.h"
#include "model/logging.h"
#include "model/numbers.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cmath>

namespace orvanta {

namespace {

// Section and key names are the file's format.
const QString kSectionPrefix = QStringLiteral("Monitor");

std::optional<double> readDensity(const IniDocument& doc, const QString& section, QStringView key) {
    const auto text = doc.value(section, key);
    if (!text)
        return std::nullopt;
    const auto v = parseFloat(*text, u'.');
    if (!v || !(*v > 0) || !std::isfinite(double(*v)))
        return std::nullopt;
    return double(*v);
}

} // namespace

CalibrationStore::CalibrationStore(QString fileName) : m_fileName(std::move(fileName)) {
    IniDocument doc;
    try {
        doc = IniDocument::load(m_fileName);
    } catch (const OrvantaError& e) {
        qCWarning(lcSettings, "calibrations not read: %s", qUtf8Printable(e.message()));
        return;
    }
    for (const QString& section : doc.sections()) {
        if (!section.startsWith(kSectionPrefix, Qt::CaseInsensitive))
            continue;
        const auto x = readDensity(doc, section, u"PixelsPerInchX");
        const auto y = readDensity(doc, section, u"PixelsPerInchY");
        if (!x || !y) {
            qCWarning(lcSettings, "%s [%s]: no usable PixelsPerInchX/Y, entry skipped",
                      qUtf8Printable(m_fileName), qUtf8Printable(section));
            continue;
        }
        const MonitorIdentity monitor{
            doc.readString(section, u"Manufacturer", {}), doc.readString(section, u"Model", {}),
            doc.readString(section, u"Serial", {}), doc.readString(section, u"Connector", {})};
        m_entries.push_back(Entry{monitor, PixelDensity{*x, *y}});
    }
}

std::optional<PixelDensity> CalibrationStore::find(const MonitorIdentity& monitor) const {
    for (const Entry& e : m_entries)
        if (sameMonitor(e.monitor, monitor))
            return e.density;
    return std::nullopt;
}

void CalibrationStore::set(const MonitorIdentity& monitor, PixelDensity density) {
    for (Entry& e : m_entries)
        if (sameMonitor(e.monitor, monitor)) {
            e = Entry{monitor, density};
            return;
        }
    m_entries.push_back(Entry{monitor, density});
}

void CalibrationStore::remove(const MonitorIdentity& monitor) {
    std::erase_if(m_entries, [&](const Entry& e) { return sameMonitor(e.monitor, monitor); });
}

bool CalibrationStore::save(QString* error) const {
    IniDocument doc;
    int n = 0;
    for (const Entry& e : m_entries) {
        const QString section = kSectionPrefix + QString::number(++n);
        doc.setValue(section, u"Manufacturer", e.monitor.manufacturer);
        doc.setValue(section, u"Model", e.monitor.model);
        doc.setValue(section, u"Serial", e.monitor.serial);
        doc.setValue(section, u"Connector", e.monitor.connector);
        doc.setValue(section, u"PixelsPerInchX", formatGeneral(e.density.x, u'.'));
        doc.setValue(section, u"PixelsPerInchY", formatGeneral(e.density.y, u'.'));
    }
    QString why;
    if (writeFileAtomically(m_fileName, doc.toBytes(), &why))
        return true;
    qCWarning(lcSettings, "calibrations not saved to %s: %s", qUtf8Printable(m_fileName),
              qUtf8Printable(why));
    if (error)
        *error = why;
    return false;
}

} // namespace orvanta
