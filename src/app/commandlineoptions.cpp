// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/commandlineoptions.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace orvanta {

namespace {

// The automation switches a starter of old passes, by name.
constexpr QStringView kAutomationSwitches[] = {u"AUTOMATION", u"EMBEDDING", u"REGSERVER",
                                               u"UNREGSERVER"};

// QGuiApplication's and QApplication's own options. The parser runs before the
// application object that takes them out, so they are known here, unshown.
constexpr const char* kQtValueOptions[] = {"platform",      "platformpluginpath",
                                           "platformtheme", "plugin",
                                           "qmljsdebugger", "qwindowgeometry",
                                           "qwindowicon",   "qwindowtitle",
                                           "session",       "display",
                                           "geometry",      "name",
                                           "title",         "visual",
                                           "style",         "stylesheet"};
constexpr const char* kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool isLegacyArgument(const QString& argument) {
    return isStartMinimisedSwitch(argument) || isSkinPackagePath(argument) ||
           std::any_of(std::begin(kAutomationSwitches), std::end(kAutomationSwitches),
                       [&](QStringView name) { return isAutomationSwitch(argument, name); });
}

QString optionNames(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        text += u' ' + option.valueName();
    return text;
}

QCommandLineOption hidden(QCommandLineOption option) {
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

} // namespace

CommandLineOptions::CommandLineOptions()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, tr("Show this help and exit.")),
      m_version(QStringLiteral("version"), tr("Show the version and exit.")),
      m_render(QStringLiteral("render"),
               tr("Render one frame to a PNG without a display, print the readout."),
               QStringLiteral("OUT.png")),
      m_crop(QStringLiteral("crop"), tr("Cut the picture to the compass.")) {
    const auto frame = [this](const char* name, const QString& valueName, const QString& text) {
        m_frameOptions << QCommandLineOption(QString::fromLatin1(name), text, valueName);
    };
    frame("skin", QStringLiteral("DEFINITION.ini"),
          tr("A skin's definition file instead of the selected skin."));
    frame("angle", QStringLiteral("DEG"), tr("The beam's angle in degrees."));
    frame("spread", QStringLiteral("PX"), tr("The spread in pixels."));
    frame("shape", QStringLiteral("N"),
          tr("The figure: 0 for a circle, 3 to 39 for a polygon of that many sides."));
    frame("scribe", QStringLiteral("0|1"),
          tr("0: the polygon around the circle; 1: the polygon inside it."));
    frame("measure-type", QStringLiteral("0|1|2|3|4"),
          tr("The readout: 0 the radius, 1 the circumference, 2 the area, 3 the diameter, 4 "
             "the angle."));
    frame("unit", QStringLiteral("INDEX"), tr("The unit, by its place in the list of units."));
    frame("quality", QStringLiteral("low|high"), tr("The drawing quality."));
    frame("pos", QStringLiteral("X,Y"), tr("The compass's position on the desktop."));
    frame("desktop", QStringLiteral("WxH"),
          tr("The desktop's size in pixels (1920x1080 unless given)."));
    frame("screen-mm", QStringLiteral("WxH"),
          tr("The monitor's size in millimetres, for the physical units."));
    for (const char* name : kQtValueOptions)
        m_qtOptions << hidden(
            QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("VALUE")));
    for (const char* name : kQtFlagOptions)
        m_qtOptions << hidden(QCommandLineOption(QString::fromLatin1(name)));

    // Qt's options are written with one dash: "-platform xcb".
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const QCommandLineOption& option : {m_help, m_version, m_render, m_crop})
        m_parser.addOption(option);
    m_parser.addOptions(m_frameOptions);
    m_parser.addOptions(m_qtOptions);
}

bool CommandLineOptions::parse(const QStringList& arguments) {
    m_legacy = scanCommandLine(arguments);
    m_automation = scanAutomationSwitches(arguments);
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i == 0 || !isLegacyArgument(arguments[i]))
            rest << arguments[i];
        // Autostart entries written by earlier versions say "/m m": the second
        // word is dropped so that they still start hidden.
        else if (isStartMinimisedSwitch(arguments[i]) && arguments.value(i + 1) == u"m")
            ++i;
    }
    // Help wins wherever it is asked for: "--render --help" asks for help, not
    // for a picture named "--help".
    m_helpAsked =
        rest.size() > 1 && std::any_of(rest.begin() + 1, rest.end(), [this](const QString& a) {
            return a.startsWith(u'-') &&
                   m_help.names().contains(a.mid(a.startsWith(u"--") ? 2 : 1));
        });
    if (!m_parser.parse(rest)) {
        m_error = m_parser.errorText();
        return false;
    }
    if (const QStringList stray = m_parser.positionalArguments(); !stray.isEmpty()) {
        m_error = tr("Unexpected argument '%1': expected an option, /m or a skin package "
                     "(.compassskin).")
                      .arg(stray.first());
        return false;
    }
    if (!renderAsked()) {
        for (const QCommandLineOption& option : m_frameOptions + QList{m_crop}) {
            if (m_parser.isSet(option)) {
                m_error = tr("--%1 goes with --render only.").arg(option.names().constFirst());
                return false;
            }
        }
    }
    return true;
}

QString CommandLineOptions::frameValue(const QString& name) const {
    return m_parser.isSet(name) ? m_parser.value(name) : QString();
}

QString CommandLineOptions::platformArgument() const {
    return m_parser.value(QStringLiteral("platform"));
}

QString CommandLineOptions::displayArgument() const {
    return m_parser.value(QStringLiteral("display"));
}

QString CommandLineOptions::helpText(const QString& platform) const {
    using Row = std::pair<QString, QString>;
    const QList<Row> options{{optionNames(m_help), m_help.description()},
                             {optionNames(m_version), m_version.description()},
                             {optionNames(m_render), m_render.description()}};
    QList<Row> frame;
    for (const QCommandLineOption& option : m_frameOptions)
        frame << Row{optionNames(option), option.description()};
    frame << Row{optionNames(m_crop), m_crop.description()};
    const QList<Row> switches{
        {QStringLiteral("/m"), tr("Start hidden in the notification area.")},
        {QStringLiteral("PACKAGE.compassskin"), tr("Install a skin package and select its skin.")},
        {QStringLiteral("-Automation, -Embedding"),
         tr("Started by an automation client: end when the last one leaves.")},
        {QStringLiteral("-RegServer"), tr("Write the D-Bus activation file and exit.")},
        {QStringLiteral("-UnregServer"), tr("Remove the D-Bus activation file and exit.")}};

    qsizetype column = 0;
    for (const QList<Row>* rows :
         std::initializer_list<const QList<Row>*>{&options, &frame, &switches})
        for (const Row& row : *rows)
            column = std::max(column, row.first.size());
    const auto table = [&](const QString& heading, const QList<Row>& rows) {
        QString text = heading + u'\n';
        for (const auto& [names, description] : rows)
            text += QStringLiteral("  ") + names.leftJustified(column + 2) + description + u'\n';
        return text + u'\n';
    };
    return tr("Usage: orvanta [/m] [PACKAGE.compassskin ...]\n"
              "       orvanta --render OUT.png [frame options]\n"
              "\n"
              "A beam compass that floats over the desktop and measures circles and\n"
              "regular polygons in pixels or calibrated units.\n") +
           u'\n' + table(tr("Options:"), options) +
           table(tr("Frame options (with --render):"), frame) +
           table(tr("Switches and files, as starters and file managers pass them:"), switches) +
           tr("Settings are kept in Compass.ini beside the program when it runs from its own\n"
              "folder, and in $XDG_CONFIG_HOME/Orvanta/ when it is installed (skins then go\n"
              "to $XDG_DATA_HOME/Orvanta/skins/).\n") +
           u'\n' + tr("Platform: %1").arg(platform) + u'\n';
}

QString versionText() {
    return QStringLiteral("Orvanta " ORVANTA_VERSION "\n");
}

} // namespace orvanta
