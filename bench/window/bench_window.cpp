// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The window's side of a frame: from a change of the compass state to the
// update flushed to the X server, on a real X server (run it through
// tools/bench-window.sh, which starts Xvfb with xcompmgr at the desktop size
// asked for). Beside it, the same frames pushed the way a window over the whole
// desktop pushes them, so that every run shows both.
#include "app/compasswindow.h"
#include "platform/autostart.h"
#include "platform/windowmanagerhints.h"
#include "platform/windowpixels.h"
#include "platform/x11shape.h"
#include "render/geometry.h"
#include "render/windowimage.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QtMath>
#include <benchmark/benchmark.h>
#include <cmath>
#include <fstream>
#include <map>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

using namespace orvanta;

namespace {

constexpr double kSpreadWobble = 3.0;
constexpr double kTurnPerFrame = 0.7;
// A hand's moves come a frame of a 60 Hz screen apart.
constexpr int kMoveMs = 16;

struct QuietSink : MessageSink {
    void showMessage(const QString& text) override { qWarning("%s", qPrintable(text)); }
};
struct NoAutostart : Autostart {
    bool setRunAtStart(bool, const QString&) override { return true; }
};

// A drag happens on the compass the user pressed, which is then the active
// window, drawn at full opacity.
void activate(QWidget& w) {
    w.activateWindow();
    for (int i = 0; i < 200 && !w.isActiveWindow(); ++i) {
        QApplication::processEvents();
        QThread::msleep(5);
    }
    if (!w.isActiveWindow())
        qWarning("the window did not become active: frames are drawn at the inactive opacity");
}

// The sequence number of the last request sent: the requests between two
// syncs are the difference, less the sync itself.
unsigned int gLastRequest = 0;

// Waits until the X server has handled everything sent so far.
void syncWithServer() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    xcb_connection_t* c = x11->connection();
    const xcb_get_input_focus_cookie_t cookie = xcb_get_input_focus(c);
    gLastRequest = cookie.sequence;
    free(xcb_get_input_focus_reply(c, cookie, nullptr));
}

// The CPU time another process spent on all its threads, from the scheduler's
// own accounting (nanoseconds): the X server's and the compositor's share of a
// frame, which the frame's wall time shows only where they held it up.
// tools/bench-window.sh names their process ids in the environment.
class ProcessClock {
public:
    explicit ProcessClock(const char* variable) : m_pid(qEnvironmentVariableIntValue(variable)) {}
    [[nodiscard]] bool known() const { return m_pid > 0; }
    [[nodiscard]] double seconds() const {
        double total = 0.0;
        QDirIterator tasks(QStringLiteral("/proc/%1/task").arg(m_pid),
                           QDir::Dirs | QDir::NoDotAndDotDot);
        while (tasks.hasNext()) {
            std::ifstream in((tasks.next() + QStringLiteral("/schedstat")).toStdString());
            double ns = 0.0;
            if (in >> ns)
                total += ns;
        }
        return total * 1e-9;
    }

private:
    int m_pid;
};

// The window's frames put past Qt's backing store (shared memory), counted as
// the frames Qt paints are.
struct CountedPixels : WindowPixels {
    bool put(WId window, const QImage& image, const QRegion& region) override {
        if (!shared.put(window, image, region))
            return false;
        for (const QRect& r : region& image.rect()) {
            ++rects;
            pixels += qint64(r.width()) * r.height();
        }
        return true;
    }
    X11WindowPixels shared;
    qint64 rects = 0;
    qint64 pixels = 0;
};
CountedPixels* gPixels = nullptr;

// Counts, per frame, what the other processes spent, the requests sent to the
// X server, and what the window painted and flushed or put: its rectangles
// (one image put to the server each) and their pixels.
class FrameTally : public QObject {
public:
    explicit FrameTally(benchmark::State& st)
        : m_state(st), m_firstRequest(gLastRequest), m_putRects(gPixels ? gPixels->rects : 0),
          m_putPixels(gPixels ? gPixels->pixels : 0) {
        m_server = m_serverClock.seconds();
        m_compositor = m_compositorClock.seconds();
    }
    ~FrameTally() override {
        const auto perFrame = benchmark::Counter::kAvgIterations;
        if (m_serverClock.known())
            m_state.counters["server_ms"] =
                benchmark::Counter((m_serverClock.seconds() - m_server) * 1e3, perFrame);
        if (m_compositorClock.known())
            m_state.counters["compositor_ms"] =
                benchmark::Counter((m_compositorClock.seconds() - m_compositor) * 1e3, perFrame);
        if (gPixels) {
            m_rects += gPixels->rects - m_putRects;
            m_pixels += gPixels->pixels - m_putPixels;
        }
        m_state.counters["rects"] = benchmark::Counter(double(m_rects), perFrame);
        // Every frame ends with one request of its own, the sync.
        m_state.counters["requests"] = benchmark::Counter(
            double(gLastRequest - m_firstRequest) - double(m_state.iterations()), perFrame);
        m_state.counters["painted_px"] = benchmark::Counter(double(m_pixels), perFrame);
    }
    FrameTally(const FrameTally&) = delete;
    FrameTally& operator=(const FrameTally&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
                ++m_rects;
                m_pixels += qint64(r.width()) * r.height();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    benchmark::State& m_state;
    ProcessClock m_serverClock{"ORVANTA_BENCH_SERVER_PID"};
    ProcessClock m_compositorClock{"ORVANTA_BENCH_COMPOSITOR_PID"};
    unsigned int m_firstRequest;
    qint64 m_putRects;
    qint64 m_putPixels;
    double m_server = 0.0;
    double m_compositor = 0.0;
    qint64 m_rects = 0;
    qint64 m_pixels = 0;
};

// A program folder of its own, so the bench never writes beside the build.
QString copyProgramFolder(const QTemporaryDir& dir) {
    const QDir from(QStringLiteral(ORVANTA_BIN_DIR));
    for (const QString& rel : {QStringLiteral("default"), QStringLiteral("img")}) {
        QDirIterator it(from.filePath(rel), QDir::Files);
        QDir().mkpath(dir.filePath(rel));
        while (it.hasNext()) {
            const QString f = it.next();
            QFile::copy(f, dir.filePath(rel + u'/' + QFileInfo(f).fileName()));
        }
    }
    QFile::copy(from.filePath("distances.ini"), dir.filePath("distances.ini"));
    QFile f(dir.filePath("Compass.ini"));
    f.open(QIODevice::WriteOnly);
    f.write("[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=900\r\nY=500\r\n");
    return dir.path() + u'/';
}

class Window {
public:
    Window() : m_folder(copyProgramFolder(m_dir)) {
        gPixels = &m_pixels;
        m_window = std::make_unique<CompassWindow>(
            CompassWindowDeps{ProgramPaths::portableIn(m_folder), m_folder + "orvanta", m_sink,
                              m_autostart, m_shape, m_hints, false, nullptr, &m_pixels});
        m_window->show();
        activate(*m_window);
    }
    ~Window() { gPixels = nullptr; }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    CompassWindow& operator*() { return *m_window; }

private:
    QTemporaryDir m_dir;
    QString m_folder;
    QuietSink m_sink;
    NoAutostart m_autostart;
    X11DesktopShape m_shape;
    X11WindowManagerHints m_hints;
    CountedPixels m_pixels;
    std::unique_ptr<CompassWindow> m_window;
};

// Made in main after the application object and gone before it.
Window* gWindow = nullptr;

Window& window() {
    return *gWindow;
}

// Today's window: a translucent window over the whole virtual desktop, drawn
// from the same layers into a desktop-sized image over the compass's last and
// new bounds, its input shape scanned from the compass's bounds. The layers are
// placed by the compass window's own render, whose (small) drawing is counted
// here too.
class DesktopWindow : public QWidget {
public:
    explicit DesktopWindow(const QRect& desktop)
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(desktop);
        m_image.setRect(QRect(QPoint(0, 0), desktop.size()));
    }

    void push(const LayerStack& layers, int alpha) {
        const QRect now = layerBounds(layers).adjusted(-1, -1, 1, 1) & QRect(QPoint(0, 0), size());
        const QRegion dirty = QRegion(m_shown) + now;
        m_shown = now;
        m_image.redraw(layers, dirty, alpha);
        setInputShape(winId(), alphaRuns(m_image.image(), now, 1));
        update(dirty);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& r : event->region())
            p.drawImage(r.topLeft(), m_image.image(), r);
    }

private:
    WindowImage m_image;
    QRect m_shown;
};

void flushAndSync();

// A hand dragging the compass, through the window's own mouse events: the
// button pressed on a part, then one pointer move per frame. A move carries
// its screen position as the X server's events do; QTest's moves would ask
// the server for it, a round trip a frame that no user's move makes.
class Hand {
public:
    explicit Hand(CompassWindow& w) : m_window(w) {}
    ~Hand() { QTest::mouseRelease(m_window.windowHandle(), Qt::LeftButton, {}, local(m_at)); }
    Hand(const Hand&) = delete;
    Hand& operator=(const Hand&) = delete;

    void press(QPointF screen) {
        m_at = screen.toPoint();
        QTest::mousePress(m_window.windowHandle(), Qt::LeftButton, {}, local(m_at));
    }
    void moveTo(QPointF screen) {
        m_at = screen.toPoint();
        QTest::lastMouseTimestamp += kMoveMs;
        qt_handleMouseEvent(m_window.windowHandle(), local(m_at), m_at, Qt::LeftButton,
                            Qt::NoButton, QEvent::MouseMove, {}, QTest::lastMouseTimestamp);
    }

private:
    [[nodiscard]] QPoint local(QPoint screen) const {
        return screen - m_window.geometry().topLeft();
    }

    CompassWindow& m_window;
    QPoint m_at;
};

// The compass's pivot on the screen.
QPointF pivotOnScreen(CompassController& c) {
    const CompassState& s = c.state();
    return c.layers().baseLayer->pivot + QPointF(s.posX, s.posY) +
           QPointF(QGuiApplication::primaryScreen()->virtualGeometry().topLeft());
}

// Where the pointer is at `frame` of a slide drag: on the beam at the spread,
// wobbling by a few pixels and, when `turning`, turning a little each frame,
// as a hand dragging the slide does.
QPointF slidePointer(QPointF pivot, double spread, bool turning, int frame) {
    const double radius = spread + ((frame & 1) ? kSpreadWobble : 0.0);
    const double angle = turning ? qDegreesToRadians(kTurnPerFrame * frame) : 0.0;
    return pivot + QPointF(radius * std::cos(angle), -radius * std::sin(angle));
}

// The compass back in the middle of the screen at angle 0 and the spread a
// benchmark asks for, drawn. A figure that reaches past the desktop's edge
// keeps its window there, which is another case.
void resetCompass(CompassWindow& w, double spread) {
    w.controller().centreOnScreen();
    CompassState& s = w.controller().model().state;
    s.angle = 0.0f;
    s.measurement = float(spread);
    s.needsRepaint = true;
    w.idleUpdate();
    flushAndSync();
}

// With ORVANTA_BENCH_SHOWN=1 a frame ends only once the compositor has drawn
// the screen again after it: the root window, where the compositor paints,
// reported damaged (the DAMAGE extension, spoken directly: its client
// library is not a build dependency). Otherwise a compositor that falls
// behind paints many frames at once, and a frame's cost depends on whether
// it did.
class ScreenWatch : public QAbstractNativeEventFilter {
public:
    ScreenWatch() {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        m_connection = x11 ? x11->connection() : nullptr;
        if (!m_connection)
            return;
        const xcb_query_extension_reply_t* damage =
            xcb_get_extension_data(m_connection, &m_damageExtension);
        if (!damage || !damage->present)
            return;
        m_firstEvent = damage->first_event;
        struct {
            std::uint8_t major, minor;
            std::uint16_t length;
            std::uint32_t clientMajor, clientMinor;
        } version{0, 0, 0, 1, 1};
        free(xcb_wait_for_reply(m_connection, send(kQueryVersion, &version, sizeof version, false),
                                nullptr));
        m_damage = xcb_generate_id(m_connection);
        struct {
            std::uint8_t major, minor;
            std::uint16_t length;
            std::uint32_t damage, drawable;
            std::uint8_t level, pad[3];
        } create{0,
                 0,
                 0,
                 m_damage,
                 xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root,
                 kReportNonEmpty,
                 {}};
        send(kCreate, &create, sizeof create, true);
        QAbstractEventDispatcher::instance()->installNativeEventFilter(this);
        forget();
    }
    ~ScreenWatch() override {
        if (m_damage)
            QAbstractEventDispatcher::instance()->removeNativeEventFilter(this);
    }
    ScreenWatch(const ScreenWatch&) = delete;
    ScreenWatch& operator=(const ScreenWatch&) = delete;

    [[nodiscard]] bool active() const { return m_damage != 0; }

    // Waits until the screen was painted since the last wait, a second at
    // most, and starts watching for the next paint.
    void wait() {
        QApplication::processEvents();
        if (!m_painted) {
            QEventLoop loop;
            QTimer::singleShot(kPatienceMs, &loop, &QEventLoop::quit);
            m_waiting = &loop;
            loop.exec();
            m_waiting = nullptr;
        }
        forget();
    }

private:
    // The damage so far is forgotten, so that the next paint reports again.
    void forget() {
        struct {
            std::uint8_t major, minor;
            std::uint16_t length;
            std::uint32_t damage, repair, parts;
        } subtract{0, 0, 0, m_damage, 0, 0};
        send(kSubtract, &subtract, sizeof subtract, true);
        m_painted = false;
    }

public:
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) == m_firstEvent + kDamageNotify) {
            m_painted = true;
            if (m_waiting)
                m_waiting->quit();
        }
        return false;
    }

private:
    static constexpr int kPatienceMs = 1000;
    static constexpr std::uint8_t kQueryVersion = 0;
    static constexpr std::uint8_t kCreate = 1;
    static constexpr std::uint8_t kSubtract = 3;
    static constexpr std::uint8_t kReportNonEmpty = 3;
    static constexpr std::uint8_t kDamageNotify = 0;

    unsigned int send(std::uint8_t minor, void* request, std::size_t size, bool isVoid) {
        const xcb_protocol_request_t header{1, &m_damageExtension, minor, std::uint8_t(isVoid)};
        iovec parts[3] = {{}, {}, {request, size}};
        return xcb_send_request(m_connection, isVoid ? 0 : XCB_REQUEST_CHECKED, parts + 2, &header);
    }

    xcb_extension_t m_damageExtension{"DAMAGE", 0};
    xcb_connection_t* m_connection = nullptr;
    std::uint8_t m_firstEvent = 0;
    std::uint32_t m_damage = 0;
    bool m_painted = false;
    QEventLoop* m_waiting = nullptr;
};

ScreenWatch* gScreenWatch = nullptr;

void flushAndSync() {
    QApplication::processEvents(); // paint and flush what was asked for
    syncWithServer();
    if (gScreenWatch)
        gScreenWatch->wait();
}

void slideDragToFlush(benchmark::State& st, bool loupe) {
    CompassWindow& w = *window();
    w.controller().setLoupe(loupe);
    const double spread = double(st.range(0));
    resetCompass(w, spread);
    const QPointF pivot = pivotOnScreen(w.controller());
    Hand hand(w);
    hand.press(pivot + QPointF(spread, 0));
    FrameTally tally(st);
    w.installEventFilter(&tally);
    int frame = 0;
    for (auto _ : st) {
        hand.moveTo(slidePointer(pivot, spread, st.range(1) != 0, ++frame));
        w.idleUpdate(); // render, place the window, update() the dirty region
        flushAndSync();
    }
    w.removeEventFilter(&tally);
    st.counters["window_px"] = double(w.width()) * w.height();
    w.controller().setLoupe(false);
}

void BM_SlideDragToFlush(benchmark::State& st) {
    slideDragToFlush(st, false);
}

// The same drag with the loupe beside the slide's tip: it reads the screen
// there and shows it enlarged each frame.
void BM_SlideDragWithLoupeToFlush(benchmark::State& st) {
    slideDragToFlush(st, true);
}

// The window sizes the base drags ran with, for the bare moves.
std::map<std::int64_t, QSize> gBaseDragWindow;

void BM_BaseDragToFlush(benchmark::State& st) {
    CompassWindow& w = *window();
    resetCompass(w, double(st.range(0)));
    const QPointF pivot = pivotOnScreen(w.controller());
    Hand hand(w);
    hand.press(pivot);
    FrameTally tally(st);
    w.installEventFilter(&tally);
    int frame = 0;
    for (auto _ : st) {
        hand.moveTo(pivot + QPointF((++frame & 1) ? 3 : 0, 0));
        w.idleUpdate();
        flushAndSync();
    }
    w.removeEventFilter(&tally);
    st.counters["window_px"] = double(w.width()) * w.height();
    gBaseDragWindow[st.range(0)] = w.size();
}

void BM_WholeWindowRepaint(benchmark::State& st) {
    CompassWindow& w = *window();
    FrameTally tally(st);
    w.installEventFilter(&tally);
    for (auto _ : st) {
        w.update();
        flushAndSync();
    }
    w.removeEventFilter(&tally);
    st.counters["window_px"] = double(w.width()) * w.height();
}

// The baseline runs last: the compass window is hidden while it runs, so that
// the compositor has one overlay to paint, as it had before.
std::unique_ptr<DesktopWindow> gDesktopWindow;

DesktopWindow& desktopWindow() {
    if (!gDesktopWindow) {
        (*window()).hide();
        gDesktopWindow =
            std::make_unique<DesktopWindow>(QGuiApplication::primaryScreen()->virtualGeometry());
        gDesktopWindow->show();
        activate(*gDesktopWindow);
    }
    return *gDesktopWindow;
}

// The same drag as BM_SlideDragToFlush, handed to the interaction directly
// (the compass window is hidden), pushed through the desktop-sized window.
void BM_DesktopWindowSlideDragToFlush(benchmark::State& st) {
    DesktopWindow& baseline = desktopWindow();
    CompassController& c = (*window()).controller();
    const double spread = double(st.range(0));
    c.centreOnScreen();
    CompassState& s = c.model().state;
    s.angle = 0.0f;
    s.measurement = float(spread);
    s.needsRepaint = true;
    (void)c.render(true, false);
    const QPoint origin = QGuiApplication::primaryScreen()->virtualGeometry().topLeft();
    const QPointF pivot = pivotOnScreen(c);
    const auto desktopPoint = [&](QPointF screen) { return screen.toPoint() - origin; };
    CompassInteraction& hand = c.interaction();
    hand.mouseDown(Qt::LeftButton, {}, desktopPoint(pivot + QPointF(spread, 0)));
    const int alpha = windowAlpha(c.settings().transparency, true);
    FrameTally tally(st);
    baseline.installEventFilter(&tally);
    int frame = 0;
    for (auto _ : st) {
        hand.mouseMove({}, desktopPoint(slidePointer(pivot, spread, st.range(1) != 0, ++frame)));
        (void)c.render(true, false); // places the layers
        baseline.push(c.layers(), alpha);
        flushAndSync();
    }
    baseline.removeEventFilter(&tally);
    hand.mouseUp(Qt::LeftButton, {}, desktopPoint(pivot));
    st.counters["window_px"] = double(baseline.width()) * baseline.height();
}

void BM_DesktopWindowWholeRepaint(benchmark::State& st) {
    DesktopWindow& baseline = desktopWindow();
    FrameTally tally(st);
    baseline.installEventFilter(&tally);
    for (auto _ : st) {
        baseline.update();
        flushAndSync();
    }
    baseline.removeEventFilter(&tally);
}

// The floor of a base drag on this X server and compositor: a translucent
// window of the size the compass window had, showing nothing, moved as the
// base drag moves it. Whatever a base drag costs beyond this is ours.
void BM_BareWindowMove(benchmark::State& st) {
    desktopWindow().hide();
    const QSize size = gBaseDragWindow.count(st.range(0)) ? gBaseDragWindow[st.range(0)]
                                                          : QSize(st.range(0), st.range(0));
    QWidget bare(nullptr, Qt::FramelessWindowHint | Qt::Tool);
    bare.setAttribute(Qt::WA_TranslucentBackground);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QRect place(QPoint(0, 0), size);
    place.moveCenter(screen.center());
    bare.setGeometry(place);
    bare.show();
    activate(bare);
    flushAndSync();
    FrameTally tally(st);
    int frame = 0;
    for (auto _ : st) {
        bare.move(place.topLeft() + QPoint((++frame & 1) ? 3 : 0, 0));
        flushAndSync();
    }
    st.counters["window_px"] = double(size.width()) * size.height();
}

// Every frame: wall time decides how long a benchmark runs (most of a frame
// is spent in other processes), and the CPU time counts all of our threads,
// Qt's pool included.
// ORVANTA_BENCH_FRAMES=N runs each for exactly N frames instead, for counting
// instructions under callgrind.
void frames(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
    if (const int n = qEnvironmentVariableIntValue("ORVANTA_BENCH_FRAMES"); n > 0)
        b->Iterations(n);
}

// The slide drags both windows run: spread, turning.
void slideDrags(benchmark::internal::Benchmark* b) {
    for (const auto& [spread, turning] :
         {std::pair{50, 1}, {300, 1}, {1000, 1}, {300, 0}, {1000, 0}})
        b->Args({spread, turning});
    frames(b);
}

// The base drags and their floor: spread.
void baseDrags(benchmark::internal::Benchmark* b) {
    b->Arg(300)->Arg(1000);
    frames(b);
}

BENCHMARK(BM_SlideDragToFlush)->Apply(slideDrags);
BENCHMARK(BM_SlideDragWithLoupeToFlush)->Args({300, 1})->Args({1000, 1})->Apply(frames);
BENCHMARK(BM_BaseDragToFlush)->Apply(baseDrags);
BENCHMARK(BM_WholeWindowRepaint)->Apply(frames);
BENCHMARK(BM_DesktopWindowSlideDragToFlush)->Apply(slideDrags);
BENCHMARK(BM_DesktopWindowWholeRepaint)->Apply(frames);
// Last: it hides the desktop-sized window and shows its own.
BENCHMARK(BM_BareWindowMove)->Apply(baseDrags);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto w = std::make_unique<Window>();
    gWindow = w.get();
    std::unique_ptr<ScreenWatch> watch;
    if (qEnvironmentVariableIntValue("ORVANTA_BENCH_SHOWN") > 0) {
        watch = std::make_unique<ScreenWatch>();
        if (watch->active())
            gScreenWatch = watch.get();
        else
            qWarning("no DAMAGE extension: frames end when the X server has them");
    }
    benchmark::RunSpecifiedBenchmarks();
    gDesktopWindow.reset();
    w.reset();
    benchmark::Shutdown();
    return 0;
}
