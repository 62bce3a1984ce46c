// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A newcomer's walk through every window and box of the program, in English
// and in Chinese: the real window, its menu and controller on a copy of the
// built program folder with the shipped skins and a skin package installed,
// every dialog opened the way the menu opens it and every message box the
// program shows. What the user reads follows two rules:
//   English: not one Chinese character (bar the language menu's "中文");
//   Chinese: every line speaks Chinese, with Chinese punctuation, unless it
//            is only numbers, units, symbols, the program's name, a file name
//            or an address.
// The walk starts in the other language and switches through the menu, so a
// text that does not follow the change shows too.
//
// ORVANTA_WALK_SHOTS=FOLDER saves a picture of each window and box there
// (tools/screenshots.sh).
#include "app/compasswindow.h"
#include "controllerharness.h"
#include "dialogs/splashscreen.h"
#include "platform/languageswitcher.h"
#include "platform/qtmessagesink.h"
#include "testfiles.h"
#include "xdesktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTimer>
#include <gtest/gtest.h>
#include <iostream>
#include <unistd.h>

using namespace orvanta;

namespace {

struct Shown {
    QString where; // the window or menu it showed in
    QString text;
};

void add(QList<Shown>& shown, const QString& where, const QString& text) {
    const QString plain =
        Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
    for (const QString& line : plain.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            shown << Shown{where, line.trimmed()};
    }
}

void addActions(QList<Shown>& shown, const QString& where, const QList<QAction*>& actions) {
    for (const QAction* a : actions) {
        for (const QString& t : {a->text(), a->toolTip(), a->statusTip(), a->whatsThis()})
            add(shown, where, t);
        if (a->menu()) {
            add(shown, where, a->menu()->title());
            addActions(shown, where + u'>' + a->menu()->title(), a->menu()->actions());
        }
    }
}

// Every text a window shows or speaks: its title and those of each child.
void addWindow(QList<Shown>& shown, QWidget* window) {
    const QString where = window->windowTitle() + u'[' + window->metaObject()->className() + u']';
    add(shown, where, window->windowTitle());
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(window) && w != window)
            continue;
        for (const QString& t : {w->toolTip(), w->statusTip(), w->whatsThis(), w->accessibleName(),
                                 w->accessibleDescription()})
            add(shown, where, t);
        addActions(shown, where, w->actions());
        if (auto* label = qobject_cast<QLabel*>(w))
            add(shown, where, label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            add(shown, where, button->text());
        if (auto* box = qobject_cast<QGroupBox*>(w))
            add(shown, where, box->title());
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            add(shown, where, edit->placeholderText());
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                add(shown, where, combo->itemText(i));
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(shown, where, tabs->tabText(i) + u'\n' + tabs->tabToolTip(i));
        if (auto* browser = qobject_cast<QTextBrowser*>(w))
            add(shown, where, browser->toPlainText());
        if (auto* table = qobject_cast<QTableWidget*>(w))
            for (int r = -1; r < table->rowCount(); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    if (const QTableWidgetItem* item =
                            r < 0 ? table->horizontalHeaderItem(c) : table->item(r, c))
                        add(shown, where, item->text() + u'\n' + item->toolTip());
    }
}

// What the English rule lets through, and what a line of the Chinese one may
// be without Chinese: numbers, unit symbols, symbols, the program's name,
// file names and addresses.
const QRegularExpression
    kChinese(QStringLiteral("[\\p{Han}\\x{3000}-\\x{303f}\\x{ff00}-\\x{ffef}]"));
const QRegularExpression kNotWords(QStringLiteral(
    "(https?://|file:|mailto:)\\S*|\\S*[/\\\\@]\\S*|\\S+\\.[a-z]{2,11}\\b|"
    "\\bOrvanta\\b|\\bEnglish\\b|\\b(px|cm|mm|in|pt|pc)\\b|\\b[A-Z]\\b|\\b(Ctrl|Shift|Alt|Esc|"
    "Enter|PgUp|PgDn|Page Up|Page Down|Home|End|Tab|Space|Del|Delete)\\b"));
const QRegularExpression
    kAsciiBesideHan(QStringLiteral("\\p{Han} *[,.:;?!()]|[,:;?!()] *\\p{Han}"));

QString ruleBroken(UiLanguage language, const QString& text) {
    if (language == UiLanguage::English)
        return text != u"中文" && text.contains(kChinese) ? QStringLiteral("Chinese in English")
                                                          : QString();
    if (text.contains(QRegularExpression(QStringLiteral("\\p{Han}"))))
        return text.contains(kAsciiBesideHan) ? QStringLiteral("ASCII punctuation") : QString();
    QString rest = text;
    rest.remove(kNotWords);
    return rest.contains(QRegularExpression(QStringLiteral("[A-Za-z]")))
               ? QStringLiteral("not Chinese")
               : QString();
}

// Shows `text` in the program's message box and reads it while it waits.
void addMessageBox(QList<Shown>& shown, QWidget* compass, const QString& text,
                   const std::function<void(QWidget*)>& look) {
    QTimer::singleShot(0, [&, look] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        addWindow(shown, box);
        look(box);
        box->close();
    });
    QtMessageSink(compass).showMessage(text);
}

} // namespace

TEST(Walkthrough, EveryWindowAndBoxSpeaksTheChosenLanguageOnly) {
    const QString shots = qEnvironmentVariable("ORVANTA_WALK_SHOTS");
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::Chinese}) {
        const bool english = language == UiLanguage::English;
        const QString tag = english ? QStringLiteral("en") : QStringLiteral("zh_CN");
        SCOPED_TRACE(tag.toStdString());
        test::ProgramCopy program;
        ASSERT_TRUE(program.ok());
        // The area in centimetres, so that the title shows its squared unit; a
        // chosen skin that is no skin, so that the start tells the user so.
        program.writeFile("notaskin.txt", "hello");
        program.writeFile("Compass.ini",
                          "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nMeasureType=2\r\n"
                          "Measurement=150\r\nskinPath=" +
                              program.path("notaskin.txt").toUtf8() + "\r\n" +
                              (english ? "Language=Chinese\r\n" : "Language=English\r\n"));
        // A broken skin beside the shipped ones: its problem is a message.
        test::writeSkin(program.path("skins/Broken"), "Broken", "broken.ini", false);
        test::FakeServices fakes;
        fakes::RecordingShell shell;
        LanguageSwitcher switcher(LanguageSwitcher::defaultProgramCatalogues(),
                                  LanguageSwitcher::defaultQtCatalogues(), [] { return true; });
        switcher.use(english ? LanguageChoice::Chinese : LanguageChoice::English);
        auto window = std::make_unique<CompassWindow>(
            CompassWindowDeps(ProgramPaths::portableIn(program.path()), program.binary(), fakes,
                              fakes, fakes, fakes, false, &switcher));
        CompassWindow& w = *window;
        CompassController& c = w.controller();
        CompassMenu& m = w.menu();
        w.show();
        (english ? m.englishAction : m.chineseAction)->trigger();
        ASSERT_EQ(switcher.current(), language);
        QApplication::processEvents();
        // The start's own messages (a chosen skin that is no skin, a broken
        // one) came in the language it started in.
        EXPECT_EQ(fakes.messages.size(), 2) << fakes.messages.join(u'\n').toStdString();
        for (const QString& text : std::exchange(fakes.messages, {}))
            EXPECT_TRUE(
                ruleBroken(english ? UiLanguage::Chinese : UiLanguage::English, text).isEmpty())
                << text.toStdString();

        QList<Shown> shown;
        // The skins: the package, the shipped ones and the default, each with
        // its About box; the broken one tells what is wrong.
        c.installPackages({QStringLiteral(ORVANTA_BIN_DIR "/Walnut.compassskin")});
        c.rescanSkinsIfNeeded();
        ASSERT_GE(c.skins().names.size(), 3);
        for (int i = 0; i < c.skins().names.size(); ++i) {
            c.selectSkin(i);
            c.showAboutSkin();
        }
        // The units: each in the title, the user's own unit among them.
        for (int i = 0; i < c.units().unitsCount(); ++i) {
            c.selectUnit(i);
            add(shown, "title", c.titleText());
        }
        c.selectUnit(2); // centimetres: an area's unit is squared
        EXPECT_TRUE(c.titleText().endsWith(english ? u"Centimetres²" : u"厘米²"))
            << c.titleText().toStdString();
        c.setMeasureType(int(MeasureKind::Radius));
        // Every dialog the menu opens.
        c.showHelp();
        c.showCalibration();
        c.showScreenCalibration();
        c.showTransparencyDialog();
        auto* splash = new SplashScreen(nullptr, shell, QStringLiteral("https://example.org/"));
        splash->setAttribute(Qt::WA_DeleteOnClose);
        splash->showNow();
        QApplication::processEvents();
        addActions(shown, "menu", m.contextMenu->actions());
        int box = 0; // pictures taken
        add(shown, "window", w.windowTitle());
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || top == &w || qobject_cast<QMenu*>(top))
                continue;
            addWindow(shown, top);
            if (!shots.isEmpty())
                top->grab().save(
                    QStringLiteral("%1/%2-%3-%4.png")
                        .arg(shots, tag,
                             QString::fromLatin1(top->metaObject()->className()).section(u':', -1))
                        .arg(++box));
        }

        // The boxes: what went wrong so far, then a failed save, a package that
        // is no ZIP, a read-only program folder and a link with no browser.
        QStringList messages = fakes.messages;
        EXPECT_EQ(messages.size(), 1) << messages.join(u'\n').toStdString(); // the broken skin
        program.writeFile("bad.compassskin", "not a zip");
        try {
            c.installPackages({program.path("bad.compassskin")});
            ADD_FAILURE() << "a package that is no ZIP installed";
        } catch (const OrvantaError& e) {
            messages << e.userMessage();
        }
        QFile::remove(program.path("Compass.ini"));
        QDir().mkpath(program.path("Compass.ini")); // a folder: no save can replace it
        fakes.messages.clear();
        m.lowQualityAction->trigger();
        m.highQualityAction->trigger(); // told once, not at every choice
        EXPECT_EQ(fakes.messages.size(), 1);
        messages << fakes.messages
                 << ProgramPaths::forProgram(program.path(), program.path("config"),
                                             program.path("data"), false)
                        .readOnlyFolderNotice()
                 << LinkReportingShell::notOpenedText(QStringLiteral("https://example.org/"));
        for (const QString& text : messages)
            addMessageBox(shown, &w, text, [&](QWidget* b) {
                if (!shots.isEmpty())
                    b->grab().save(QStringLiteral("%1/%2-box%3.png").arg(shots, tag).arg(++box));
            });

        for (const Shown& s : shown) {
            const QString broken = ruleBroken(language, s.text);
            EXPECT_TRUE(broken.isEmpty()) << broken.toStdString() << " in " << s.where.toStdString()
                                          << ": " << s.text.toStdString();
        }
        EXPECT_GT(shown.size(), 200);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != &w && !qobject_cast<QMenu*>(top))
                top->close();
        QApplication::processEvents();
        window.reset();
        switcher.use(LanguageChoice::English);
    }
}

namespace {

// A language as the desktop asks for it, and what the program says in it.
struct Speech {
    const char* language;    // LANGUAGE
    const char* unitsDialog; // the units dialog's title
    const char* compass;     // the window title's first word
    const char* areaUnit;    // the title's end under area in centimetres
};
const Speech kSpeeches[] = {
    {"en", "Configure custom units", "Compass", "Centimetres²"},
    {"zh_CN", "配置自定义单位", "圆规", "厘米²"},
};

struct Outcome {
    int exitCode = -1;
    QString err;
};

} // namespace

// The same walk as a process: each bad input's message and exit status, then
// a portable copy on a read-only medium through the units dialog and a
// restart, read off the screen, once in each language.
TEST(Walkthrough, BadInputsAndAReadOnlyFolderAcrossARestart) {
    using namespace orvanta::test;
    VirtualDesktop desktop;
    PrivateBus bus;
    if (!desktop.installed() || !bus.ok() || QStandardPaths::findExecutable("xdotool").isEmpty() ||
        QStandardPaths::findExecutable("busctl").isEmpty())
        GTEST_SKIP() << "needs Xvfb, dbus-daemon, busctl and xdotool";
    ASSERT_TRUE(desktop.ok());
    for (const Speech& speech : kSpeeches) {
        SCOPED_TRACE(speech.language);
        const bool english = QByteArray(speech.language) == "en";
        ProgramCopy program;
        QTemporaryDir home;
        ASSERT_TRUE(program.ok() && home.isValid());
        QProcessEnvironment env = desktop.environment();
        for (const char* folder : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            env.insert(folder, home.filePath(folder));
        QDir(home.path()).mkpath("XDG_RUNTIME_DIR");
        QFile::setPermissions(home.filePath("XDG_RUNTIME_DIR"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("LC_ALL", "C.UTF-8");
        env.insert("LANGUAGE", speech.language);
        env.remove("XDG_SESSION_TYPE");
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
        const auto run = [&](const QStringList& args) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(program.binary(), args);
            Outcome r;
            if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit)
                r.exitCode = p.exitCode();
            r.err = QString::fromUtf8(p.readAllStandardError());
            return r;
        };

        // Each bad input: its status, a message naming it, in the language.
        const QString png = program.path("frame.png");
        program.writeFile("bad.compassskin", "not a zip");
        program.writeFile("notaskin.txt", "hello");
        const struct {
            QStringList args;
            int exitCode;
            QString named; // what the message names
        } bad[] = {
            {{"--render", png, program.path("bad.compassskin")}, 1, "bad.compassskin"},
            {{"--bogus"}, 2, "bogus"},
            {{"--render", png, "--spread", "wide"}, 2, "wide"},
            {{"--render", png, "--skin", program.path("notaskin.txt")}, 2, "notaskin.txt"},
        };
        for (const auto& b : bad) {
            SCOPED_TRACE(b.args.join(u' ').toStdString());
            const Outcome r = run(b.args);
            EXPECT_EQ(r.exitCode, b.exitCode) << r.err.toStdString();
            const QString first = r.err.section(u'\n', 0, 0);
            EXPECT_TRUE(first.contains(b.named)) << r.err.toStdString();
            EXPECT_EQ(first.contains(QRegularExpression("\\p{Han}")), !english)
                << r.err.toStdString();
        }
        EXPECT_FALSE(QFile::exists(program.path("skins/bad")));
        EXPECT_FALSE(QFile::exists(home.filePath("XDG_DATA_HOME/Orvanta/skins/bad")));

        // A portable copy on a read-only medium, measuring an area in
        // centimetres, its chosen skin no skin.
        const QByteArray options =
            "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=300\r\n"
            "Y=250\r\nAngle=0\r\nMeasurement=150\r\nMeasureType=2\r\nskinPath=" +
            program.path("notaskin.txt").toUtf8() + "\r\n";
        program.writeFile("Compass.ini", options);
        program.writeFile(
            "distances.ini",
            program.readFile("distances.ini").replace("SelectedUnit=0", "SelectedUnit=2"));
        const QByteArray units = program.readFile("distances.ini");
        const bool root = geteuid() == 0;
        if (!root)
            QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        QProcess compass;
        compass.setProcessEnvironment(env);
        const auto end = qScopeGuard([&] {
            compass.kill();
            compass.waitForFinished(3000);
        });
        const auto start = [&] {
            // File modes do not stop root: a read-only mount of its own does.
            // In a chroot "/" is no mount point, and unshare cannot make the
            // mounts private: there the chroot's own namespace keeps the
            // mount to itself (tools/in-debian.sh makes one).
            if (root)
                compass.start("unshare", QStringList{"-m"} +
                                             (QProcess::execute("mountpoint", {"-q", "/"}) == 0
                                                  ? QStringList()
                                                  : QStringList{"--propagation", "unchanged"}) +
                                             QStringList{"sh", "-c",
                                                         "mount --bind -o ro \"$0\" \"$0\" && exec "
                                                         "\"$0/orvanta\"",
                                                         program.path()});
            else
                compass.start(program.binary(), {});
            return compass.waitForStarted(5000);
        };
        const auto names = [&] {
            return desktop
                .run("xdotool", {"search", "--onlyvisible", "--name", "", "getwindowname", "%@"})
                .split(u'\n', Qt::SkipEmptyParts);
        };
        const auto title = [&] {
            for (const QString& name : names())
                if (name.startsWith(QString::fromUtf8(speech.compass)))
                    return name;
            return QString();
        };
        const auto boxShown = [&] {
            return !desktop.run("xdotool", {"search", "--onlyvisible", "--name", "^Orvanta$"})
                        .isEmpty();
        };
        const auto dialogShown = [&] {
            return !names()
                        .filter(QRegularExpression(u'^' + QString::fromUtf8(speech.unitsDialog)))
                        .isEmpty();
        };

        // Told once where the options went and which skin shows instead:
        // the boxes are answered until the compass shows and no box follows.
        int answered = 0;
        const auto settled = [&] {
            if (boxShown()) {
                desktop.run("xdotool", {"search", "--onlyvisible", "--name", "^Orvanta$",
                                        "windowfocus", "--sync", "key", "Return"});
                ++answered;
                return false;
            }
            // Under load a box can come well after the compass shows: the
            // walk goes on only once one was answered and no other follows.
            return answered > 0 && title().contains(QString::fromUtf8(speech.areaUnit)) &&
                   !waitFor(boxShown, 2000);
        };
        // In some loaded CI runs the compass came up without either box, and
        // no run here has shown why: such a start is made once more, afresh,
        // and said; a second one without a box fails.
        for (int attempt = 1;; ++attempt) {
            ASSERT_TRUE(start());
            if (waitFor(settled, 30000))
                break;
            ASSERT_TRUE(answered == 0 && attempt == 1)
                << "boxes answered: " << answered << ", title: " << title().toStdString();
            std::cerr << "the compass came up without a box; started once more\n";
            compass.kill();
            compass.waitForFinished(3000);
            QDir(home.filePath("XDG_CONFIG_HOME/Orvanta")).removeRecursively();
            QDir(home.filePath("XDG_DATA_HOME/Orvanta")).removeRecursively();
        }
        // The units dialog opens on the unit in use, and Enter is its OK.
        // The compass as an automation client drives it: the units dialog is
        // asked for as soon as the compass is on the bus.
        const auto compassCall = [&](const QStringList& args) {
            QProcess busctl;
            busctl.setProcessEnvironment(env);
            // No activation: a call before the compass is on the bus (or after it
            // quit) must not start another one.
            busctl.start("busctl", QStringList{"--user", "--auto-start=no", args.first()} +
                                       QStringList{"Compass.VelmoraCompass", "/VelmoraCompass",
                                                   "Compass.IVelmoraCompass"} +
                                       args.mid(1));
            busctl.waitForFinished(10000);
            return busctl.exitCode() == 0;
        };
        // A request the start was too busy for is made again.
        const auto askForUnits = [&] {
            return compassCall({"call", "ShowCalibrationScreen"}) && waitFor(dialogShown, 3000);
        };
        ASSERT_TRUE(waitFor(askForUnits, 12000)) << names().join(u',').toStdString();
        // Enter where the keyboard is when it opens: the grid, on the unit in
        // use. A key that comes before the dialog takes it is sent again.
        for (int attempt = 0; attempt < 10 && dialogShown(); ++attempt) {
            desktop.run("xdotool", {"search", "--onlyvisible", "--name",
                                    u'^' + QString::fromUtf8(speech.unitsDialog), "windowfocus",
                                    "--sync", "key", "Return"});
            waitFor([&] { return !dialogShown(); }, 1000);
        }
        ASSERT_TRUE(waitFor([&] { return !dialogShown(); }));
        EXPECT_TRUE(title().contains(QString::fromUtf8(speech.areaUnit))) << title().toStdString();
        // A changed spread, kept across a restart without another word.
        const QString before = title();
        ASSERT_TRUE(compassCall({"set-property", "Measurement", "d", "321"}));
        ASSERT_TRUE(waitFor([&] { return title() != before; }));
        const QString changed = title();
        ASSERT_TRUE(compassCall({"call", "Quit"}));
        ASSERT_TRUE(compass.waitForFinished(8000));
        EXPECT_EQ(compass.exitCode(), 0);
        ASSERT_TRUE(start());
        EXPECT_TRUE(waitFor([&] { return title() == changed; })) << title().toStdString();
        EXPECT_FALSE(waitFor(boxShown, 2000));
        ASSERT_TRUE(waitFor([&] { return compassCall({"call", "Quit"}); }));
        EXPECT_TRUE(compass.waitForFinished(8000));
        EXPECT_EQ(program.readFile("Compass.ini"), options);
        EXPECT_EQ(program.readFile("distances.ini"), units);
        EXPECT_TRUE(test::readAll(home.filePath("XDG_CONFIG_HOME/Orvanta/distances.ini"))
                        .contains("UnitsCount=7\r\n"))
            << "Enter added a unit";
        QFile::setPermissions(program.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}
