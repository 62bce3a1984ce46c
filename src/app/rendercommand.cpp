#include "app/rendercommand.h"

#include "app/programfolder.h"
#include "model/compassmodel.h"
#include "model/numbers.h"
#include "render/compose.h"
#include "render/renderer.h"
#include "skins/skinlist.h"

#include <QDir>
#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

namespace orvanta {

namespace {

// The largest desktop the command renders: a 1 GiB window image at most.
constexpr qint64 kMaxDesktopPixels = qint64(1) << 28;
constexpr int kMaxDesktopSide = 65535;
constexpr int kMaxShape = 39;

struct BadArgument {
    QString message;
};

[[nodiscard]] QString invalid(const QString& name, const QString& expected, const QString& value) {
    return QStringLiteral("%1: expected %2, got '%3'").arg(name, expected, value);
}

[[nodiscard]] float floatArg(const QString& name, const QString& value) {
    const auto v = parseFloat(value, u'.');
    if (!v || !std::isfinite(double(*v)) || std::fabs(double(*v)) > 1e9)
        throw BadArgument{invalid(name, QStringLiteral("a number"), value)};
    return float(*v);
}

[[nodiscard]] int intArg(const QString& name, const QString& value, int lowest, int highest,
                         const QString& expected) {
    const auto v = parseInt(value);
    if (!v || *v < lowest || *v > highest)
        throw BadArgument{invalid(name, expected, value)};
    return *v;
}

// "A<sep>B" as two integers.
[[nodiscard]] std::pair<int, int> pairArg(const QString& name, const QString& value, QChar sep,
                                          const QString& expected) {
    const QStringList parts = value.split(sep);
    const auto a = parts.size() == 2 ? parseInt(parts[0]) : std::nullopt;
    const auto b = parts.size() == 2 ? parseInt(parts[1]) : std::nullopt;
    if (!a || !b)
        throw BadArgument{invalid(name, expected, value)};
    return {*a, *b};
}

using ValueHandler = std::function<void(TRenderRequest&, const QString& name, const QString&)>;

[[nodiscard]] const std::map<QString, ValueHandler>& valueOptions() {
    static const std::map<QString, ValueHandler> options{
        {"--render", [](TRenderRequest& r, const QString&, const QString& v) { r.Output = v; }},
        {"--skin", [](TRenderRequest& r, const QString&, const QString& v) { r.Skin = v; }},
        {"--angle",
         [](TRenderRequest& r, const QString& n, const QString& v) { r.Angle = floatArg(n, v); }},
        {"--spread",
         [](TRenderRequest& r, const QString& n, const QString& v) { r.Spread = floatArg(n, v); }},
        {"--shape",
         [](TRenderRequest& r, const QString& n, const QString& v) {
             const QString expected = QStringLiteral("0 or 3 to 39");
             const int shape = intArg(n, v, 0, kMaxShape, expected);
             if (shape == 1 || shape == 2)
                 throw BadArgument{invalid(n, expected, v)};
             r.Shape = shape;
         }},
        {"--scribe",
         [](TRenderRequest& r, const QString& n, const QString& v) {
             r.Scribe = intArg(n, v, 0, 1, QStringLiteral("0 or 1"));
         }},
        {"--measure-type",
         [](TRenderRequest& r, const QString& n, const QString& v) {
             r.MeasureType = intArg(n, v, 0, 2, QStringLiteral("0, 1 or 2"));
         }},
        {"--unit",
         [](TRenderRequest& r, const QString& n, const QString& v) {
             r.Unit = intArg(n, v, 0, TMeasurements::kMaxUnits - 1, QStringLiteral("a unit index"));
         }},
        {"--quality",
         [](TRenderRequest& r, const QString& n, const QString& v) {
             if (v != u"low" && v != u"high")
                 throw BadArgument{invalid(n, QStringLiteral("low or high"), v)};
             r.Quality = v == u"high";
         }},
        {"--pos",
         [](TRenderRequest& r, const QString& n, const QString& v) {
             const auto [x, y] = pairArg(n, v, u',', QStringLiteral("X,Y"));
             r.Pos = QPoint(x, y);
         }},
        {"--desktop",
         [](TRenderRequest& r, const QString& n, const QString& v) {
             const QString expected = QStringLiteral("WxH with sides of 1 to 65535 pixels");
             const auto [w, h] = pairArg(n, v, u'x', expected);
             if (w < 1 || h < 1 || w > kMaxDesktopSide || h > kMaxDesktopSide)
                 throw BadArgument{invalid(n, expected, v)};
             if (qint64(w) * h > kMaxDesktopPixels)
                 throw BadArgument{invalid(n, QStringLiteral("at most 268435456 pixels"), v)};
             r.Desktop = QSize(w, h);
         }},
    };
    return options;
}

// A message sink that collects what a normal start would show in boxes.
class CollectingSink final : public IMessageSink {
public:
    void ShowMessage(const QString& text) override { lines << text.simplified(); }
    QStringList lines;
};

[[nodiscard]] DesktopGeometry syntheticDesktop(QSize size) {
    const QRect screen(QPoint(0, 0), size);
    return DesktopGeometry{screen, {screen}, screen};
}

[[nodiscard]] TRenderResult failure(int code, const QString& message) {
    return TRenderResult{code, QString(), message + u'\n'};
}

} // namespace

std::variant<TRenderRequest, QString> ParseRenderArguments(const QStringList& args) {
    TRenderRequest request;
    if (args.contains(QStringLiteral("--help"))) {
        request.Help = true;
        return request;
    }
    try {
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            if (a == u"--crop") {
                request.Crop = true;
            } else if (const auto it = valueOptions().find(a); it != valueOptions().end()) {
                if (i + 1 >= args.size())
                    throw BadArgument{QStringLiteral("%1: missing value").arg(a)};
                it->second(request, a, args[++i]);
            } else {
                throw BadArgument{QStringLiteral("unknown argument '%1'").arg(a)};
            }
        }
    } catch (const BadArgument& e) {
        return e.message;
    }
    if (request.Output.isEmpty())
        return QStringLiteral("--render: missing the output file");
    return request;
}

QString RenderUsage() {
    return QStringLiteral(
        "Usage: orvanta --render OUT.png [--skin DEFINITION.ini] [--angle DEG] [--spread PX]\n"
        "                [--shape N] [--scribe 0|1] [--measure-type 0|1|2] [--unit INDEX]\n"
        "                [--quality low|high] [--pos X,Y] [--desktop WxH] [--crop]\n"
        "Renders one frame of the compass to a PNG (straight alpha) as it would appear on\n"
        "a desktop of WxH pixels (1920x1080 by default) and prints the readout.\n"
        "Options, units and skins are the program's own; nothing is saved.\n");
}

namespace {

[[nodiscard]] TRenderResult renderFrame(const TRenderRequest& request, const TProgramPaths& paths,
                                        CollectingSink& messages) {
    try {
        TDervikOptions options = paths.LoadOptions();
        TMeasurements units(paths.UnitsFiles());
        if (request.Unit && *request.Unit >= units.UnitsCount())
            return failure(kRenderExitBadArguments,
                           invalid(QStringLiteral("--unit"),
                                   QStringLiteral("0 to %1").arg(units.UnitsCount() - 1),
                                   QString::number(*request.Unit)));

        std::unique_ptr<TSkinList> skins;
        std::unique_ptr<TDervikSkin> ownSkin;
        TDervikSkin* skin = nullptr;
        if (request.Skin.isEmpty()) {
            skins = std::make_unique<TSkinList>(paths.SkinFolders(), paths.DefaultSkin(),
                                                options.skinPath, messages);
            skin = skins->Skin.get();
        } else {
            ownSkin = TDervikSkin::Create(QDir::current().absoluteFilePath(request.Skin), messages);
            if (!ownSkin->PictureReadable())
                return failure(kRenderExitBadArguments,
                               QStringLiteral("--skin: %1").arg(ownSkin->PictureError));
            skin = ownSkin.get();
        }

        const DesktopGeometry desktop = syntheticDesktop(request.Desktop);
        // The first start would save its placement at once; this command saves
        // nothing, and on a desktop at (0, 0) that placement is the default.
        options.FirstTime = false;
        CompassModel model(options, units);
        model.Initialise(desktop);
        TCompass& state = model.state;
        if (request.Pos) {
            state.FPosX = request.Pos->x();
            state.FPosY = request.Pos->y();
        }
        if (request.Angle)
            state.FAngle = TCompass::WrapAngle(*request.Angle);
        if (request.Spread)
            state.FMeasurement = *request.Spread;
        if (request.Shape)
            options.Shape = *request.Shape;
        if (request.Scribe)
            options.Scribe = *request.Scribe;
        if (request.MeasureType)
            options.MeasureType = *request.MeasureType;
        if (request.Quality)
            options.Quality = *request.Quality;
        if (request.Unit)
            units.Select(*request.Unit);

        TCompassRenderer renderer;
        const TComposeResult composed = Compose(*skin, options, state, renderer.Layers);
        messages.lines << composed.Warnings;
        if (!composed.Ok)
            return failure(kRenderExitFailed, composed.Error);
        TRenderInput input{model, *skin, desktop};
        // A compass placed off the desktop is centred by the first pass and
        // drawn by the second, as the program's next idle pass would.
        if (renderer.RenderCompass(input).Recentred)
            (void)renderer.RenderCompass(input);

        QImage image = renderer.WindowImage().convertToFormat(QImage::Format_ARGB32);
        if (request.Crop)
            image = image.copy(renderer.FBounds);
        if (!image.save(request.Output, "PNG"))
            return failure(kRenderExitFailed,
                           QStringLiteral("--render: cannot write '%1'").arg(request.Output));
        return TRenderResult{0, state.FDisplayText + u'\n', QString()};
    } catch (const OrvantaError& e) {
        return failure(kRenderExitFailed, e.message());
    }
}

} // namespace

TRenderResult RenderCommand(const QStringList& args, const QString& programFolder) {
    return RenderCommand(args, TProgramPaths::PortableIn(programFolder));
}

TRenderResult RenderCommand(const QStringList& args, const TProgramPaths& paths) {
    const auto parsed = ParseRenderArguments(args);
    if (const auto* error = std::get_if<QString>(&parsed))
        return failure(kRenderExitBadArguments, *error);
    const TRenderRequest& request = std::get<TRenderRequest>(parsed);
    if (request.Help)
        return TRenderResult{0, RenderUsage(), QString()};
    CollectingSink messages;
    TRenderResult result = renderFrame(request, paths, messages);
    // What a normal start would show in message boxes comes first.
    QString shown;
    for (const QString& line : messages.lines)
        shown += line + u'\n';
    result.Err.prepend(shown);
    return result;
}

int RunRenderCommand(const QStringList& arguments) {
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        // No display is needed or wanted: skin authors run this on servers.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        static int argc = 1;
        static char name[] = "orvanta";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    const TRenderResult result = RenderCommand(arguments.mid(1), TProgramPaths::Detect());
    std::fputs(result.Out.toLocal8Bit().constData(), stdout);
    std::fputs(result.Err.toLocal8Bit().constData(), stderr);
    std::fflush(stdout);
    return result.ExitCode;
}

} // namespace orvanta
