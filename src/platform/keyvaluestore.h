// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The few machine-wide values the program reads and writes (its version and
// identifiers for web links, where it is installed, where the companion
// magnifier lives), addressed as key path + value name.
//
// On this desktop they live in two INI files with one section per key path:
// a read-only one shipped beside the program holds what an installer puts
// there, a per-user one under the XDG config folder holds what the program
// writes. A per-user value hides a shipped value of the same name.

#include <QString>
#include <QStringView>
#include <optional>

namespace orvanta {

// The product's own key.
inline constexpr QStringView kProductKeyPath = u"Software\\Velmora\\Orvanta";

class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;
    // Key paths are matched without regard to case or a leading backslash,
    // value names without regard to case. Absent values give nullopt.
    [[nodiscard]] virtual std::optional<QString> value(const QString& path,
                                                       const QString& name) const = 0;
    // False when the value cannot be stored (see the implementation for why).
    virtual bool setValue(const QString& path, const QString& name, const QString& value) = 0;
    // Deleting a value that is not there succeeds.
    virtual bool remove(const QString& path, const QString& name) = 0;
};

class IniKeyValueStore : public KeyValueStore {
public:
    IniKeyValueStore(QString userFile, QString shippedFile);

    // $XDG_CONFIG_HOME/Orvanta/registry.ini (or ~/.config/...).
    [[nodiscard]] static QString defaultUserFile();
    // registry.ini in the program folder.
    [[nodiscard]] static QString shippedFileIn(const QString& programFolder);

    [[nodiscard]] const QString& userFile() const { return m_userFile; }

    // Reads the files on every call: values are read rarely, and another
    // instance of the program may have written in between. An unreadable file
    // counts as empty.
    [[nodiscard]] std::optional<QString> value(const QString& path,
                                               const QString& name) const override;
    // Writes the per-user file only, atomically, creating its folder. Refused
    // (false): names or paths that the INI form cannot hold (empty, line
    // breaks, "=" in a name, brackets in a path, a name starting with ";"),
    // values with line breaks or blanks at either end (they would not read
    // back the same), and a per-user file that exists but cannot be read,
    // which is left as it is.
    bool setValue(const QString& path, const QString& name, const QString& value) override;
    // Removes the per-user value; a shipped value of that name shows again,
    // since the shipped file is read-only.
    bool remove(const QString& path, const QString& name) override;

private:
    QString m_userFile;
    QString m_shippedFile;
};

} // namespace orvanta
