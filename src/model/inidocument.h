// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// An INI document that keeps what it read: sections and keys in the order they
// were first seen, names matched without regard to case, unknown sections and
// keys carried through a save. Comments and blank lines are not kept.
//
// Reading: every line is trimmed; empty lines and lines starting with ";" are
// skipped; "[name]" starts a section; lines before the first section are
// ignored; in "key = value" the blanks around the first "=" go. When a key or a
// section appears twice, the first one is the one read and written.
//
// Writing: UTF-8, CR LF line ends, one empty line after each section.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvanta {

class IniDocument {
public:
    IniDocument() = default;

    [[nodiscard]] static IniDocument fromText(QStringView text);
    // Decodes UTF-8 (BOM accepted) or, failing that, GB18030.
    [[nodiscard]] static IniDocument fromBytes(const QByteArray& bytes);
    // A missing file gives an empty document; a file that exists but cannot be
    // read throws OrvantaError naming it.
    [[nodiscard]] static IniDocument load(const QString& path);

    [[nodiscard]] std::optional<QString> value(QStringView section, QStringView key) const;
    [[nodiscard]] bool hasSection(QStringView section) const;
    [[nodiscard]] QStringList sections() const;
    [[nodiscard]] QStringList keys(QStringView section) const;

    // Replaces the value of an existing key (keeping its place and spelling) or
    // appends the key, creating the section at the end when needed.
    void setValue(QStringView section, QStringView key, const QString& value);

    // Typed readers with the profile-file fallbacks: a missing key or a value
    // that is not a number gives the default. Integers may be "$" or "0x" hex.
    [[nodiscard]] QString readString(QStringView section, QStringView key,
                                     const QString& fallback) const;
    [[nodiscard]] std::int32_t readInt(QStringView section, QStringView key,
                                       std::int32_t fallback) const;
    [[nodiscard]] bool readBool(QStringView section, QStringView key, bool fallback) const;

    [[nodiscard]] QByteArray toBytes() const;
    // Writes the whole document through a temporary file in the same folder that
    // is renamed over the old one, so a crash or a full disk never leaves a
    // truncated file behind. Returns false (and leaves the old file) on failure;
    // `error`, when given, then says why.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };

    [[nodiscard]] const Section* findSection(QStringView name) const;
    [[nodiscard]] Section* findSection(QStringView name);

    std::vector<Section> m_sections;
};

// Writes bytes to a file atomically (temporary file + rename). False on failure,
// in which case the file on disk is unchanged and `error`, when given, says why.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace orvanta
