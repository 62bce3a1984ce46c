// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/registration.h"

#include "model/inidocument.h"
#include "model/numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvanta {

namespace {

// What a client start adds to the command line, in the activation file too.
constexpr QStringView kAutomationSwitch = u"-Automation";

// Characters the bus's Exec splitter treats specially; a path without them
// needs no quotes.
bool needsQuotes(const QString& argument) {
    return argument.isEmpty() || std::any_of(argument.begin(), argument.end(), [](QChar c) {
               return c.isSpace() || c == u'\'' || c == u'"' || c == u'\\' || c == u'#';
           });
}

} // namespace

bool isAutomationSwitch(QStringView argument, QStringView name) {
    return argument.size() == name.size() + 1 && (argument[0] == u'/' || argument[0] == u'-') &&
           argument.mid(1).compare(name, Qt::CaseInsensitive) == 0;
}

AutomationSwitches scanAutomationSwitches(const QStringList& arguments) {
    AutomationSwitches s;
    for (const QString& a : arguments) {
        if (isAutomationSwitch(a, u"AUTOMATION") || isAutomationSwitch(a, u"EMBEDDING"))
            s.startedByClient = true;
        if (s.registration != RegistrationSwitch::None)
            continue;
        if (isAutomationSwitch(a, u"REGSERVER"))
            s.registration = RegistrationSwitch::Register;
        else if (isAutomationSwitch(a, u"UNREGSERVER"))
            s.registration = RegistrationSwitch::Unregister;
    }
    return s;
}

QString userServicesFolder() {
    // The base directory specification: an unset or relative value means the
    // default.
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || QDir::isRelativePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/dbus-1/services");
}

QString serviceFilePath() {
    return userServicesFolder() + u'/' + kAutomationService.toString() + QStringLiteral(".service");
}

QString quoteExecArgument(const QString& argument) {
    if (!needsQuotes(argument))
        return argument;
    // Inside single quotes nothing is special; a quote itself closes the
    // quoted part, is escaped, and opens a new one.
    QString quoted = argument;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString serviceFileText(const QString& programFile) {
    return QStringLiteral("[D-BUS Service]\nName=") + kAutomationService.toString() +
           QStringLiteral("\nExec=") + quoteExecArgument(programFile) + u' ' +
           kAutomationSwitch.toString() + u'\n';
}

void registerServer(const QString& programFile) {
    const QString path = serviceFilePath();
    QString why;
    if (!QDir().mkpath(userServicesFolder()) ||
        !writeFileAtomically(path, serviceFileText(programFile).toUtf8(), &why))
        throw OrvantaError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(path, why).trimmed());
}

void unregisterServer() {
    const QString path = serviceFilePath();
    QFile file(path);
    if (QFileInfo::exists(path) && !file.remove())
        throw OrvantaError(
            QStringLiteral("Cannot remove file \"%1\". %2").arg(path, file.errorString()));
}

} // namespace orvanta
