// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The real program on a virtual X server with a compositing manager, driven
// with xdotool and checked on the screen, as a user would see it.
#include "backdrop.h"
#include "xdesktop.h"

#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace orvanta::test;

namespace {

// The compass window's title starts with "compass" before the readout.
const QString kTitle = QStringLiteral("Compass");

// Settings that place the compass at a known spot and skip the splash.
constexpr char kOptions[] = "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=300\r\nY=250\r\n"
                            "Angle=0\r\nMeasurement=150\r\n";

// The pivot of the compass that kOptions places: the default skin's
// pivot lies 26 right of and 28 below the compass position. The other pieces
// lie around it at angle 0, spread 150.
constexpr QPoint kPivot(326, 278);
constexpr QPoint kSlide = kPivot + QPoint(150, 0);
constexpr QPoint kOutControl = kPivot + QPoint(168, -17);
constexpr QPoint kMeasureSelector = kPivot + QPoint(194, -1);

// Around the compass kOptions places, the figure and all, at the spreads the
// drags below reach.
const QRect kAroundCompass(kPivot - QPoint(240, 240), QSize(480, 480));

// How many pixels of `area` differ between two screenshots.
int pixelsApart(const QImage& a, const QImage& b, const QRect& area) {
    const QRect r = area & a.rect() & b.rect();
    int apart = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            apart += a.pixel(x, y) != b.pixel(x, y);
    return apart;
}

class WindowTest : public ::testing::Test {
protected:
    explicit WindowTest(QSize screen = QSize(1280, 800), const QString& windowManager = {},
                        bool compositor = true)
        : desktop(screen, windowManager, compositor) {}

    void SetUp() override {
        if (!desktop.installed() || !program.ok())
            GTEST_SKIP() << "needs Xvfb and a built program";
        // Installed but not started is a fault of the machine under test, not
        // a reason to pass in silence.
        ASSERT_TRUE(desktop.ok()) << "the virtual desktop did not start";
        backdrop.setProcessEnvironment(desktop.environment());
        backdrop.start(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_backdrop"),
                       QStringList{"#204080"} + backdropGeometry);
        ASSERT_TRUE(waitFor([&] { return backdrop.canReadLine(); }));
        const QString ready = QString::fromUtf8(backdrop.readLine()).trimmed();
        backdropWindow = ready.section(' ', 1).toULongLong();
    }

    void TearDown() override {
        for (QProcess* p : {&compass, &backdrop}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }

    void start(const QStringList& args = {}, const QString& busAddress = {}) {
        QProcessEnvironment env = program.environment(desktop.environment());
        if (!busAddress.isEmpty())
            env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        compass.setProcessEnvironment(env);
        compass.setProcessChannelMode(QProcess::ForwardedChannels);
        compass.start(program.binary(), args);
        ASSERT_TRUE(compass.waitForStarted(5000));
    }

    // The stand-in tray on the bus at `busAddress`, once it is ready.
    void startTray(QProcess& tray, const QString& busAddress) const {
        QProcessEnvironment env = desktop.environment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        tray.setProcessEnvironment(env);
        tray.start(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_faketray"), {});
        ASSERT_TRUE(waitFor([&] { return tray.canReadLine(); }));
        ASSERT_EQ(QString::fromUtf8(tray.readLine()).trimmed(), QStringLiteral("ready"));
    }

    // Starts the program with the compass at kPivot and waits until it shows.
    void startShown(const QStringList& args = {}) {
        program.writeFile("Compass.ini", kOptions);
        start(args);
        ASSERT_TRUE(compassShownAt(kPivot));
    }

    void quit() {
        desktop.run("xdotool", {"key", "q"});
        ASSERT_TRUE(compass.waitForFinished(8000)) << "the program did not quit";
        EXPECT_EQ(compass.exitCode(), 0);
    }

    [[nodiscard]] QString saved(const QString& key) const {
        for (const QString& l :
             QString::fromUtf8(program.readFile("Compass.ini")).split(QStringLiteral("\r\n")))
            if (l.startsWith(key + u'='))
                return l.section(u'=', 1);
        return {};
    }

    // The saved beam direction within one turn. A beam dragged to lie level
    // ends within float noise of 0, on either side as the pointer's path was
    // seen, and the release snaps it to 0 or to 360: the same beam.
    [[nodiscard]] double savedDirection() const {
        bool ok = false;
        const double angle = saved("Angle").toDouble(&ok);
        return ok ? std::fmod(angle, 360.0) : std::nan("");
    }

    // The compass's own X window: the one under an opaque pixel of it.
    [[nodiscard]] qulonglong compassWindow(QPoint opaque) const {
        return desktop.windowUnder(opaque).value_or(0);
    }

    // Waits until the screen around the compass shows `expected`; the
    // pixels that still differ.
    int settlesTo(const QImage& expected) {
        int apart = 0;
        waitFor(
            [&] {
                return (apart = pixelsApart(desktop.screenshot(), expected, kAroundCompass)) == 0;
            },
            5000);
        return apart;
    }

    // Waits until the pixel at `p` stops showing the backdrop (a failed
    // screenshot shows nothing).
    bool compassShownAt(QPoint p) {
        return waitFor(
            [&] {
                const QImage shot = desktop.screenshot();
                return shot.valid(p) && !isBackdrop(shot.pixel(p));
            },
            8000);
    }

    VirtualDesktop desktop;
    QStringList backdropGeometry; // the whole screen when empty
    ProgramCopy program;
    QProcess backdrop;
    QProcess compass;
    qulonglong backdropWindow = 0;
};

} // namespace

TEST_F(WindowTest, CompassShowsWhereTheOptionsPutItAndClicksPassThroughTheRest) {
    startShown();
    const QImage shot = desktop.screenshot();
    for (const QPoint p : {QPoint(1000, 700), QPoint(100, 100), QPoint(326, 600)})
        EXPECT_TRUE(isBackdrop(shot.pixel(p))) << p.x() << "," << p.y();
    EXPECT_EQ(desktop.windowUnder(QPoint(900, 600)), backdropWindow);
    EXPECT_NE(desktop.windowUnder(kPivot), backdropWindow);
}

TEST_F(WindowTest, TheWindowCoversTheCompassFollowsItAndStaysOnTop) {
    startShown();
    const qulonglong window = compassWindow(kPivot);
    ASSERT_NE(window, 0u);
    ASSERT_NE(window, backdropWindow);
    const QRect before = desktop.windowGeometry(window);
    // The figure at spread 150 is the compass's largest piece: the window holds
    // it with a margin, far from the whole 1280 × 800 screen.
    EXPECT_TRUE(before.contains(QRect(kPivot - QPoint(150, 150), QSize(301, 301)))) << before.x();
    EXPECT_LT(before.width() * before.height(), 1280 * 800 / 3);
    // No window manager rewrites the state here: Qt kept ours when it mapped
    // the window.
    const QString state = desktop.run("xprop", {"-id", QString::number(window), "_NET_WM_STATE"});
    for (const char* atom :
         {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"})
        EXPECT_TRUE(state.contains(atom)) << state.toStdString();

    const QPoint moved(200, 120);
    desktop.drag(kPivot, kPivot + moved);
    ASSERT_TRUE(compassShownAt(kSlide + moved));
    const QRect after = desktop.windowGeometry(window);
    EXPECT_EQ(after.size(), before.size()) << "a move is not a resize";
    EXPECT_EQ(after.topLeft(), before.topLeft() + moved);
    // Clicks outside the compass's pixels, inside the window too, go below.
    EXPECT_EQ(desktop.windowUnder(kPivot + moved + QPoint(0, 100)), backdropWindow);
    EXPECT_EQ(desktop.windowUnder(kPivot), backdropWindow);
    EXPECT_EQ(desktop.windowUnder(kPivot + moved), window);
    // The compass stays above the window it was shown over (xwininfo lists the
    // top of the stack first).
    const QStringList stack = desktop.run("xwininfo", {"-root", "-children"}).split('\n');
    const auto position = [&](qulonglong id) {
        const QString hex = QStringLiteral("0x%1").arg(id, 0, 16);
        for (qsizetype i = 0; i < stack.size(); ++i)
            if (stack[i].trimmed().startsWith(hex + u' '))
                return i;
        return qsizetype(-1);
    };
    EXPECT_LT(position(window), position(backdropWindow));
    EXPECT_GE(position(window), 0);
}

// A desktop whose window manager names itself as sway's: the compass places
// itself past it (override-redirect), where no window manager keeps it on top.
class PastTheWindowManagerTest : public WindowTest {
protected:
    PastTheWindowManagerTest() { backdropGeometry = {"1280x800+0+0", "wlroots wm"}; }
};

// sway 1.7 raises an X window it focuses to the top of the X server's stack,
// though it draws the compass above it; the X server then sent clicks on the
// compass to that window.
TEST_F(PastTheWindowManagerTest, AWindowRaisedOverTheCompassGoesBackBelowIt) {
    startShown();
    const qulonglong window = compassWindow(kPivot);
    ASSERT_NE(window, 0u);
    ASSERT_NE(window, backdropWindow);
    ASSERT_TRUE(desktop.run("xwininfo", {"-id", QString::number(window)})
                    .contains("Override Redirect State: yes"));
    desktop.run("xdotool", {"windowraise", QString::number(backdropWindow)});
    EXPECT_TRUE(waitFor([&] { return desktop.windowUnder(kPivot) == window; }));
    EXPECT_EQ(desktop.windowUnder(QPoint(900, 600)), backdropWindow);
}

// Our own boxes and dialogs are the exception: they stay above the compass.
TEST_F(PastTheWindowManagerTest, OurOwnDialogsStayAboveTheCompass) {
    PrivateBus bus;
    if (!bus.ok() || QStandardPaths::findExecutable("busctl").isEmpty())
        GTEST_SKIP() << "needs dbus-daemon and busctl";
    program.writeFile("Compass.ini", "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=560\r\n"
                                     "Y=370\r\nAngle=0\r\nMeasurement=200\r\n");
    start({}, bus.address());
    const QPoint pivot(586, 398);
    ASSERT_TRUE(compassShownAt(pivot));
    const qulonglong compass = compassWindow(pivot);
    ASSERT_NE(compass, 0u);
    QProcess busctl;
    QProcessEnvironment env = desktop.environment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    busctl.setProcessEnvironment(env);
    busctl.start("busctl", {"--user", "call", "Compass.VelmoraCompass", "/VelmoraCompass",
                            "Compass.IVelmoraCompass", "ShowCalibrationScreen"});
    busctl.waitForFinished(10000);
    qulonglong dialog = 0;
    ASSERT_TRUE(waitFor([&] {
        dialog = desktop.run("xdotool", {"search", "--onlyvisible", "--name", "^Configure"})
                     .section('\n', 0, 0)
                     .toULongLong();
        return dialog != 0;
    }));
    const QRect box = desktop.windowGeometry(dialog);
    ASSERT_TRUE(box.contains(pivot)) << "the dialog should cover the pivot";
    // Give the compass every chance to climb back over it.
    QThread::msleep(500);
    EXPECT_NE(desktop.windowUnder(pivot), compass);
}

// Without a compositing manager transparent pixels would show black: the
// window shows only its solid pixels, and keeps doing so as the compass moves.
class BareServerTest : public WindowTest {
protected:
    BareServerTest() : WindowTest(QSize(1280, 800), {}, false) {}
};

TEST_F(BareServerTest, OnlyTheSolidPixelsShowThroughADrag) {
    startShown();
    const qulonglong window = compassWindow(kPivot);
    ASSERT_NE(window, backdropWindow);
    const auto blackInWindow = [&] {
        const QImage shot = desktop.screenshot();
        const QRect r = desktop.windowGeometry(window).intersected(shot.rect());
        int black = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                black +=
                    qRed(shot.pixel(x, y)) + qGreen(shot.pixel(x, y)) + qBlue(shot.pixel(x, y)) <
                    24;
        return std::pair(black, r.width() * r.height());
    };
    const auto [before, area] = blackInWindow();
    EXPECT_LT(before, area / 50) << "of " << area;
    const QImage shot = desktop.screenshot();
    EXPECT_TRUE(isBackdrop(shot.pixel(kPivot + QPoint(0, 100))));
    EXPECT_FALSE(isBackdrop(shot.pixel(kPivot)));

    const QPoint moved(60, 0);
    desktop.drag(kSlide, kSlide + moved);
    ASSERT_TRUE(compassShownAt(kSlide + moved));
    const auto [after, areaAfter] = blackInWindow();
    EXPECT_LT(after, areaAfter / 50) << "of " << areaAfter;
    EXPECT_TRUE(isBackdrop(desktop.screenshot().pixel(kPivot + QPoint(0, 100))));
}

// A slide drag out and back is drawn frame by frame, each frame only what
// changed: back where it started, the hand still down, the screen shows the
// picture it started from.
TEST_F(WindowTest, ASlideDragOutAndBackEndsOnThePictureItStartedFrom) {
    startShown();
    const auto xdotool = [&](const QStringList& args) { desktop.run("xdotool", args); };
    const auto moveTo = [&](QPoint p) {
        xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())});
    };
    moveTo(kSlide);
    xdotool({"mousedown", "1"});
    QThread::msleep(300);
    const QImage pressed = desktop.screenshot();
    const auto walk = [&](QPoint from, QPoint to) {
        for (int i = 1; i <= 15; ++i)
            moveTo(from + (to - from) * i / 15);
    };
    walk(kSlide, kSlide + QPoint(30, 20));
    // The picture is seen to leave the start, so the one it settles to at the
    // end is the drag's and not the start still shown.
    ASSERT_TRUE(
        waitFor([&] { return pixelsApart(desktop.screenshot(), pressed, kAroundCompass) > 0; }));
    walk(kSlide + QPoint(30, 20), kSlide + QPoint(-40, 50));
    walk(kSlide + QPoint(-40, 50), kSlide);
    EXPECT_EQ(settlesTo(pressed), 0);
    xdotool({"mouseup", "1"});
    quit();
    EXPECT_EQ(saved("Measurement"), "150");
    EXPECT_EQ(savedDirection(), 0.0) << saved("Angle").toStdString();
}

TEST_F(WindowTest, TheWindowIsCreatedWhereItShows) {
    // weston's window manager places an X window where it was created and
    // moves it no more: created anywhere else, the compass shows off its place.
    QProcess watch;
    watch.setProcessEnvironment(desktop.environment());
    watch.start(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_createwatch"), {});
    ASSERT_TRUE(waitFor([&] { return watch.canReadLine(); }));
    startShown();
    const qulonglong window = compassWindow(kPivot);
    ASSERT_NE(window, backdropWindow);
    const QRect shown = desktop.windowGeometry(window);
    QRect created;
    waitFor([&] {
        while (watch.canReadLine()) {
            const QStringList f = QString::fromUtf8(watch.readLine()).simplified().split(u' ');
            if (f.size() == 6 && f[1].toULongLong() == window)
                created = QRect(f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5].toInt());
        }
        return !created.isNull();
    });
    EXPECT_EQ(created, shown);
    watch.kill();
    watch.waitForFinished(2000);
}

TEST_F(WindowTest, ABaseDragShowsThePivotFollowingThePointerNeverJumpingBack) {
    startShown();
    // The figure's left and top edges lie 150 pixels from the pivot: the
    // bounding box of everything that is not backdrop finds the pivot.
    const auto pivotOnScreen = [&] {
        const QImage shot = desktop.screenshot();
        int left = shot.width();
        int top = shot.height();
        for (int y = 0; y < shot.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
            for (int x = 0; x < shot.width(); ++x)
                if (!isBackdrop(line[x])) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                }
        }
        return QPoint(left, top) + QPoint(150, 150);
    };
    const QPoint start = pivotOnScreen();
    ASSERT_LE((start - kPivot).manhattanLength(), 2);
    desktop.run("xdotool", {"mousemove", QString::number(kPivot.x()), QString::number(kPivot.y()),
                            "mousedown", "1"});
    QPoint previous = start;
    for (int step = 1; step <= 8; ++step) {
        const QPoint pointer = kPivot + QPoint(45, 25) * step;
        desktop.run("xdotool",
                    {"mousemove", QString::number(pointer.x()), QString::number(pointer.y())});
        QThread::msleep(150);
        const QPoint seen = pivotOnScreen();
        EXPECT_GE(seen.x(), previous.x()) << "step " << step;
        EXPECT_GE(seen.y(), previous.y()) << "step " << step;
        EXPECT_LE((seen - (start + pointer - kPivot)).manhattanLength(), 2) << "step " << step;
        previous = seen;
    }
    desktop.run("xdotool", {"mouseup", "1"});
}

TEST_F(WindowTest, PackageOnTheCommandLineIsInstalledAndShown) {
    const QString package = program.path("Walnut.compassskin");
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANTA_BIN_DIR "/Walnut.compassskin"), package));
    startShown({package});
    EXPECT_TRUE(QFile::exists(program.path("skins/Walnut")));
    EXPECT_TRUE(program.readFile("Compass.ini").contains("skins/Walnut/"));
}

TEST_F(WindowTest, MinimisedStartWithoutATrayShowsTheCompass) {
    // A bare X server has no tray: hiding into one would strand the compass.
    startShown({"/m"});
}

TEST_F(WindowTest, BrokenPackageStopsTheStartWithItsMessage) {
    program.writeFile("Compass.ini", kOptions);
    QByteArray zip = program.readFile("Walnut.compassskin");
    if (zip.isEmpty()) {
        QFile f(QStringLiteral(ORVANTA_BIN_DIR "/Walnut.compassskin"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        zip = f.readAll();
    }
    // Flip a byte of the first entry's CRC in the central directory, where a
    // streamed archive keeps it: the entry no longer checks out.
    const qsizetype central = zip.indexOf("PK\x01\x02");
    ASSERT_GT(central, 0);
    zip[central + 16] = char(zip[central + 16] ^ 0x5a);
    program.writeFile("Broken.compassskin", zip);
    const QByteArray before = program.readFile("Compass.ini");

    compass.setProcessEnvironment(program.environment(desktop.environment()));
    compass.start(program.binary(), {program.path("Broken.compassskin")});
    ASSERT_TRUE(compass.waitForStarted(5000));
    // The message box waits for the user: answer it.
    QString box;
    ASSERT_TRUE(waitFor(
        [&] {
            box = desktop.run("xdotool", {"search", "--name", "Orvanta"}).section('\n', 0, 0);
            return !box.isEmpty();
        },
        8000));
    // A slow start (a sanitizer build, a loaded machine) may map the box before
    // it takes keys: answer until the program has gone.
    bool ended = false;
    for (int attempt = 0; attempt < 15 && !ended; ++attempt) {
        desktop.run("xdotool", {"windowfocus", "--sync", box});
        desktop.run("xdotool", {"key", "Return"});
        ended = compass.waitForFinished(1000);
    }
    ASSERT_TRUE(ended);
    EXPECT_NE(compass.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(compass.readAllStandardError()).contains("CRC Error in"));
    EXPECT_FALSE(QFile::exists(program.path("skins/Broken")));
    EXPECT_EQ(program.readFile("Compass.ini"), before);
}

TEST_F(WindowTest, MinimisedStartHidesIntoTheTrayAndSaysSoOnce) {
    PrivateBus bus;
    if (!bus.ok())
        GTEST_SKIP() << "needs dbus-daemon";
    QProcess tray;
    startTray(tray, bus.address());

    program.writeFile("Compass.ini", kOptions);
    start({"/m"}, bus.address());
    QString heard;
    const bool balloon = waitFor(
        [&] {
            heard += QString::fromUtf8(tray.readAll());
            return heard.contains("notify ");
        },
        8000);
    EXPECT_TRUE(heard.contains("item ")) << heard.toStdString();
    EXPECT_TRUE(balloon) << heard.toStdString();
    EXPECT_TRUE(heard.contains(
        QStringLiteral("notify Orvanta is still running|To show Orvanta, click this icon")))
        << heard.toStdString();
    QThread::msleep(500);
    EXPECT_TRUE(isBackdrop(desktop.screenshot().pixel(kPivot))); // hidden
    EXPECT_TRUE(program.readFile("Compass.ini").contains("ShowMinimizeBalloon=0"));
    tray.kill();
    tray.waitForFinished(2000);
}

TEST_F(WindowTest, IdleMeansIdle) {
    // With the pointer away and nothing moving, the only timer is the few-second
    // check for a compositing manager: the process sleeps in poll.
    if (QStandardPaths::findExecutable("strace").isEmpty())
        GTEST_SKIP() << "needs strace";
    startShown();
    desktop.run("xdotool", {"mousemove", "1100", "700"});
    QThread::msleep(3000); // let the start settle: first renders, hints, the leave event
    QProcess strace;
    strace.start("strace", {"-c", "-f", "-e", "trace=poll,ppoll,select,pselect6,epoll_wait", "-p",
                            QString::number(compass.processId())});
    ASSERT_TRUE(strace.waitForStarted(3000));
    QThread::msleep(10000);
    strace.terminate();
    ASSERT_TRUE(strace.waitForFinished(5000));
    const QString report = QString::fromUtf8(strace.readAllStandardError());
    // The summary's last line: "% time, seconds, usecs/call, calls, [errors], total".
    QStringList fields;
    for (const QString& line : report.split(u'\n'))
        if (line.trimmed().endsWith(u"total"))
            fields = line.simplified().split(u' ');
    ASSERT_GE(fields.size(), 5) << report.toStdString();
    const int calls = fields.at(3).toInt();
    // Every wake-up is one poll. A 10 ms timer alone would make a thousand; the
    // margin is for a loaded machine delivering late X events.
    EXPECT_LT(calls, 100) << report.toStdString();
}

TEST_F(WindowTest, TypedValueAndArithmeticMoveTheSlide) {
    startShown();
    ASSERT_TRUE(desktop.clickToFocus(kPivot, kTitle));
    desktop.run("xdotool", {"type", "--delay", "40", "250"});
    desktop.run("xdotool", {"key", "Return"});
    desktop.run("xdotool", {"type", "--delay", "40", "+50"});
    desktop.run("xdotool", {"key", "Return"});
    // The slide's lead is now 300 px right of the pivot (it was at 150).
    ASSERT_TRUE(compassShownAt(kPivot + QPoint(300, 0)));
    quit();
    EXPECT_EQ(saved("Measurement"), "300");
}

TEST_F(WindowTest, DraggingTheBaseMovesAndDraggingTheSlideOpensTheCompass) {
    startShown();
    const QPoint moved(100, 50);
    desktop.drag(kPivot, kPivot + moved);
    ASSERT_TRUE(compassShownAt(kSlide + moved));
    EXPECT_TRUE(waitFor([&] { return isBackdrop(desktop.screenshot().pixel(kPivot)); }));

    desktop.drag(kSlide + moved, kSlide + moved + QPoint(80, 0));
    ASSERT_TRUE(compassShownAt(kSlide + moved + QPoint(80, 0)));
    quit();
    EXPECT_EQ(saved("X"), "400");
    EXPECT_EQ(saved("Y"), "300");
    EXPECT_EQ(saved("Measurement"), "230");
    EXPECT_EQ(savedDirection(), 0.0) << saved("Angle").toStdString();
    EXPECT_TRUE(program.readFile("distances.ini").contains("UnitsCount"));
}

TEST_F(WindowTest, HoldingAControlRepeatsItsStepAndCarriesThePointer) {
    startShown();
    desktop.run("xdotool", {"mousemove", QString::number(kOutControl.x()),
                            QString::number(kOutControl.y()), "mousedown", "1"});
    QThread::msleep(1500);
    desktop.run("xdotool", {"mouseup", "1"});
    // The pointer rode along with the slide, one pixel a step.
    const QString where = desktop.run("xdotool", {"getmouselocation", "--shell"});
    const int x = where.section("X=", 1).section('\n', 0, 0).toInt();
    quit();
    const int spread = saved("Measurement").toInt();
    EXPECT_GT(spread, 160) << "one step at the press, then a step every few ms after 400 ms";
    EXPECT_EQ(x - kOutControl.x(), spread - 150);
}

TEST_F(WindowTest, CopyAndPasteGoThroughTheClipboard) {
    if (QStandardPaths::findExecutable("xclip").isEmpty())
        GTEST_SKIP() << "needs xclip";
    startShown();
    ASSERT_TRUE(desktop.clickToFocus(kPivot, kTitle));
    desktop.run("xdotool", {"key", "ctrl+c"});
    QString copied;
    EXPECT_TRUE(waitFor([&] {
        copied = desktop.run("xclip", {"-o", "-selection", "clipboard"});
        return !copied.isEmpty();
    }));
    EXPECT_EQ(copied, "150");

    const auto owner = desktop.ownClipboard("12.5");
    ASSERT_TRUE(owner);
    desktop.run("xdotool", {"key", "ctrl+v", "q"});
    ASSERT_TRUE(compass.waitForFinished(8000));
    EXPECT_EQ(saved("Measurement"), "12");
    owner->kill();
    owner->waitForFinished(2000);
}

TEST_F(WindowTest, HoveringAndPressingAControlChangeItsLookAndTheCursor) {
    startShown();
    const QString img = program.path("img");
    const auto cursor = [&] {
        return desktop.run(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_cursorprobe"), {img}).trimmed();
    };
    const auto look = [&] {
        return desktop.screenshot().copy(QRect(kMeasureSelector - QPoint(7, 7), QSize(14, 14)));
    };
    const auto moveTo = [&](QPoint p) {
        desktop.run("xdotool", {"mousemove", QString::number(p.x()), QString::number(p.y())});
    };

    // An active compass is drawn brighter: make it active before taking its looks.
    ASSERT_TRUE(desktop.clickToFocus(kPivot, kTitle));
    EXPECT_TRUE(waitFor([&] { return cursor() == "hand.ani"; })) << cursor().toStdString();
    QThread::msleep(300);
    const QImage normal = look();

    moveTo(kMeasureSelector);
    EXPECT_TRUE(waitFor([&] { return cursor() == "pointer.ani"; })) << cursor().toStdString();
    EXPECT_TRUE(waitFor([&] { return look() != normal; })) << "no hover look";
    const QImage hover = look();

    desktop.run("xdotool", {"mousedown", "1"});
    EXPECT_TRUE(waitFor([&] { return cursor() == "down.ani"; })) << cursor().toStdString();
    EXPECT_TRUE(waitFor([&] { return look() != hover && look() != normal; })) << "no pressed look";
    // Let go away from the control: it does nothing, and every look returns.
    moveTo(kPivot);
    desktop.run("xdotool", {"mouseup", "1"});
    EXPECT_TRUE(waitFor([&] { return look() == normal; })) << "a look stayed";
    EXPECT_TRUE(waitFor([&] { return cursor() == "hand.ani"; })) << cursor().toStdString();
}

// Two RandR monitors of different physical sizes side by side: 640 px across
// 169 mm (96.2 px/in) and across 110 mm (147.8 px/in). The readout in
// centimetres changes as the compass crosses; the calibration dialog, driven
// by keys, stores the monitor's new density and the readout follows it.
TEST_F(WindowTest, CentimetresFollowEachMonitorAndItsCalibration) {
    desktop.run("xrandr", {"--setmonitor", "LEFT", "640/169x800/211+0+0", "none"});
    desktop.run("xrandr", {"--setmonitor", "RIGHT", "640/110x800/137+640+0", "none"});
    QByteArray units = program.readFile("distances.ini");
    units.replace("SelectedUnit=0", "SelectedUnit=2"); // centimetres
    program.writeFile("distances.ini", units);
    startShown();
    // The names of every window showing centimetres: the compass window's
    // title carries the readout and the unit.
    const auto title = [&] {
        QStringList names;
        for (const QString& id :
             desktop.run("xdotool", {"search", "--name", "Centimetres"}).split('\n'))
            if (!id.trimmed().isEmpty())
                names << desktop.run("xdotool", {"getwindowname", id.trimmed()}).trimmed();
        return names.join(" | ");
    };
    EXPECT_TRUE(waitFor([&] { return title().contains("Compass 3.96 Centimetres"); }))
        << title().toStdString();

    const QPoint right = kPivot + QPoint(640, 0);
    desktop.drag(kPivot, right);
    EXPECT_TRUE(waitFor([&] { return title().contains("Compass 2.58 Centimetres"); }))
        << title().toStdString();

    desktop.click(right, 3);
    QThread::msleep(500);
    desktop.run("xdotool", {"key", "Down", "Down", "Return"}); // "Calibrate this screen…"
    ASSERT_TRUE(waitFor([&] {
        return !desktop.run("xdotool", {"search", "--name", "Calibrate this screen"}).isEmpty();
    }));
    QThread::msleep(300);
    for (int i = 0; i < 10; ++i)
        desktop.run("xdotool", {"key", "Right"}); // the card's right edge, 1 px a press
    desktop.run("xdotool", {"key", "Return"});
    // 10 px more across an 85.60 mm card: 147.78 + 10 * 25.4 / 85.6 px/in.
    EXPECT_TRUE(waitFor([&] { return title().contains("Compass 2.53 Centimetres"); }))
        << title().toStdString();
    const QString stored = QString::fromUtf8(program.readFile("calibration.ini"));
    EXPECT_TRUE(stored.contains("Connector=RIGHT\r\n")) << stored.toStdString();
    const double across = stored.section("PixelsPerInchX=", 1).section("\r\n", 0, 0).toDouble();
    EXPECT_NEAR(across, 640 * 25.4 / 110 + 10 * 25.4 / 85.6, 0.01);
    quit();
}

namespace {

// Three 4K monitors side by side as one screen.
class WideWindowTest : public WindowTest {
protected:
    WideWindowTest() : WindowTest(QSize(11520, 2160)) {}
};

} // namespace

TEST_F(WideWindowTest, TheLongestSpreadsDrawTheWholeFigureAndTheSlide) {
    // The largest circle the screen shows whole, then a spread across all three
    // monitors, at which the window is as large as the desktop.
    struct Case {
        QPoint pivot;
        int spread;
    };
    const Case cases[] = {{{5760, 1080}, 1070}, {{300, 1080}, 11000}};
    for (const Case& c : cases) {
        const QPoint position = c.pivot - QPoint(26, 28);
        program.writeFile("Compass.ini",
                          QStringLiteral("[Options]\r\nFirstTime=0\r\nHideSplash=1\r\n"
                                         "X=%1\r\nY=%2\r\nAngle=0\r\n"
                                         "Measurement=%3\r\n")
                              .arg(position.x())
                              .arg(position.y())
                              .arg(c.spread)
                              .toUtf8());
        start();
        const QPoint slide = c.pivot + QPoint(c.spread, 0);
        ASSERT_TRUE(compassShownAt(slide)) << c.spread;
        QThread::msleep(500);
        const QImage shot = desktop.screenshot();
        ASSERT_EQ(shot.size(), QSize(11520, 2160)); // else every pixel below is "off screen"
        // The circle, wherever it lies on the screen, within a pixel.
        int missing = 0;
        int onScreen = 0;
        for (int i = 0; i < 3600; ++i) {
            const double t = i * M_PI / 1800.0;
            const QPoint p(int(std::lround(c.pivot.x() + c.spread * std::cos(t))),
                           int(std::lround(c.pivot.y() + c.spread * std::sin(t))));
            if (!QRect(1, 1, shot.width() - 2, shot.height() - 2).contains(p))
                continue;
            ++onScreen;
            bool drawn = false;
            for (int dy = -1; dy <= 1 && !drawn; ++dy)
                for (int dx = -1; dx <= 1 && !drawn; ++dx)
                    drawn = !isBackdrop(shot.pixel(p + QPoint(dx, dy)));
            missing += !drawn;
        }
        EXPECT_EQ(missing, 0) << "of " << onScreen << " at spread " << c.spread;
        // The bar runs from the pivot to the slide.
        for (int x = c.pivot.x() + 40; x < slide.x(); x += 97)
            EXPECT_FALSE(isBackdrop(shot.pixel(x, c.pivot.y()))) << x << " at spread " << c.spread;
        quit();
    }
}

namespace {

// The program under openbox: the hints a window manager reads.
class ManagedWindowTest : public WindowTest {
protected:
    ManagedWindowTest() : WindowTest(QSize(1280, 800), QStringLiteral("openbox")) {
        // A column short of the screen: openbox would take the backdrop for a
        // full-screen window and put it above the compass once focused.
        backdropGeometry = QStringList{"1279x800+0+0"};
    }

    // The compass window's properties as xprop prints them.
    [[nodiscard]] QString properties(qulonglong window) const {
        return desktop.run("xprop", {"-id", QString::number(window), "_NET_WM_STATE",
                                     "_NET_WM_WINDOW_TYPE", "WM_TRANSIENT_FOR"});
    }

    // The compass's own window, inside the frame openbox gives it.
    [[nodiscard]] qulonglong clientWindow() const {
        return desktop.run("xdotool", {"search", "--name", "^" + kTitle})
            .section('\n', 0, 0)
            .toULongLong();
    }

    // Calls the compass's automation interface with busctl.
    void automation(const QString& busAddress, const QStringList& args) const {
        QProcess busctl;
        QProcessEnvironment env = desktop.environment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        busctl.setProcessEnvironment(env);
        busctl.start("busctl", QStringList{"--user"} + args);
        ASSERT_TRUE(busctl.waitForFinished(10000));
        ASSERT_EQ(busctl.exitCode(), 0) << busctl.readAllStandardError().toStdString();
    }
};

const QStringList kCompassObject{"Compass.VelmoraCompass", "/VelmoraCompass",
                                 "Compass.IVelmoraCompass"};

} // namespace

TEST_F(ManagedWindowTest, StaysOnTopOutOfTheTaskbarThroughTogglesAndTheTray) {
    PrivateBus bus;
    if (!bus.ok() || QStandardPaths::findExecutable("busctl").isEmpty())
        GTEST_SKIP() << "needs dbus-daemon and busctl";
    // A tray to hide into, so that hiding does not end the program.
    QProcess tray;
    startTray(tray, bus.address());

    program.writeFile("Compass.ini", kOptions);
    start({}, bus.address());
    ASSERT_TRUE(compassShownAt(kPivot));
    const qulonglong window = clientWindow();
    ASSERT_NE(window, 0u);
    const auto hasState = [&](bool above) {
        return waitFor([&] {
            const QString p = properties(window);
            return p.contains("_NET_WM_STATE_SKIP_TASKBAR") &&
                   p.contains("_NET_WM_STATE_SKIP_PAGER") &&
                   p.contains("_NET_WM_STATE_ABOVE") == above;
        });
    };
    EXPECT_TRUE(hasState(true)) << properties(window).toStdString();
    const QString shown = properties(window);
    // Nothing a window manager warns about: Qt's legacy KDE state and a
    // transient-for pointing at Qt's unmapped leader window.
    EXPECT_FALSE(shown.contains("_NET_WM_STATE_STAYS_ON_TOP")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("WM_TRANSIENT_FOR:  not found")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL\n"))
        << shown.toStdString();

    automation(bus.address(), QStringList{"set-property"} + kCompassObject +
                                  QStringList{"StayOnTop", "b", "false"});
    EXPECT_TRUE(hasState(false)) << properties(window).toStdString();
    automation(bus.address(), QStringList{"set-property"} + kCompassObject +
                                  QStringList{"StayOnTop", "b", "true"});
    EXPECT_TRUE(hasState(true)) << properties(window).toStdString();
    // The toggle keeps the native window.
    EXPECT_EQ(clientWindow(), window);

    // A window manager drops the state of a window it withdraws; the compass
    // sets it again when it comes back from the tray.
    automation(bus.address(), QStringList{"call"} + kCompassObject + QStringList{"Hide"});
    ASSERT_TRUE(waitFor([&] { return isBackdrop(desktop.screenshot().pixel(kPivot)); }));
    automation(bus.address(), QStringList{"call"} + kCompassObject + QStringList{"UnHide"});
    ASSERT_TRUE(compassShownAt(kPivot));
    const qulonglong again = clientWindow();
    ASSERT_NE(again, 0u);
    EXPECT_TRUE(waitFor([&] {
        const QString p = properties(again);
        return p.contains("_NET_WM_STATE_SKIP_TASKBAR") && p.contains("_NET_WM_STATE_ABOVE");
    })) << properties(again).toStdString();
    tray.kill();
    tray.waitForFinished(2000);
}

// Every window the program opens, a message box over a dialog too, stacks
// above the compass over the screen's centre and takes the keyboard.
TEST_F(ManagedWindowTest, EveryBoxAndDialogOpensAboveTheCompassWithTheKeyboard) {
    PrivateBus bus;
    if (!bus.ok() || QStandardPaths::findExecutable("busctl").isEmpty())
        GTEST_SKIP() << "needs dbus-daemon and busctl";
    program.writeFile("Compass.ini", "[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=560\r\n"
                                     "Y=370\r\nAngle=0\r\nMeasurement=200\r\n");
    program.writeFile("bad.compassskin", "not a zip");
    start({}, bus.address());
    ASSERT_TRUE(compassShownAt(QPoint(586, 398)));
    const qulonglong compass = clientWindow();
    ASSERT_NE(compass, 0u);
    const auto call = [&](const QStringList& args) {
        QProcess busctl;
        QProcessEnvironment env = desktop.environment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
        busctl.setProcessEnvironment(env);
        busctl.start("busctl", QStringList{"--user", "call", "Compass.VelmoraCompass"} + args);
        busctl.waitForFinished(10000); // a refused package answers with an error
    };
    // The client windows from the bottom of the stack to the top.
    const auto stacking = [&] {
        QList<qulonglong> ids;
        const QString list = desktop.run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"});
        for (const QString& id : list.section(u'#', 1).split(u','))
            ids << id.trimmed().toULongLong(nullptr, 16);
        return ids;
    };
    const auto active = [&] {
        return desktop.run("xprop", {"-root", "_NET_ACTIVE_WINDOW"})
            .section(u'#', 1)
            .section(u',', 0, 0)
            .trimmed()
            .toULongLong(nullptr, 16);
    };
    const auto shown = [&](const QString& title) {
        qulonglong id = 0;
        waitFor([&] {
            id = desktop.run("xdotool", {"search", "--onlyvisible", "--name", title})
                     .section('\n', 0, 0)
                     .toULongLong();
            return id != 0;
        });
        return id;
    };

    const struct {
        const char* title;
        QStringList call;
    } cases[] = {
        {"^Help", {"/VelmoraCompass", "Compass.IVelmoraCompass", "ShowHelp"}},
        {"^Configure custom units",
         {"/VelmoraCompass", "Compass.IVelmoraCompass", "ShowCalibrationScreen"}},
        // A package error while the units dialog is open: above both.
        {"^Orvanta$",
         {"/Orvanta", "Compass.IOrvantaLauncher", "InstallPackages", "as", "1",
          program.path("bad.compassskin")}},
    };
    QList<qulonglong> below{compass};
    for (const auto& c : cases) {
        call(c.call);
        const qulonglong box = shown(QString::fromLatin1(c.title));
        ASSERT_NE(box, 0u) << c.title;
        EXPECT_TRUE(waitFor([&] {
            const QList<qulonglong> stack = stacking();
            const qsizetype at = stack.indexOf(box);
            return std::all_of(below.begin(), below.end(),
                               [&](qulonglong w) { return stack.indexOf(w) < at; }) &&
                   active() == box;
        })) << c.title
            << ": stack "
            << desktop.run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"}).toStdString() << "box "
            << box << " compass " << compass << " active " << active();
        EXPECT_TRUE(QRect(0, 0, 1280, 800).contains(desktop.windowGeometry(box))) << c.title;
        if (QByteArray(c.title) == "^Help")
            desktop.run("xdotool", {"key", "Escape"}); // the keyboard is the help's
        else
            below << box;
    }
}

// A drag frame put from shared memory waits until the server has read the
// last one out of the segment: with the server held by another client, the
// next put returns only once it is let go, and the window shows that frame.
TEST(SharedMemoryFrames, WaitForTheServerToReadTheLastOne) {
    VirtualDesktop desktop;
    if (!desktop.installed())
        GTEST_SKIP() << "needs Xvfb";
    ASSERT_TRUE(desktop.ok());
    EXPECT_EQ(desktop.run(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_pixelsprobe"), {}).trimmed(),
              QStringLiteral("waited 1 shown 0000ff"));
}

namespace {

bool near(QRgb a, QRgb b, int by) {
    return qAbs(qRed(a) - qRed(b)) <= by && qAbs(qGreen(a) - qGreen(b)) <= by &&
           qAbs(qBlue(a) - qBlue(b)) <= by;
}

bool hatched(QRgb c) {
    return near(c, qRgb(96, 96, 96), 1) || near(c, qRgb(128, 128, 128), 1);
}

// The middle of the loupe's picture: its window is 240 wide, the picture
// 161 across in the middle of the top.
QPoint loupeCentre(const VirtualDesktop& desktop) {
    const qulonglong id =
        desktop.run("xdotool", {"search", "--name", "^Orvanta loupe$"}).trimmed().toULongLong();
    return desktop.windowGeometry(id).topLeft() + QPoint((240 - 161) / 2 + 80, 80);
}

} // namespace

// The loupe beside the slide's tip during a drag: its crosshair shows the
// pixel beneath the tip (a spot of its own colour on the backdrop), each cell
// shows what lies beneath and never the compass, and its zoom is kept.
TEST_F(WindowTest, TheLoupeShowsWhatLiesBeneathTheTipAndNeverTheCompass) {
    // Where the drag below leaves the tip (turning it, the slide's grab point
    // stays under the pointer), and a spot of another colour there, clear of
    // the slide and its readout before the drag.
    const QPoint tip = kSlide + QPoint(0, 40);
    constexpr QRgb kSpot = 0xffe0c020;
    QProcess spot;
    spot.setProcessEnvironment(desktop.environment());
    spot.start(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_backdrop"),
               {QStringLiteral("#e0c020"), QStringLiteral("1x1+%1+%2").arg(tip.x()).arg(tip.y())});
    ASSERT_TRUE(waitFor([&] { return spot.canReadLine(); }));
    program.writeFile("Compass.ini", QByteArray(kOptions) + "Loupe=1\r\nLoupeZoom=8\r\n");
    start();
    ASSERT_TRUE(compassShownAt(kPivot));
    desktop.run("xdotool", {"mousemove", QString::number(kSlide.x()), QString::number(kSlide.y())});
    desktop.run("xdotool", {"mousedown", "1"});
    for (int i = 1; i <= 8; ++i)
        desktop.run("xdotool", {"mousemove", QString::number(kSlide.x()),
                                QString::number(kSlide.y() + i * 5)});
    // The loupe's window is 240 wide, its picture 161 across in the middle of
    // the top.
    QPoint centre;
    QImage shot;
    ASSERT_TRUE(waitFor([&] {
        centre = loupeCentre(desktop);
        shot = desktop.screenshot();
        return near(shot.pixel(centre), kSpot, 2);
    })) << "the crosshair shows "
        << std::hex << shot.pixel(centre);
    // Zoomed out and in after the drag: the loupe looks again and again with
    // the compass at rest. Every cell off the crosshair's row and column shows the backdrop
    // or the hatching of a pixel never seen, never the compass's own colours.
    desktop.run("xdotool", {"mouseup", "1"});
    for (const char* key : {"bracketright", "bracketleft", "bracketright"}) {
        desktop.run("xdotool", {"key", key});
        QThread::msleep(300);
    }
    QThread::msleep(500);
    centre = loupeCentre(desktop);
    shot = desktop.screenshot();
    EXPECT_TRUE(near(shot.pixel(centre), kSpot, 2)) << std::hex << shot.pixel(centre);
    int seen = 0, covered = 0;
    for (int dy = -5; dy <= 5; ++dy)
        for (int dx = -5; dx <= 5; ++dx) {
            if (dx == 0 || dy == 0 || dx * dx + dy * dy > 25) // within the disc
                continue;
            const QRgb c = shot.pixel(centre + QPoint(dx, dy) * 12);
            EXPECT_TRUE(near(c, kBackdrop, 2) || hatched(c))
                << dx << "," << dy << ": " << std::hex << c;
            ++(hatched(c) ? covered : seen);
        }
    EXPECT_GT(seen, 0);
    EXPECT_GT(covered, 0);
    quit();
    EXPECT_EQ(saved("LoupeZoom"), "12");
    EXPECT_EQ(saved("Loupe"), "1");
    spot.kill();
    spot.waitForFinished(3000);
}

// The loupe with the compass at rest: at start and after the tip jumped (F
// turns the beam to 45 degrees), the slide's panel covers all the loupe shows
// at 8x, yet it shows the patch that lay there before the compass came.
TEST_F(WindowTest, TheLoupeAtRestShowsWhatLayBeneathTheTipBeforeTheCompassCame) {
    // A patch of its own colour where the tip stands at start, another where
    // F turns it to.
    const struct {
        QPoint tip;
        QRgb colour;
        const char* key;
    } rests[] = {{kSlide, 0xffe0c020, nullptr}, {kPivot + QPoint(106, 106), 0xff20c0e0, "f"}};
    std::vector<std::unique_ptr<QProcess>> patches;
    for (const auto& rest : rests) {
        auto& patch = patches.emplace_back(std::make_unique<QProcess>());
        patch->setProcessEnvironment(desktop.environment());
        patch->start(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_backdrop"),
                     {QColor(rest.colour).name(),
                      QStringLiteral("11x11+%1+%2").arg(rest.tip.x() - 5).arg(rest.tip.y() - 5)});
        ASSERT_TRUE(waitFor([&] { return patch->canReadLine(); }));
    }
    program.writeFile("Compass.ini", QByteArray(kOptions) + "Loupe=1\r\nLoupeZoom=8\r\n");
    start();
    ASSERT_TRUE(compassShownAt(kPivot));
    for (const auto& rest : rests) {
        if (rest.key) {
            const QString window =
                desktop.run("xdotool", {"search", "--name", "^" + kTitle}).section('\n', 0, 0);
            desktop.run("xdotool", {"windowfocus", "--sync", window});
            desktop.run("xdotool", {"key", rest.key});
        }
        // Cells on a diagonal: clear of the crosshair's lines and of the
        // figure's circle through the tip.
        QImage shot;
        QPoint centre;
        ASSERT_TRUE(waitFor([&] {
            centre = loupeCentre(desktop);
            shot = desktop.screenshot();
            for (const QPoint cell : {QPoint(3, 3), QPoint(-3, -3), QPoint(2, 2), QPoint(-2, -2)})
                if (!near(shot.pixel(centre + cell * 8), rest.colour, 2))
                    return false;
            return true;
        })) << (rest.key ? "after the jump" : "at start")
            << " a cell shows " << std::hex << shot.pixel(centre + QPoint(3, 3) * 8);
    }
    for (auto& patch : patches) {
        patch->kill();
        patch->waitForFinished(3000);
    }
}
