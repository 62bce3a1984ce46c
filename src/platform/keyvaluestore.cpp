// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/keyvaluestore.h"

#include "model/inidocument.h"
#include "model/numbers.h"
#include "platform/logging.h"
#include "platform/xdgpaths.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

namespace orvanta {

namespace {

bool hasLineBreak(QStringView text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

bool hasOuterBlanks(QStringView text) {
    return !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
}

// "\Software\X\" and "Software\X" name the same key.
QString sectionOf(const QString& path) {
    QStringView p = QStringView(path).trimmed();
    while (p.startsWith(u'\\'))
        p = p.sliced(1);
    while (p.endsWith(u'\\'))
        p.chop(1);
    return p.toString();
}

bool storable(const QString& section, const QString& name) {
    return !section.isEmpty() && !hasLineBreak(section) && !section.contains(u'[') &&
           !section.contains(u']') && !name.isEmpty() && !hasLineBreak(name) &&
           !name.contains(u'=') && !name.startsWith(u';') && !name.startsWith(u'[') &&
           !hasOuterBlanks(name);
}

// The store's callers take a missing value or a failed write as "not set";
// the log keeps which file failed and why.
std::optional<IniDocument> tryLoad(const QString& path) {
    try {
        return IniDocument::load(path);
    } catch (const OrvantaError& e) {
        qCWarning(lcPlatform).noquote() << e.message();
        return std::nullopt;
    }
}

bool save(const IniDocument& doc, const QString& path) {
    QString why;
    if (doc.save(path, &why))
        return true;
    qCWarning(lcPlatform, "Cannot save the key/value store \"%s\": %s", qUtf8Printable(path),
              qUtf8Printable(why));
    return false;
}

bool saveCreatingFolder(const IniDocument& doc, const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QDir().mkpath(folder))
        return save(doc, path);
    qCWarning(lcPlatform, "Cannot create the folder \"%s\" for the key/value store",
              qUtf8Printable(folder));
    return false;
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniKeyValueStore::IniKeyValueStore(QString userFile, QString shippedFile)
    : m_userFile(std::move(userFile)), m_shippedFile(std::move(shippedFile)) {}

QString IniKeyValueStore::defaultUserFile() {
    return xdgConfigHome() + QStringLiteral("/Orvanta/registry.ini");
}

QString IniKeyValueStore::shippedFileIn(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("registry.ini"));
}

std::optional<QString> IniKeyValueStore::value(const QString& path, const QString& name) const {
    const QString section = sectionOf(path);
    for (const QString& file : {m_userFile, m_shippedFile}) {
        if (const auto doc = tryLoad(file))
            if (auto found = doc->value(section, name))
                return found;
    }
    return std::nullopt;
}

bool IniKeyValueStore::setValue(const QString& path, const QString& name, const QString& value) {
    const QString section = sectionOf(path);
    if (!storable(section, name) || hasLineBreak(value) || hasOuterBlanks(value))
        return false;
    auto doc = tryLoad(m_userFile);
    if (!doc)
        return false;
    doc->setValue(section, name, value);
    return saveCreatingFolder(*doc, m_userFile);
}

bool IniKeyValueStore::remove(const QString& path, const QString& name) {
    const QString section = sectionOf(path);
    const auto doc = tryLoad(m_userFile);
    if (!doc)
        return false;
    if (!doc->value(section, name))
        return true;
    // The document has no way to drop a key, so it is copied without it.
    IniDocument kept;
    for (const QString& s : doc->sections())
        for (const QString& key : doc->keys(s))
            if (!sameName(s, section) || !sameName(key, name))
                kept.setValue(s, key, *doc->value(s, key));
    return save(kept, m_userFile);
}

} // namespace orvanta
