// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The program's command line: one table of options, read by QCommandLineParser.
// Before the parser a scan takes out what starters of old pass in shapes it
// does not read: "/m" from autostart entries, "-Automation" and "-Embedding"
// from the D-Bus activation file, "/RegServer" and "/UnregServer", and the
// skin packages a file manager opens the program with. Qt's own options
// ("-platform NAME", "-display NAME", ...) are in the table, hidden, since the
// application object that would take them out does not exist yet.

#include "automation/registration.h"
#include "package/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace orvanta {

// The exit status of a command line the program cannot read.
inline constexpr int kExitBadCommandLine = 2;

class CommandLineOptions {
    Q_DECLARE_TR_FUNCTIONS(CommandLineOptions)

public:
    // The help texts go through tr(): build the table once the language is in.
    CommandLineOptions();

    // Reads `arguments` (argv, the program first). False with error() for an
    // unknown option, a missing value, an argument that is no option, switch
    // or package, or a frame option without --render. helpAsked() holds
    // either way.
    [[nodiscard]] bool parse(const QStringList& arguments);
    [[nodiscard]] const QString& error() const { return m_error; }

    [[nodiscard]] bool helpAsked() const { return m_helpAsked; }
    [[nodiscard]] bool versionAsked() const { return m_parser.isSet(m_version); }
    [[nodiscard]] bool renderAsked() const { return m_parser.isSet(m_render); }
    // The value of the frame option `name` (without dashes), null when not given.
    [[nodiscard]] QString frameValue(const QString& name) const;
    [[nodiscard]] bool cropAsked() const { return m_parser.isSet(m_crop); }
    // Qt's "-platform NAME" and "-display NAME", empty when not given.
    [[nodiscard]] QString platformArgument() const;
    [[nodiscard]] QString displayArgument() const;

    [[nodiscard]] const CommandLineScan& legacy() const { return m_legacy; }
    [[nodiscard]] const AutomationSwitches& automation() const { return m_automation; }

    // Every option, switch and package form with its text, and the platform
    // the program would run on.
    [[nodiscard]] QString helpText(const QString& platform) const;

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help, m_version, m_render, m_crop;
    QList<QCommandLineOption> m_frameOptions; // those that take a value
    QList<QCommandLineOption> m_qtOptions;
    CommandLineScan m_legacy;
    AutomationSwitches m_automation;
    bool m_helpAsked = false;
    QString m_error;
};

[[nodiscard]] QString versionText();

} // namespace orvanta
