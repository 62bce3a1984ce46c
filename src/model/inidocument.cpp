// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/inidocument.h"

#include "model/numbers.h"
#include "model/textcodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace orvanta {

namespace {

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniDocument IniDocument::fromText(QStringView text) {
    IniDocument doc;
    Section* current = nullptr;
    for (QStringView line : text.tokenize(u'\n')) {
        line = line.trimmed(); // also drops the CR of CR LF
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QStringView name = line.sliced(1, line.size() - 2).trimmed();
            current = doc.findSection(name);
            if (!current) {
                doc.m_sections.push_back(Section{name.toString(), {}});
                current = &doc.m_sections.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq < 0)
            continue;
        const QStringView key = line.first(eq).trimmed();
        const QStringView value = line.sliced(eq + 1).trimmed();
        const bool known = std::any_of(current->entries.begin(), current->entries.end(),
                                       [&](const Entry& e) { return sameName(e.key, key); });
        if (!known)
            current->entries.push_back(Entry{key.toString(), value.toString()});
    }
    return doc;
}

IniDocument IniDocument::fromBytes(const QByteArray& bytes) {
    return fromText(decodeText(bytes));
}

IniDocument IniDocument::load(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw OrvantaError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return fromBytes(file.readAll());
}

const IniDocument::Section* IniDocument::findSection(QStringView name) const {
    for (const Section& s : m_sections)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

IniDocument::Section* IniDocument::findSection(QStringView name) {
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const {
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            if (sameName(e.key, key))
                return e.value;
    return std::nullopt;
}

bool IniDocument::hasSection(QStringView section) const {
    return findSection(section) != nullptr;
}

QStringList IniDocument::sections() const {
    QStringList names;
    for (const Section& s : m_sections)
        names << s.name;
    return names;
}

QStringList IniDocument::keys(QStringView section) const {
    QStringList names;
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            names << e.key;
    return names;
}

void IniDocument::setValue(QStringView section, QStringView key, const QString& value) {
    Section* s = findSection(section);
    if (!s) {
        m_sections.push_back(Section{section.toString(), {}});
        s = &m_sections.back();
    }
    for (Entry& e : s->entries) {
        if (sameName(e.key, key)) {
            e.value = value;
            return;
        }
    }
    s->entries.push_back(Entry{key.toString(), value});
}

QString IniDocument::readString(QStringView section, QStringView key,
                                const QString& fallback) const {
    return value(section, key).value_or(fallback);
}

std::int32_t IniDocument::readInt(QStringView section, QStringView key,
                                  std::int32_t fallback) const {
    const auto text = value(section, key);
    if (!text)
        return fallback;
    return parseInt(*text).value_or(fallback);
}

bool IniDocument::readBool(QStringView section, QStringView key, bool fallback) const {
    return readInt(section, key, fallback ? 1 : 0) != 0;
}

QByteArray IniDocument::toBytes() const {
    QString text;
    for (const Section& s : m_sections) {
        text += u'[' + s.name + QStringLiteral("]\r\n");
        for (const Entry& e : s.entries)
            text += e.key + u'=' + e.value + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

bool IniDocument::save(const QString& path, QString* error) const {
    return writeFileAtomically(path, toBytes(), error);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    // A file the user made read-only stays as it is, although the rename could
    // replace it. The permission bits are checked, not access(), so that this
    // holds for root too.
    const QFileInfo info(path);
    if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner))
        return fail(QStringLiteral("The file is read-only."));
    // Unbuffered, so that a short write (a full disk, a file size limit) shows
    // here: buffered, it would only show when commit() flushes, and commit()
    // does not check that flush, so a truncated file would replace the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        const QString why = written < 0 ? file.errorString()
                                        : QStringLiteral("Only %1 of %2 bytes could be written.")
                                              .arg(written)
                                              .arg(bytes.size());
        file.cancelWriting();
        return fail(why);
    }
    // commit() ignores a failed sync, which is where a full disk may show first.
    if (::fsync(file.handle()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace orvanta
