// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Starting the program with the user's session: a freedesktop.org autostart
// entry that runs the program hidden in the notification area.

#include <QString>

namespace orvanta {

class Autostart {
public:
    virtual ~Autostart() = default;
    // Adds (on) or removes (off) the entry. Removing an entry that is not there
    // succeeds. Failures return false and change nothing else; callers ignore
    // them, as the menu check and the option have already changed.
    virtual bool setRunAtStart(bool on, const QString& programPath) = 0;
};

class XdgAutostart : public Autostart {
public:
    // `folder` is the autostart folder; the entry is folder + "/orvanta.desktop".
    explicit XdgAutostart(QString folder = defaultFolder());

    // $XDG_CONFIG_HOME/autostart (or ~/.config/autostart).
    [[nodiscard]] static QString defaultFolder();
    [[nodiscard]] QString entryPath() const;

    bool setRunAtStart(bool on, const QString& programPath) override;

private:
    QString m_folder;
};

// The text of the entry: the program started with "/m" (hidden at start).
// Entries of earlier versions say "/m m"; the command line still takes them.
[[nodiscard]] QString autostartEntry(const QString& programPath);

// One argument of an Exec line, quoted when it holds a character the Desktop
// Entry rules reserve, then escaped as a desktop-file string value.
[[nodiscard]] QString execArgument(const QString& argument);

} // namespace orvanta
