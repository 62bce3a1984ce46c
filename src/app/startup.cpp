// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/startup.h"

#include "app/commandlineoptions.h"
#include "app/compasswindow.h"
#include "app/logging.h"
#include "app/platformchoice.h"
#include "app/programpaths.h"
#include "app/rendercommand.h"
#include "automation/automationobject.h"
#include "automation/automationserver.h"
#include "automation/launcherobject.h"
#include "automation/registration.h"
#include "dialogs/splashscreen.h"
#include "model/numbers.h"
#include "model/settings.h"
#include "package/commandline.h"
#include "package/installer.h"
#include "platform/autostart.h"
#include "platform/keyvaluestore.h"
#include "platform/languageswitcher.h"
#include "platform/qtmessagesink.h"
#include "platform/shell.h"
#include "platform/windowmanagerhints.h"
#include "platform/windowpixels.h"
#include "platform/x11display.h"
#include "platform/x11shape.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

// Resources of a static library must be registered by name, from outside any
// namespace.
static void initDialogResources() {
    Q_INIT_RESOURCE(dialogs);
}

namespace orvanta {

namespace {

// Exit status of a start that failed before any window existed.
constexpr int kStartFailed = 1;
// The running compass installs before it answers; a large package takes a while.
constexpr int kHandOverTimeoutMs = 120000;

QString productLink() {
    return QStringLiteral("https://" ORVANTA_WEB_HOST "/");
}

void prepareEnvironment(const PlatformChoice& platform) {
    // A measuring tool counts device pixels: no scaling by Xft.dpi.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    if (!platform.forced.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.forced.toLocal8Bit());
}

QStringList argumentList(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// Installs the packages named on the command line, in order. On failure the
// message goes to standard error and, with `showBox`, a message box.
bool installPackages(const QStringList& packages, const PackageTarget& target, bool showBox) {
    for (const QString& package : packages) {
        try {
            installSkinPackage(target, package);
        } catch (const OrvantaError& e) {
            std::fprintf(stderr, "orvanta: %s\n", qPrintable(e.userMessage()));
            if (showBox)
                QMessageBox::critical(nullptr, QStringLiteral("Orvanta"), e.userMessage());
            return false;
        }
    }
    return true;
}

// A start that names skin packages and nothing else but /m, as a file manager
// makes it.
bool onlyPackages(const QStringList& args) {
    bool any = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (isSkinPackagePath(args[i]))
            any = true;
        else if (!isStartMinimisedSwitch(args[i]))
            return false;
    }
    return any;
}

// Gives the packages to the compass that runs already: it installs them and
// shows their skin, and this start ends. Nothing when no compass answers, so
// that this start goes on as the first one.
std::optional<int> handOverPackages(const QStringList& packages) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kAutomationService.toString()))
        return std::nullopt;
    QStringList absolute;
    for (const QString& package : packages)
        absolute << QFileInfo(package).absoluteFilePath();
    QDBusMessage call = QDBusMessage::createMethodCall(
        kAutomationService.toString(), kLauncherPath.toString(), kLauncherInterface.toString(),
        QStringLiteral("InstallPackages"));
    call << absolute;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kHandOverTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (reply.errorName() != kFailedError) {
            // An older compass without the hand-over, or one that just ended.
            qCWarning(lcApp, "the running compass did not take the packages (%s: %s)",
                      qPrintable(reply.errorName()), qPrintable(reply.errorMessage()));
            return std::nullopt;
        }
        std::fprintf(stderr, "orvanta: %s\n", qPrintable(reply.errorMessage()));
        return kStartFailed;
    }
    for (const QString& skin : reply.arguments().value(0).toStringList())
        std::printf("orvanta: installed %s in the running compass\n",
                    qPrintable(QDir::toNativeSeparators(skin)));
    return 0;
}

// "REGSERVER" and "UNREGSERVER" do their work and end the program; every other
// start renews the activation file, and a failure there stops nothing.
std::optional<int> handleRegistration(RegistrationSwitch registration, const QString& programFile) {
    try {
        switch (registration) {
        case RegistrationSwitch::Register:
            registerServer(programFile);
            return 0;
        case RegistrationSwitch::Unregister:
            unregisterServer();
            return 0;
        case RegistrationSwitch::None:
            registerServer(programFile);
            return std::nullopt;
        }
    } catch (const OrvantaError& e) {
        if (registration == RegistrationSwitch::None)
            return std::nullopt;
        std::fprintf(stderr, "orvanta: %s\n", qPrintable(e.message()));
        return kStartFailed;
    }
    return std::nullopt;
}

} // namespace

namespace {

// What the user reads when the program cannot show its window, set before the
// application object is made: Qt's platform plugins end the process when
// they cannot start.
QString g_noDisplay;
QtMessageHandler g_messages = nullptr;

void endWithoutDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (g_messages)
            g_messages(type, context, message);
        return;
    }
    std::fprintf(stderr, "orvanta: %s\n", qPrintable(g_noDisplay));
    std::_Exit(kStartFailed);
}

// The platform the application object will start: the one given with
// -platform, the one the program chooses, QT_QPA_PLATFORM's, or Qt's default.
QString startingPlatform(const CommandLineOptions& options, const PlatformChoice& platform) {
    QString name = options.platformArgument();
    if (name.isEmpty())
        name = platform.forced;
    if (name.isEmpty())
        name = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (name.isEmpty())
        name = QStringLiteral("xcb");
    // "wayland;xcb" tries the first; "xcb:option" carries the plugin's options.
    return name.section(u';', 0, 0).section(u':', 0, 0);
}

// Why the compass cannot be shown here, empty when it can.
QString displayProblem(const CommandLineOptions& options, const PlatformChoice& platform) {
    if (startingPlatform(options, platform) != u"xcb")
        return {};
    QString display = options.displayArgument();
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        return CommandLineOptions::tr(
            "no display: DISPLAY is not set, and the compass needs an X server (--render "
            "works without one).");
    if (!x11DisplayOpens(display))
        return CommandLineOptions::tr(
                   "cannot open the X display %1: the compass needs a running X server "
                   "(--render works without one).")
            .arg(display);
    return {};
}

} // namespace

int runOrvanta(int argc, char** argv) {
    const QStringList args = argumentList(argc, argv);
    const ProgramPaths paths = ProgramPaths::detect();

    // The command line is read, and help or errors are written, in the user's
    // language and without a display.
    auto console = std::make_unique<QCoreApplication>(argc, argv);
    auto consoleLanguage = std::make_unique<LanguageSwitcher>();
    consoleLanguage->use(paths.loadOptions().language);
    const PlatformChoice platform = choosePlatform(PlatformEnvironment::current(args));
    CommandLineOptions options;
    const bool parsed = options.parse(args);
    if (options.helpAsked()) {
        std::fputs(qPrintable(options.helpText(platform.description)), stdout);
        return 0;
    }
    if (!parsed) {
        std::fprintf(stderr, "orvanta: %s\n\n%s", qPrintable(options.error()),
                     qPrintable(options.helpText(platform.description)));
        return kExitBadCommandLine;
    }
    if (options.versionAsked()) {
        std::fputs(qPrintable(versionText()), stdout);
        return 0;
    }
    const bool render = options.renderAsked();
    const CommandLineScan& scan = options.legacy();
    if (!render) {
        prepareEnvironment(platform);
        if (const QString problem = displayProblem(options, platform); !problem.isEmpty()) {
            std::fprintf(stderr, "orvanta: %s\n", qPrintable(problem));
            return kStartFailed;
        }
        g_noDisplay = CommandLineOptions::tr("the Qt platform %1 could not start, so the compass "
                                             "cannot be shown (--render works "
                                             "without a display).")
                          .arg(startingPlatform(options, platform));
    }
    consoleLanguage.reset();
    console.reset();

    // Without its folder the first save of the options would fail unseen.
    if (!paths.prepareUserFolders())
        std::fprintf(stderr, "orvanta: cannot create %s\n", qPrintable(paths.config));
    const bool movedToConfig = !render && paths.adoptReadOnlyFolder();
    if (render) {
        {
            const QCoreApplication packages(argc, argv);
            LanguageSwitcher language;
            language.use(paths.loadOptions().language);
            if (!installPackages(scan.packages, paths.packageTarget(), false))
                return kStartFailed;
        }
        QStringList rest;
        for (const QString& a : args)
            if (!isSkinPackagePath(a))
                rest << a;
        return runRenderCommand(rest);
    }
    const AutomationSwitches automation = options.automation();
    if (const auto ended = handleRegistration(automation.registration, programFile()))
        return *ended;

    g_messages = qInstallMessageHandler(&endWithoutDisplay);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_messages);
    qCInfo(lcApp, "platform in use: %s; chosen: %s", qPrintable(QGuiApplication::platformName()),
           qPrintable(platform.description));
    initDialogResources();
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvanta"));
    app.setQuitOnLastWindowClosed(false);
    // The language first: every text from here on is shown in it.
    LanguageSwitcher language;
    language.use(paths.loadOptions().language);

    if (onlyPackages(args))
        if (const auto ended = handOverPackages(scan.packages))
            return *ended;
    if (!installPackages(scan.packages, paths.packageTarget(), true))
        return kStartFailed;

    QtMessageSink messages;
    if (movedToConfig)
        messages.showMessage(paths.readOnlyFolderNotice());
    XdgAutostart autostart;
    X11DesktopShape shape;
    X11WindowManagerHints hints;
    X11WindowPixels pixels;
    DesktopShell desktopShell;
    LinkReportingShell shell(desktopShell, messages);

    bool splash = false;
    if (!scan.startMinimised) {
        splash = !paths.loadOptions().hideSplash;
    }
    if (splash)
        (new SplashScreen(nullptr, shell, productLink()))->showNow();

    CompassWindow window(CompassWindowDeps{paths, programFile(), messages, autostart, shape, hints,
                                           scan.startMinimised, &language, &pixels});
    QObject::connect(&window.controller(), &CompassController::quitting, &app,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    // From here on every box shows above the compass.
    messages.setCompass(&window);
    window.show();
    AutomationServer automationServer(window.controller(), messages, QDBusConnection::sessionBus(),
                                      automation.startedByClient);
    if (!automationServer.start() && automation.startedByClient)
        std::fputs("orvanta: no session bus: the compass runs without automation\n", stderr);

    IniKeyValueStore store(IniKeyValueStore::defaultUserFile(),
                           IniKeyValueStore::shippedFileIn(paths.assets));
    store.setValue(kProductKeyPath.toString(), QStringLiteral("InstalPath"), programFile());

    return app.exec();
}

} // namespace orvanta
