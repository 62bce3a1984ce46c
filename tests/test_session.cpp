// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// One fixed session of keys, typed values, the clipboard, drags and menu
// commands on the real program, from fixed options and units to the files it
// leaves when it quits. The files must come out byte for byte as the ones in
// tests/data/session/end: a change to what any step does shows here.
//
// Numbers with a fraction may differ in their last digits: the slide drag
// turns the beam step by step, one step a motion event, and how many events
// the server delivers depends on how fast the program runs.
//
// After a deliberate change of behaviour, ORVANTA_UPDATE_SESSION=1 writes the
// new files there instead of comparing.
#include "xdesktop.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace orvanta::test;

namespace {

const QString kData = QStringLiteral(ORVANTA_SOURCE_DIR "/tests/data/session/");
const QStringList kFiles = {QStringLiteral("Compass.ini"), QStringLiteral("distances.ini")};
// The folder of the program copy differs from run to run; the saved skin path
// holds it.
const QByteArray kProgramFolder = "{program}";

// The default skin's pivot where the start options put it: the compass is
// grabbed there and the context menu opened there.
constexpr QPoint kPivot(326, 278);
// Where the arrow keys move it, and the drag of the base after them.
constexpr QPoint kKeyMove(3, 2);
constexpr QPoint kDragMove(60, 40);
// The slide when the beam lies at 0 degrees and is 300 pixels long, and where
// it is dragged while the measurement is locked: the beam turns only.
constexpr QPoint kSlide(300, 0);
constexpr QPoint kSlideDrag(0, 80);

constexpr int kWaitMs = 8000;

// The compass window's title starts with "compass" before the readout; the
// context menu and its submenus are called after the application.
const QString kTitle = QStringLiteral("Compass");
const QString kMenuTitle = QStringLiteral("Orvanta");

// What shows that a step has been carried out.
enum class Witness {
    Title,   // the window title, which holds the readout
    Options, // Compass.ini, saved by option changes
    Screen,  // the pixels on the screen
};

class Session : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"xdotool", "xclip", "xwd"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << "needs " << tool;
        if (!desktop.ok() || !program.ok())
            GTEST_SKIP() << "needs Xvfb and a built program";
        for (const QString& name : kFiles)
            program.writeFile(name, readAll(kData + "start/" + name));
    }

    void TearDown() override {
        for (QProcess* p : {&compass, clipboard.get()}) {
            if (p && p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }

    static QByteArray readAll(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The names of the visible windows. (xdotool's name search finds none of
    // them once --onlyvisible is given.)
    [[nodiscard]] QStringList windowNames() const {
        return desktop
            .run("xdotool", {"search", "--onlyvisible", "--name", "", "getwindowname", "%@"})
            .split(u'\n', Qt::SkipEmptyParts);
    }
    // The compass window's name, which holds the readout.
    [[nodiscard]] QString title() const {
        for (const QString& name : windowNames())
            if (name.startsWith(kTitle))
                return name;
        return {};
    }
    [[nodiscard]] bool menuShown() const { return windowNames().contains(kMenuTitle); }

    [[nodiscard]] QByteArray observe(Witness witness) const {
        switch (witness) {
        case Witness::Title:
            return title().toUtf8();
        case Witness::Options:
            return program.readFile("Compass.ini");
        case Witness::Screen:
            break;
        }
        return desktop.grab();
    }

    // Waits until two grabs in a row are the same: the program has drawn
    // what it was given and the compositor has shown it.
    [[nodiscard]] bool settled() const {
        QByteArray last = desktop.grab();
        return waitFor(
            [&] {
                QByteArray now = desktop.grab();
                const bool same = now == last;
                last = std::move(now);
                return same;
            },
            kWaitMs);
    }

    // Does `act`, then waits until `witness` changes and the screen settles.
    // The next step is only sent then, so no step meets a half-drawn compass.
    void step(const QString& what, const std::function<void()>& act, Witness witness) {
        SCOPED_TRACE(what.toStdString());
        const QByteArray before = observe(witness);
        act();
        ASSERT_TRUE(waitFor([&] { return observe(witness) != before; }, kWaitMs))
            << "nothing showed that the step was carried out";
        ASSERT_TRUE(settled());
    }

    void key(const QString& name, Witness witness) {
        step(
            name,
            [&] {
                desktop.run("xdotool", {"key", name});
            },
            witness);
    }

    void keys(const QStringList& names, Witness witness) {
        for (const QString& name : names) {
            key(name, witness);
            if (HasFatalFailure())
                return;
        }
    }

    // Typed text is taken by Return.
    void typed(const QString& text) {
        step(
            text,
            [&] {
                desktop.run("xdotool", {"type", "--delay", "40", text});
                desktop.run("xdotool", {"key", "Return"});
            },
            Witness::Title);
    }

    // Opens the context menu at `p` and walks it with `path` (Return picks the
    // item). The menu holds the keyboard once it shows, and it takes the keys
    // in order, opening submenus as it goes: they are sent at once.
    void menu(QPoint p, const QStringList& path, Witness witness) {
        SCOPED_TRACE(path.join(u' ').toStdString());
        ASSERT_FALSE(menuShown());
        // A right-click that comes just as the last menu lets go of the
        // pointer can be lost: click again until the menu shows.
        bool shown = false;
        for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
            desktop.click(p, 3);
            shown = waitFor([&] { return menuShown(); }, kWaitMs / 3);
        }
        ASSERT_TRUE(shown) << "no menu";
        ASSERT_TRUE(settled());
        step(
            "pick",
            [&] { desktop.run("xdotool", QStringList{"key"} + path + QStringList{"Return"}); },
            witness);
        ASSERT_TRUE(waitFor([&] { return !menuShown(); }, kWaitMs)) << "the menu stayed";
    }

    // The saved file as compared: the program folder stands for itself.
    [[nodiscard]] QByteArray saved(const QString& name) const {
        return program.readFile(name).replace(program.path().toUtf8(), kProgramFolder);
    }

    VirtualDesktop desktop;
    ProgramCopy program;
    QProcess compass;
    std::unique_ptr<QProcess> clipboard;
};

// Whether two saved files hold the same lines, a fractional number being the
// same within a few float steps of rounding.
[[nodiscard]] bool sameFile(const QByteArray& saved, const QByteArray& golden) {
    const QList<QByteArray> a = saved.split('\n');
    const QList<QByteArray> b = golden.split('\n');
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const qsizetype eq = a[i].indexOf('=');
        if (eq < 0 || a[i].left(eq + 1) != b[i].left(eq + 1))
            return false;
        bool okA = false;
        bool okB = false;
        const double x = a[i].mid(eq + 1).trimmed().toDouble(&okA);
        const double y = b[i].mid(eq + 1).trimmed().toDouble(&okB);
        if (!okA || !okB || std::abs(x - y) > 1e-5 * std::max(1.0, std::abs(y)))
            return false;
    }
    return true;
}

} // namespace

TEST(SessionFiles, FractionsMayDifferInRoundingOnly) {
    EXPECT_TRUE(sameFile("[O]\r\nAngle=19.9314155578613\r\nX=3\r\n",
                         "[O]\r\nAngle=19.93141746521\r\nX=3\r\n"));
    EXPECT_FALSE(sameFile("[O]\r\nAngle=19.94\r\n", "[O]\r\nAngle=19.93\r\n"));
    EXPECT_FALSE(sameFile("[O]\r\nX=4\r\n", "[O]\r\nX=3\r\n"));
    EXPECT_FALSE(sameFile("[O]\r\nY=3\r\n", "[O]\r\nX=3\r\n"));
    EXPECT_FALSE(sameFile("[O]\r\nX=3\r\n", "[O]\r\nX=3\r\nY=1\r\n"));
}

TEST_F(Session, ScriptedSessionLeavesTheSameFiles) {
    QProcessEnvironment env = program.environment(desktop.environment());
    env.insert("LC_ALL", "C.UTF-8"); // the decimal separator of the saved numbers
    compass.setProcessEnvironment(env);
    compass.setProcessChannelMode(QProcess::ForwardedChannels);
    compass.start(program.binary(), {});
    ASSERT_TRUE(compass.waitForStarted(5000));
    ASSERT_TRUE(waitFor([&] { return !title().isEmpty(); }, kWaitMs));
    ASSERT_TRUE(settled());
    ASSERT_TRUE(desktop.clickToFocus(kPivot, kTitle));

    // The steps are ordered so that most leave a trace in the files: what
    // one sets outright, the next does not overwrite.
    const QPoint pivot = kPivot + kKeyMove;
    ASSERT_NO_FATAL_FAILURE(keys({"Right", "Right", "Right", "Down", "Down"}, Witness::Screen));
    // To 45 degrees and back to 0.
    ASSERT_NO_FATAL_FAILURE(keys({"f", "l"}, Witness::Screen));
    clipboard = desktop.ownClipboard("123.5");
    ASSERT_TRUE(clipboard);
    ASSERT_NO_FATAL_FAILURE(key("ctrl+v", Witness::Title));
    ASSERT_NO_FATAL_FAILURE(typed("250"));
    ASSERT_NO_FATAL_FAILURE(typed("+50"));
    // Sticky angle off, lock the angle, then the measurement (which frees the
    // angle) for the drag of the slide, then free the measurement.
    ASSERT_NO_FATAL_FAILURE(keys({"s", "a", "m"}, Witness::Options));
    ASSERT_NO_FATAL_FAILURE(step(
        "drag the slide", [&] { desktop.drag(pivot + kSlide, pivot + kSlide + kSlideDrag); },
        Witness::Screen));
    ASSERT_NO_FATAL_FAILURE(key("m", Witness::Options));
    // Lengthen and shorten along the beam, turn, the next base colour.
    ASSERT_NO_FATAL_FAILURE(keys({"shift+Right", "shift+Right", "shift+Right", "shift+Right",
                                  "shift+Right", "shift+Left", "shift+Left"},
                                 Witness::Title));
    ASSERT_NO_FATAL_FAILURE(
        keys({"shift+greater", "shift+greater", "shift+greater", "shift+greater", "shift+greater",
              "shift+greater", "shift+greater", "shift+less", "shift+less", "c"},
             Witness::Screen));
    ASSERT_NO_FATAL_FAILURE(step(
        "drag the base", [&] { desktop.drag(pivot, pivot + kDragMove); }, Witness::Screen));

    // Circumference; the hexagon; centimetres; low quality; not on top.
    const QPoint moved = pivot + kDragMove;
    ASSERT_NO_FATAL_FAILURE(menu(moved, QStringList(13, QStringLiteral("Down")), Witness::Title));
    ASSERT_NO_FATAL_FAILURE(
        menu(moved, {"Down", "Down", "Down", "Down", "Right", "Down", "Down", "Down", "Down"},
             Witness::Title));
    ASSERT_NO_FATAL_FAILURE(menu(moved, {"Down", "Right", "Down", "Down", "Down"}, Witness::Title));
    ASSERT_NO_FATAL_FAILURE(
        menu(moved, {"Down", "Down", "Down", "Right", "Right"}, Witness::Options));
    ASSERT_NO_FATAL_FAILURE(
        menu(moved, {"Down", "Down", "Down", "Down", "Down", "Right"}, Witness::Options));

    // The window was made anew without its stay-on-top flag: give it the
    // keyboard again for the quit key.
    ASSERT_TRUE(settled());
    ASSERT_TRUE(desktop.clickToFocus(moved, kTitle));
    desktop.run("xdotool", {"key", "q"});
    ASSERT_TRUE(compass.waitForFinished(kWaitMs)) << "the program did not quit";
    EXPECT_EQ(compass.exitCode(), 0);

    const bool update = qEnvironmentVariableIsSet("ORVANTA_UPDATE_SESSION");
    for (const QString& name : kFiles) {
        const QString golden = kData + "end/" + name;
        if (update) {
            QFile f(golden);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(saved(name)) >= 0);
            continue;
        }
        if (!sameFile(saved(name), readAll(golden))) {
            EXPECT_EQ(saved(name).toStdString(), readAll(golden).toStdString())
                << name.toStdString();
        }
    }
}
