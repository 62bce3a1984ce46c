#include "app/startup.h"

#include "app/mainwindow.h"
#include "app/package/commandline.h"
#include "app/package/installer.h"
#include "app/programfolder.h"
#include "app/rendercommand.h"
#include "automation/automationserver.h"
#include "automation/registration.h"
#include "dialogs/splash.h"
#include "model/numbers.h"
#include "model/options.h"
#include "platform/autostart.h"
#include "platform/keyvaluestore.h"
#include "platform/qtmessagesink.h"
#include "platform/x11shape.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
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

QString productLink() {
    return QStringLiteral("https://" ORVANTA_WEB_HOST "/");
}

bool hasFlag(const QStringList& args, QStringView flag) {
    return std::any_of(args.begin() + 1, args.end(), [&](const QString& a) { return a == flag; });
}

void prepareEnvironment() {
    // A measuring tool counts device pixels: no scaling by Xft.dpi.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // Native Wayland has no stay-on-top and no global positions: go through
    // XWayland, unless the user chose a platform.
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland" &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

QStringList argumentList(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// Installs the packages named on the command line, in order. On failure the
// message goes to standard error and, where a display exists, a message box.
bool installPackages(const QStringList& packages, const TPackageTarget& target, bool headless,
                     int argc, char** argv) {
    for (const QString& package : packages) {
        try {
            InstallSkinPackage(target, package);
        } catch (const OrvantaError& e) {
            std::fprintf(stderr, "orvanta: %s\n", qPrintable(e.message()));
            if (!headless) {
                QApplication app(argc, argv);
                QMessageBox::critical(nullptr, QStringLiteral("Orvanta"), e.message());
            }
            return false;
        }
    }
    return true;
}

// "REGSERVER" and "UNREGSERVER" do their work and end the program; every other
// start renews the activation file, and a failure there stops nothing.
std::optional<int> handleRegistration(TRegistrationSwitch registration,
                                      const QString& programFile) {
    try {
        switch (registration) {
        case TRegistrationSwitch::Register:
            RegisterServer(programFile);
            return 0;
        case TRegistrationSwitch::Unregister:
            UnregisterServer();
            return 0;
        case TRegistrationSwitch::None:
            RegisterServer(programFile);
            return std::nullopt;
        }
    } catch (const OrvantaError& e) {
        if (registration == TRegistrationSwitch::None)
            return std::nullopt;
        std::fprintf(stderr, "orvanta: %s\n", qPrintable(e.message()));
        return kStartFailed;
    }
    return std::nullopt;
}

} // namespace

QString VersionText() {
    return QStringLiteral("Orvanta " ORVANTA_VERSION "\n");
}

QString HelpText() {
    return QStringLiteral("Usage: orvanta [/m] [PACKAGE.compassskin ...]\n"
                          "       orvanta --render OUT.png [options]   (see --render --help)\n"
                          "\n"
                          "A beam compass that floats over the desktop and measures circles and\n"
                          "regular polygons in pixels or calibrated units.\n"
                          "\n"
                          "  /m                  start hidden in the notification area\n"
                          "  -Automation         started by an automation client: end when the\n"
                          "                      last client has left the session bus\n"
                          "  -RegServer          write the D-Bus activation file and exit\n"
                          "  -UnregServer        remove the D-Bus activation file and exit\n"
                          "  PACKAGE.compassskin install a skin package and select its skin\n"
                          "  --render OUT.png    render one frame to a PNG without a display\n"
                          "  --help              show this help and exit\n"
                          "  --version           show the version and exit\n"
                          "\n"
                          "Settings are kept in Compass.ini beside the program when it runs\n"
                          "from its own folder, and in $XDG_CONFIG_HOME/Orvanta/ when it is\n"
                          "installed (skins then go to $XDG_DATA_HOME/Orvanta/skins/).\n");
}

int RunOrvanta(int argc, char** argv) {
    const QStringList args = argumentList(argc, argv);
    if (hasFlag(args, u"--help") && !hasFlag(args, u"--render")) {
        std::fputs(qPrintable(HelpText()), stdout);
        return 0;
    }
    if (hasFlag(args, u"--version")) {
        std::fputs(qPrintable(VersionText()), stdout);
        return 0;
    }

    const bool render = hasFlag(args, u"--render");
    const TProgramPaths paths = TProgramPaths::Detect();
    const TCommandLineScan scan = ScanCommandLine(args);
    if (!render)
        prepareEnvironment();
    // Without its folder the first save of the options would fail unseen.
    if (!paths.PrepareUserFolders())
        std::fprintf(stderr, "orvanta: cannot create %s\n", qPrintable(paths.Config));
    if (!installPackages(scan.packages, paths.PackageTarget(), render, argc, argv))
        return kStartFailed;
    if (render) {
        QStringList rest;
        for (const QString& a : args)
            if (!isSkinPackagePath(a))
                rest << a;
        return RunRenderCommand(rest);
    }
    const TAutomationSwitches automation = ScanAutomationSwitches(args);
    if (const auto ended = handleRegistration(automation.registration, ProgramFile()))
        return *ended;

    QApplication app(argc, argv);
    initDialogResources();
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvanta"));
    app.setQuitOnLastWindowClosed(false);

    QtMessageSink messages;
    XdgAutostart autostart;
    X11DesktopShape shape;

    bool splash = false;
    if (!scan.startMinimised) {
        splash = !paths.LoadOptions().HideSplash;
    }
    if (splash)
        (new TfrmSplash(nullptr, productLink()))->ShowNow();

    TfrmMain window(
        TMainWindowDeps{paths, ProgramFile(), messages, autostart, shape, scan.startMinimised});
    QObject::connect(&window, &TfrmMain::Quitting, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    TAutomationServer automationServer(window, QDBusConnection::sessionBus(),
                                       automation.startedByClient);
    if (!automationServer.Start() && automation.startedByClient)
        std::fputs("orvanta: no session bus: the compass runs without automation\n", stderr);

    IniKeyValueStore store(IniKeyValueStore::defaultUserFile(),
                           IniKeyValueStore::shippedFileIn(paths.Assets));
    store.setValue(kProductKeyPath.toString(), QStringLiteral("InstalPath"), ProgramFile());

    return app.exec();
}

} // namespace orvanta
