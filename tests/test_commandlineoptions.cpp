// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The program's command line, run as a user runs it: the real binary with and
// without a display, its exit status, what it prints and whether a compass
// shows.
#include "xdesktop.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace orvanta::test;

namespace {

enum class Display { None, Dead, Xvfb };

struct Outcome {
    int exitCode = -1;
    QString out, err;
    bool compassShown = false;
};

// Runs the program; one that shows a compass is ended once it has.
Outcome runProgram(const ProgramCopy& program, const VirtualDesktop& desktop, Display display,
                   const QStringList& args, const QString& locale) {
    QProcessEnvironment env = program.environment(desktop.environment());
    // The language comes from LANGUAGE; the locale itself stays C.UTF-8, which
    // every system has (Qt 6.8 warns on stderr about a locale not installed).
    env.insert("LC_ALL", QStringLiteral("C.UTF-8"));
    env.insert("XDG_RUNTIME_DIR", program.path()); // private, as Qt wants it
    env.remove("XDG_SESSION_TYPE");                // the platform named is plain X11
    env.insert("LANGUAGE", locale.section(u'.', 0, 0));
    if (display == Display::None)
        env.remove("DISPLAY");
    else if (display == Display::Dead)
        env.insert("DISPLAY", ":97");
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program.binary(), args);
    Outcome run;
    if (!p.waitForStarted(5000))
        return run;
    if (display == Display::Xvfb) {
        const auto windowShown = [&] {
            return !desktop.run("xdotool", {"search", "--name", "^Compass"}).isEmpty();
        };
        waitFor([&] { return p.state() != QProcess::Running || windowShown(); }, 8000);
        run.compassShown = p.state() == QProcess::Running && windowShown();
    }
    if (run.compassShown)
        p.kill();
    p.waitForFinished(10000);
    if (p.exitStatus() == QProcess::NormalExit && !run.compassShown)
        run.exitCode = p.exitCode();
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

TEST(CommandLineOptions, ExitStatusOutputAndWhetherACompassShows) {
    VirtualDesktop desktop;
    ProgramCopy program;
    if (!desktop.installed() || !program.ok())
        GTEST_SKIP() << "needs Xvfb and a built program";
    ASSERT_TRUE(desktop.ok());
    program.writeFile("Compass.ini", "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\n");
    const QString png = program.path("frame.png");
    const QString en = QStringLiteral("C.UTF-8");
    const QString zh = QStringLiteral("zh_CN.UTF-8");
    struct Case {
        QStringList args;
        Display display;
        QString locale;
        int exitCode;         // -1: still running, a compass shown
        QStringList out, err; // what each must hold; empty lists: nothing at all
    };
    const Case cases[] = {
        {{"--help"},
         Display::None,
         en,
         0,
         {"Usage: orvanta", "--render OUT.png", "--screen-mm WxH", "/m ", "-Automation, -Embedding",
          "-RegServer", "PACKAGE.compassskin", "Platform: xcb"},
         {}},
        {{"-h", "/m"}, Display::None, en, 0, {"Show this help and exit."}, {}},
        {{"--render", "--help"}, Display::None, en, 0, {"--crop"}, {}},
        {{"--version"}, Display::None, en, 0, {"Orvanta "}, {}},
        {{"--help"}, Display::None, zh, 0, {"用法", "显示此帮助并退出。", "平台：xcb（X11）"}, {}},
        // Errors name what is wrong and show the usage, and start nothing even
        // where a display would let them (the walkthrough test has each bad
        // input in both languages).
        {{"--bogus"}, Display::Xvfb, en, 2, {}, {"orvanta: Unknown option 'bogus'.\n", "Usage:"}},
        {{"stray.txt"}, Display::Xvfb, en, 2, {}, {"Unexpected argument 'stray.txt'"}},
        {{"--angle", "5"}, Display::Xvfb, en, 2, {}, {"--angle goes with --render only."}},
        {{"--render"}, Display::None, en, 2, {}, {"Missing value after '--render'."}},
        // No display: one line, never Qt's abort.
        {{}, Display::None, en, 1, {}, {"orvanta: no display: DISPLAY is not set"}},
        // The autostart entry's "/m m" is read, and the display is the problem.
        {{"/m", "m"}, Display::Dead, en, 1, {}, {"orvanta: cannot open the X display :97"}},
        {{"--render", png, "--spread", "100"}, Display::None, en, 0, {"100"}, {}},
        // The switches of old and Qt's own options start the compass.
        {{"/M", "-style", "Fusion"}, Display::Xvfb, en, -1, {}, {}},
    };
    for (const Case& c : cases) {
        const std::string what = c.args.join(' ').toStdString() + " (" +
                                 std::to_string(int(c.display)) + ", " + c.locale.toStdString() +
                                 ")";
        const Outcome r = runProgram(program, desktop, c.display, c.args, c.locale);
        EXPECT_EQ(r.exitCode, c.exitCode) << what << "\n" << r.err.toStdString();
        EXPECT_EQ(r.compassShown, c.exitCode == -1) << what;
        const std::pair<const QStringList*, const QString*> printed[] = {{&c.out, &r.out},
                                                                         {&c.err, &r.err}};
        for (const auto& [parts, text] : printed) {
            for (const QString& part : *parts) {
                EXPECT_TRUE(text->contains(part))
                    << what << ": no '" << part.toStdString() << "' in\n"
                    << text->toStdString();
            }
            if (c.exitCode != -1 && parts->isEmpty()) {
                EXPECT_TRUE(text->isEmpty()) << what << ":\n" << text->toStdString();
            }
        }
        if (c.exitCode == 1) {
            EXPECT_EQ(r.err.count(u'\n'), 1) << what << ": " << r.err.toStdString();
        }
        if (c.locale == zh) {
            EXPECT_FALSE(r.out.contains("Show this") || r.err.contains("Unknown option")) << what;
        }
    }
}

} // namespace
