// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Frame cost of the renderer during a slide drag, beside a baseline that
// redraws and premultiplies the whole desktop image every frame, and the cost
// of composing each shipped skin.
//
//   orvanta_bench --benchmark_filter=Drag     the drag frames
//   orvanta_bench --benchmark_filter=Compose  one composition per skin

#include "model/compassmodel.h"
#include "package/installer.h"
#include "render/compassrenderer.h"
#include "render/compose.h"
#include "skins/skincatalog.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace orvanta;

namespace {

const QString kProgramFolder = QStringLiteral(ORVANTA_BIN_DIR "/");

// The desktops measured: one full-HD screen, and three 4K screens side by side.
const QSize kDesktops[] = {{1920, 1080}, {3 * 3840, 2160}};

// The steps of one drag frame: the slide moves out and back by a few pixels
// while the beam turns, as under a hand on the mouse.
constexpr float kSpreadWobble = 3.0f;
constexpr float kTurnPerFrame = 0.7f;

// Everything a frame needs, built the way the program starts.
class Scene {
public:
    Scene(QSize desktopSize, const QString& skinPath)
        : m_options(m_dir.filePath(QStringLiteral("Compass.ini"))),
          m_units(m_dir.path(), QString()), m_model(m_options, m_units),
          m_skin(std::make_unique<Skin>(skinPath)) {
        const QRect screen(QPoint(0, 0), desktopSize);
        desktop = DesktopGeometry{screen, {screen}, QRect(0, 0, 1920, 1080)};
        m_options.firstTime = false;
        m_model.initialise(desktop);
        if (!compose(*m_skin, m_options, m_model.state, renderer.layers).ok)
            throw std::runtime_error("the skin does not compose");
    }

    // Puts the pivot in the middle of the first screen and renders once.
    void start(int spread) {
        m_spread = float(spread);
        state().posX = 960 - 26;
        state().posY = 540 - 28;
        state().angle = 10.0f;
        state().measurement = m_spread;
        frame();
    }

    // One frame of the drag: new angle and spread, render, window image.
    Frame frame() {
        ++m_frame;
        state().angle = CompassState::wrapAngle(state().angle + kTurnPerFrame);
        state().measurement = m_spread + ((m_frame & 1) ? kSpreadWobble : 0.0f);
        state().needsRepaint = true;
        RenderInput in{m_model, *m_skin, desktop};
        return renderer.renderCompass(in);
    }

    [[nodiscard]] int alpha() const { return windowAlpha(m_options.transparency, true); }

    DesktopGeometry desktop;
    CompassRenderer renderer;

private:
    CompassState& state() { return m_model.state; }

    QTemporaryDir m_dir;
    Settings m_options;
    UnitTable m_units;
    CompassModel m_model;
    std::unique_ptr<Skin> m_skin;
    float m_spread = 0.0f;
    unsigned m_frame = 0;
};

QString defaultSkin() {
    return kProgramFolder + QStringLiteral("default/default.ini");
}

void slideDrag(benchmark::State& st) {
    const QSize desktop = kDesktops[st.range(1)];
    Scene scene(desktop, defaultSkin());
    scene.start(int(st.range(0)));
    qint64 pixels = 0;
    for (auto _ : st) {
        const Frame frame = scene.frame();
        for (const QRect& r : frame.dirty)
            pixels += qint64(r.width()) * r.height();
    }
    st.counters["dirty_px"] = benchmark::Counter(double(pixels) / double(st.iterations()));
    st.SetLabel(QStringLiteral("%1x%2").arg(desktop.width()).arg(desktop.height()).toStdString());
}

// What the frame would cost without dirty regions: a straight-alpha back
// buffer the size of the desktop, cleared and drawn whole, then every pixel
// premultiplied by the window's opacity into the window image.
void slideDragWholeDesktop(benchmark::State& st) {
    const QSize desktop = kDesktops[st.range(1)];
    Scene scene(desktop, defaultSkin());
    scene.start(int(st.range(0)));
    QImage back(desktop, QImage::Format_ARGB32);
    QImage window(desktop, QImage::Format_ARGB32_Premultiplied);
    const int alpha = scene.alpha();
    for (auto _ : st) {
        scene.frame();
        back.fill(0);
        QPainter painter(&back);
        for (const auto& layer : scene.renderer.layers.layers())
            if (layer->visible)
                layer->draw(painter);
        painter.end();
        for (int y = 0; y < back.height(); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(back.constScanLine(y));
            auto* out = reinterpret_cast<QRgb*>(window.scanLine(y));
            for (int x = 0; x < back.width(); ++x) {
                const QRgb p = in[x];
                out[x] = qPremultiply(qRgba(qRed(p), qGreen(p), qBlue(p), qAlpha(p) * alpha / 255));
            }
        }
        benchmark::DoNotOptimize(window.constBits());
    }
    st.SetLabel(QStringLiteral("%1x%2").arg(desktop.width()).arg(desktop.height()).toStdString());
}

void composeSkin(benchmark::State& st, const QString& iniPath) {
    QTemporaryDir dir;
    Settings options(dir.filePath(QStringLiteral("Compass.ini")));
    Skin skin(iniPath);
    CompassState state;
    for (auto _ : st) {
        LayerStack stack;
        const ComposeResult r = compose(skin, options, state, stack);
        if (!r.ok)
            st.SkipWithError(r.error.toStdString().c_str());
        benchmark::DoNotOptimize(stack.layers().data());
    }
}

// The shipped skins: the default one, the skin folders, and the packages
// beside the program unpacked into a scratch program folder.
QStringList shippedSkins(const QTemporaryDir& scratch) {
    QStringList skins{defaultSkin()};
    skins << SkinCatalog::scanFolder(kProgramFolder + QStringLiteral("skins"));
    const QDir bin(kProgramFolder);
    for (const QString& package : bin.entryList({QStringLiteral("*.compassskin")}, QDir::Files))
        installSkinPackage(scratch.path(), bin.filePath(package));
    skins << SkinCatalog::scanFolder(scratch.filePath(QStringLiteral("skins")));
    return skins;
}

void dragArguments(benchmark::internal::Benchmark* b) {
    for (const int desktop : {0, 1})
        for (const int spread : {50, 300, 1000})
            b->Args({spread, desktop});
    b->ArgNames({"spread", "desktop"})->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(slideDrag)->Apply(dragArguments);
BENCHMARK(slideDragWholeDesktop)->Apply(dragArguments);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QGuiApplication app(argc, argv);
    QTemporaryDir scratch;
    for (const QString& skin : shippedSkins(scratch)) {
        const std::string name = "Compose/" + QFileInfo(skin).dir().dirName().toStdString() + "/" +
                                 QFileInfo(skin).fileName().toStdString();
        benchmark::RegisterBenchmark(name.c_str(), composeSkin, skin)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
