// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/autostart.h"

#include "model/inidocument.h"
#include "platform/logging.h"
#include "platform/xdgpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <utility>

namespace orvanta {

namespace {

// Characters that make an Exec argument need double quotes.
constexpr QStringView kReservedInExec = u" \t\n\"'\\><~|&;$*?#()`";
// Inside double quotes these four still need a backslash.
constexpr QStringView kEscapedInQuotes = u"\"`$\\";

// The escapes of a desktop-file string value, applied after the Exec quoting.
QString escapeStringValue(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

QString execArgument(const QString& argument) {
    QString quoted;
    const bool needsQuotes =
        argument.isEmpty() || std::any_of(argument.begin(), argument.end(),
                                          [](QChar c) { return kReservedInExec.contains(c); });
    if (needsQuotes) {
        quoted += u'"';
        for (const QChar c : argument) {
            if (kEscapedInQuotes.contains(c))
                quoted += u'\\';
            quoted += c;
        }
        quoted += u'"';
    } else {
        quoted = argument;
    }
    // A literal "%" would start a field code.
    quoted.replace(u'%', QStringLiteral("%%"));
    return escapeStringValue(quoted);
}

QString autostartEntry(const QString& programPath) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Orvanta\n"
                          "Exec=%1 /m\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execArgument(programPath));
}

XdgAutostart::XdgAutostart(QString folder) : m_folder(std::move(folder)) {}

QString XdgAutostart::defaultFolder() {
    return xdgConfigHome() + QStringLiteral("/autostart");
}

QString XdgAutostart::entryPath() const {
    return QDir(m_folder).filePath(QStringLiteral("orvanta.desktop"));
}

bool XdgAutostart::setRunAtStart(bool on, const QString& programPath) {
    // The menu item keeps the user's choice either way; only the log tells
    // that the next login will not follow it.
    const auto failed = [this](const QString& why) {
        qCWarning(lcPlatform, "Cannot change the autostart entry \"%s\": %s",
                  qUtf8Printable(entryPath()), qUtf8Printable(why));
        return false;
    };
    if (!on) {
        const QFileInfo entry(entryPath());
        // A dangling link is an entry too: exists() follows it and says no.
        if (!entry.exists() && !entry.isSymLink())
            return true;
        QFile file(entryPath());
        return file.remove() || failed(file.errorString());
    }
    if (!QDir().mkpath(m_folder))
        return failed(QStringLiteral("Cannot create the folder \"%1\".").arg(m_folder));
    QString why;
    return writeFileAtomically(entryPath(), autostartEntry(programPath).toUtf8(), &why) ||
           failed(why);
}

} // namespace orvanta
