// Frame cost of the renderer during a slide drag, beside a baseline that
// redraws and premultiplies the whole desktop image every frame, and the cost
// of composing each shipped skin.
//
//   orvanta_bench --benchmark_filter=Drag     the drag frames
//   orvanta_bench --benchmark_filter=Compose  one composition per skin

#include "app/package/installer.h"
#include "model/compassmodel.h"
#include "render/compose.h"
#include "render/renderer.h"
#include "skins/skinlist.h"

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
          m_skin(std::make_unique<TDervikSkin>(skinPath)) {
        const QRect screen(QPoint(0, 0), desktopSize);
        desktop = DesktopGeometry{screen, {screen}, QRect(0, 0, 1920, 1080)};
        m_options.FirstTime = false;
        m_model.Initialise(desktop);
        if (!Compose(*m_skin, m_options, m_model.state, renderer.Layers).Ok)
            throw std::runtime_error("the skin does not compose");
    }

    // Puts the pivot in the middle of the first screen and renders once.
    void Start(int spread) {
        m_spread = float(spread);
        state().FPosX = 960 - 26;
        state().FPosY = 540 - 28;
        state().FAngle = 10.0f;
        state().FMeasurement = m_spread;
        Frame();
    }

    // One frame of the drag: new angle and spread, render, window image.
    TFrame Frame() {
        ++m_frame;
        state().FAngle = TCompass::WrapAngle(state().FAngle + kTurnPerFrame);
        state().FMeasurement = m_spread + ((m_frame & 1) ? kSpreadWobble : 0.0f);
        state().FNeedsRepaint = true;
        TRenderInput in{m_model, *m_skin, desktop};
        return renderer.RenderCompass(in);
    }

    [[nodiscard]] int Alpha() const { return WindowAlpha(m_options.Transparency, true); }

    DesktopGeometry desktop;
    TCompassRenderer renderer;

private:
    TCompass& state() { return m_model.state; }

    QTemporaryDir m_dir;
    TDervikOptions m_options;
    TMeasurements m_units;
    CompassModel m_model;
    std::unique_ptr<TDervikSkin> m_skin;
    float m_spread = 0.0f;
    unsigned m_frame = 0;
};

QString defaultSkin() {
    return kProgramFolder + QStringLiteral("default/default.ini");
}

void SlideDrag(benchmark::State& st) {
    const QSize desktop = kDesktops[st.range(1)];
    Scene scene(desktop, defaultSkin());
    scene.Start(int(st.range(0)));
    qint64 pixels = 0;
    for (auto _ : st) {
        const TFrame frame = scene.Frame();
        for (const QRect& r : frame.Dirty)
            pixels += qint64(r.width()) * r.height();
    }
    st.counters["dirty_px"] = benchmark::Counter(double(pixels) / double(st.iterations()));
    st.SetLabel(QStringLiteral("%1x%2").arg(desktop.width()).arg(desktop.height()).toStdString());
}

// What the frame would cost without dirty regions: a straight-alpha back
// buffer the size of the desktop, cleared and drawn whole, then every pixel
// premultiplied by the window's opacity into the window image.
void SlideDragWholeDesktop(benchmark::State& st) {
    const QSize desktop = kDesktops[st.range(1)];
    Scene scene(desktop, defaultSkin());
    scene.Start(int(st.range(0)));
    QImage back(desktop, QImage::Format_ARGB32);
    QImage window(desktop, QImage::Format_ARGB32_Premultiplied);
    const int alpha = scene.Alpha();
    for (auto _ : st) {
        scene.Frame();
        back.fill(0);
        QPainter painter(&back);
        for (const auto& layer : scene.renderer.Layers.Layers())
            if (layer->Visible)
                layer->Draw(painter);
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

void ComposeSkin(benchmark::State& st, const QString& iniPath) {
    QTemporaryDir dir;
    TDervikOptions options(dir.filePath(QStringLiteral("Compass.ini")));
    TDervikSkin skin(iniPath);
    TCompass state;
    for (auto _ : st) {
        TLayerStack stack;
        const TComposeResult r = Compose(skin, options, state, stack);
        if (!r.Ok)
            st.SkipWithError(r.Error.toStdString().c_str());
        benchmark::DoNotOptimize(stack.Layers().data());
    }
}

// The shipped skins: the default one, the skin folders, and the packages
// beside the program unpacked into a scratch program folder.
QStringList shippedSkins(const QTemporaryDir& scratch) {
    QStringList skins{defaultSkin()};
    skins << TSkinList::ScanFolder(kProgramFolder + QStringLiteral("skins"));
    const QDir bin(kProgramFolder);
    for (const QString& package : bin.entryList({QStringLiteral("*.compassskin")}, QDir::Files))
        InstallSkinPackage(scratch.path(), bin.filePath(package));
    skins << TSkinList::ScanFolder(scratch.filePath(QStringLiteral("skins")));
    return skins;
}

void dragArguments(benchmark::internal::Benchmark* b) {
    for (const int desktop : {0, 1})
        for (const int spread : {50, 300, 1000})
            b->Args({spread, desktop});
    b->ArgNames({"spread", "desktop"})->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(SlideDrag)->Apply(dragArguments);
BENCHMARK(SlideDragWholeDesktop)->Apply(dragArguments);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QGuiApplication app(argc, argv);
    QTemporaryDir scratch;
    for (const QString& skin : shippedSkins(scratch)) {
        const std::string name = "Compose/" + QFileInfo(skin).dir().dirName().toStdString() + "/" +
                                 QFileInfo(skin).fileName().toStdString();
        benchmark::RegisterBenchmark(name.c_str(), ComposeSkin, skin)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
