// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The window's side of a frame: from a change of the compass state to the
// update flushed to the X server, beside a repaint of the whole window, on a
// real X server (run it through tools/bench-window.sh, which starts Xvfb with
// xcompmgr at the desktop size asked for).
#include "app/compasswindow.h"
#include "platform/autostart.h"
#include "platform/x11shape.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

using namespace orvanta;

namespace {

constexpr float kSpreadWobble = 3.0f;
constexpr float kTurnPerFrame = 0.7f;

struct QuietSink : MessageSink {
    void showMessage(const QString& text) override { qWarning("%s", qPrintable(text)); }
};
struct NoAutostart : Autostart {
    bool setRunAtStart(bool, const QString&) override { return true; }
};

// Waits until the X server has handled everything sent so far.
void syncWithServer() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    xcb_connection_t* c = x11->connection();
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

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
        m_window = std::make_unique<CompassWindow>(
            CompassWindowDeps{ProgramPaths::portableIn(m_folder), m_folder + "orvanta", m_sink,
                              m_autostart, m_shape, false});
        m_window->show();
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
    }
    CompassWindow& operator*() { return *m_window; }

private:
    QTemporaryDir m_dir;
    QString m_folder;
    QuietSink m_sink;
    NoAutostart m_autostart;
    X11DesktopShape m_shape;
    std::unique_ptr<CompassWindow> m_window;
};

// Made in main after the application object and gone before it.
Window* gWindow = nullptr;

Window& window() {
    return *gWindow;
}

void BM_SlideDragToFlush(benchmark::State& st) {
    CompassWindow& w = *window();
    CompassState& s = w.controller().model().state;
    const float spread = float(st.range(0));
    int frame = 0;
    for (auto _ : st) {
        s.angle += kTurnPerFrame;
        s.measurement = spread + ((++frame & 1) ? kSpreadWobble : 0.0f);
        s.needsRepaint = true;
        w.idleUpdate();                // render, prepare the dirty region, update()
        QApplication::processEvents(); // paint and flush that region
        syncWithServer();
    }
    st.counters["desktop_px"] = double(w.width()) * w.height();
}

void BM_WholeWindowRepaint(benchmark::State& st) {
    CompassWindow& w = *window();
    for (auto _ : st) {
        w.update();
        QApplication::processEvents();
        syncWithServer();
    }
}

BENCHMARK(BM_SlideDragToFlush)->Arg(50)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeWindowRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto w = std::make_unique<Window>();
    gWindow = w.get();
    benchmark::RunSpecifiedBenchmarks();
    w.reset();
    benchmark::Shutdown();
    return 0;
}
