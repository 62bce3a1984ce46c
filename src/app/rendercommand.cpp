// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/rendercommand.h"

#include "app/commandlineoptions.h"
#include "app/programpaths.h"
#include "model/compassmodel.h"
#include "model/numbers.h"
#include "model/values.h"
#include "platform/languageswitcher.h"
#include "render/compassrenderer.h"
#include "render/compose.h"
#include "skins/skincatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPainter>
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
// What --help names as the platform of a frame rendered without a display.
const QString kRenderPlatform = QStringLiteral("offscreen (--render)");

struct BadArgument {
    QString message;
};

// The command's texts, in the user's language.
[[nodiscard]] QString said(const char* text) {
    return QCoreApplication::translate("RenderCommand", text);
}

[[nodiscard]] QString invalid(const QString& name, const QString& expected, const QString& value) {
    return said(QT_TRANSLATE_NOOP("RenderCommand", "%1: expected %2, got '%3'"))
        .arg(name, expected, value);
}

[[nodiscard]] float floatArg(const QString& name, const QString& value) {
    const auto v = parseFloat(value, u'.');
    if (!v || !std::isfinite(double(*v)) || std::fabs(double(*v)) > 1e9)
        throw BadArgument{
            invalid(name, said(QT_TRANSLATE_NOOP("RenderCommand", "a number")), value)};
    return float(*v);
}

[[nodiscard]] int intArg(const QString& name, const QString& value, int lowest, int highest,
                         const QString& expected) {
    const auto v = parseInt(value);
    if (!v || *v < lowest || *v > highest)
        throw BadArgument{invalid(name, expected, value)};
    return *v;
}

// A whole number that `range` accepts; the options file would correct it
// unseen, the command line says what it expects.
[[nodiscard]] int rangedArg(const QString& name, const QString& value, const OptionRange& range) {
    const auto v = parseInt(value);
    if (!v || !range.accepts(*v))
        throw BadArgument{invalid(name, range.expected(), value)};
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

using ValueHandler = std::function<void(RenderRequest&, const QString& name, const QString&)>;

// The frame options by name, as the command line's table lists them.
[[nodiscard]] const std::map<QString, ValueHandler>& valueOptions() {
    static const std::map<QString, ValueHandler> options{
        {"skin", [](RenderRequest& r, const QString&, const QString& v) { r.skin = v; }},
        {"angle",
         [](RenderRequest& r, const QString& n, const QString& v) { r.angle = floatArg(n, v); }},
        {"spread",
         [](RenderRequest& r, const QString& n, const QString& v) { r.spread = floatArg(n, v); }},
        {"shape", [](RenderRequest& r, const QString& n,
                     const QString& v) { r.shape = rangedArg(n, v, kShapeRange); }},
        {"scribe", [](RenderRequest& r, const QString& n,
                      const QString& v) { r.scribe = rangedArg(n, v, kScribeRange); }},
        {"measure-type",
         [](RenderRequest& r, const QString& n, const QString& v) {
             r.measureType = rangedArg(n, v, kMeasureTypeRange);
         }},
        {"unit",
         [](RenderRequest& r, const QString& n, const QString& v) {
             r.unit = intArg(n, v, 0, UnitTable::kMaxUnits - 1,
                             said(QT_TRANSLATE_NOOP("RenderCommand", "a unit index")));
         }},
        {"quality",
         [](RenderRequest& r, const QString& n, const QString& v) {
             if (v != u"low" && v != u"high")
                 throw BadArgument{
                     invalid(n, said(QT_TRANSLATE_NOOP("RenderCommand", "low or high")), v)};
             r.quality = v == u"high";
         }},
        {"pos",
         [](RenderRequest& r, const QString& n, const QString& v) {
             const auto [x, y] = pairArg(n, v, u',', QStringLiteral("X,Y"));
             r.pos = QPoint(x, y);
         }},
        {"desktop",
         [](RenderRequest& r, const QString& n, const QString& v) {
             const QString expected =
                 said(QT_TRANSLATE_NOOP("RenderCommand", "WxH with sides of 1 to 65535 pixels"));
             const auto [w, h] = pairArg(n, v, u'x', expected);
             if (w < 1 || h < 1 || w > kMaxDesktopSide || h > kMaxDesktopSide)
                 throw BadArgument{invalid(n, expected, v)};
             if (qint64(w) * h > kMaxDesktopPixels)
                 throw BadArgument{invalid(
                     n, said(QT_TRANSLATE_NOOP("RenderCommand", "at most 268435456 pixels")), v)};
             r.desktop = QSize(w, h);
         }},
        {"screen-mm",
         [](RenderRequest& r, const QString& n, const QString& v) {
             const QString expected =
                 said(QT_TRANSLATE_NOOP("RenderCommand", "WxH in millimetres"));
             const QStringList parts = v.split(u'x');
             if (parts.size() != 2)
                 throw BadArgument{invalid(n, expected, v)};
             const auto w = parseFloat(parts[0], u'.');
             const auto h = parseFloat(parts[1], u'.');
             if (!w || !h || !(*w > 0) || !(*h > 0) || *w > 1e6 || *h > 1e6)
                 throw BadArgument{invalid(n, expected, v)};
             r.screenMillimetres = QSizeF(double(*w), double(*h));
         }},
    };
    return options;
}

// A message sink that collects what a normal start would show in boxes.
class CollectingSink final : public MessageSink {
public:
    void showMessage(const QString& text) override { lines << text.simplified(); }
    QStringList lines;
};

[[nodiscard]] DesktopGeometry syntheticDesktop(QSize size) {
    const QRect screen(QPoint(0, 0), size);
    return DesktopGeometry{screen, {screen}, screen};
}

[[nodiscard]] RenderResult failure(int code, const QString& message) {
    return RenderResult{code, QString(), message + u'\n'};
}

} // namespace

std::variant<RenderRequest, QString> renderRequest(const CommandLineOptions& options) {
    RenderRequest request;
    if (options.helpAsked()) {
        request.help = true;
        return request;
    }
    request.output = options.frameValue(QStringLiteral("render"));
    request.crop = options.cropAsked();
    try {
        for (const auto& [name, handler] : valueOptions())
            if (const QString value = options.frameValue(name); !value.isNull())
                handler(request, QStringLiteral("--") + name, value);
    } catch (const BadArgument& e) {
        return e.message;
    }
    if (request.output.isEmpty())
        return said(QT_TRANSLATE_NOOP("RenderCommand", "--render: missing the output file"));
    return request;
}

std::variant<RenderRequest, QString> parseRenderArguments(const QStringList& args) {
    CommandLineOptions options;
    if (!options.parse(QStringList{QStringLiteral("orvanta")} + args) && !options.helpAsked())
        return options.error();
    return renderRequest(options);
}

namespace {

[[nodiscard]] RenderResult renderFrame(const RenderRequest& request, const ProgramPaths& paths,
                                       CollectingSink& messages) {
    try {
        Settings options = paths.loadOptions();
        UnitTable units(paths.unitsFiles());
        if (request.unit && *request.unit >= units.unitsCount())
            return failure(
                kRenderExitBadArguments,
                invalid(
                    QStringLiteral("--unit"),
                    said(QT_TRANSLATE_NOOP("RenderCommand", "0 to %1")).arg(units.unitsCount() - 1),
                    QString::number(*request.unit)));

        std::unique_ptr<SkinCatalog> skins;
        std::unique_ptr<Skin> ownSkin;
        Skin* skin = nullptr;
        if (request.skin.isEmpty()) {
            skins = std::make_unique<SkinCatalog>(paths.skinFolders(), paths.defaultSkin(),
                                                  options.skinPath, messages);
            skin = skins->skin.get();
        } else {
            ownSkin = Skin::create(QDir::current().absoluteFilePath(request.skin), messages);
            if (!ownSkin->pictureReadable())
                return failure(kRenderExitBadArguments,
                               QStringLiteral("--skin: %1").arg(ownSkin->pictureUserError));
            skin = ownSkin.get();
        }

        const DesktopGeometry desktop = syntheticDesktop(request.desktop);
        // The first start would save its placement at once; this command saves
        // nothing, and on a desktop at (0, 0) that placement is the default.
        options.firstTime = false;
        CompassModel model(options, units);
        model.initialise(desktop);
        CompassState& state = model.state;
        if (request.pos) {
            state.posX = request.pos->x();
            state.posY = request.pos->y();
        }
        if (request.angle)
            state.angle = CompassState::wrapAngle(*request.angle);
        if (request.spread)
            state.measurement = *request.spread;
        if (request.shape)
            options.shape = *request.shape;
        if (request.scribe)
            options.scribe = Inscription(*request.scribe);
        if (request.measureType)
            options.measureType = MeasureKind(*request.measureType);
        if (request.quality)
            options.quality = *request.quality;
        if (request.unit)
            units.select(*request.unit);
        if (request.screenMillimetres && options.physicalUnitsPerMonitor) {
            const MonitorInfo monitor{{{}, {}, {}, QStringLiteral("--screen-mm")},
                                      QRect(QPoint(0, 0), request.desktop),
                                      *request.screenMillimetres};
            model.monitor = uncalibratedScale(monitor, {});
            if (model.monitor.source != DensitySource::Reported)
                messages.lines << said(
                                      QT_TRANSLATE_NOOP("RenderCommand",
                                                        "--screen-mm: %1x%2 mm is not a believable "
                                                        "size for %3x%4 pixels; 96 px/in assumed"))
                                      .arg(request.screenMillimetres->width())
                                      .arg(request.screenMillimetres->height())
                                      .arg(request.desktop.width())
                                      .arg(request.desktop.height());
        }

        CompassRenderer renderer;
        const ComposeResult composed = compose(*skin, options, state, renderer.layers);
        messages.lines << composed.warnings;
        if (!composed.ok)
            return failure(kRenderExitFailed, composed.error);
        RenderInput input{model, *skin, desktop};
        // A compass placed off the desktop is centred by the first pass and
        // drawn by the second, as the program's next idle pass would.
        if (renderer.renderCompass(input).recentred)
            (void)renderer.renderCompass(input);

        // The window covers the compass only: lay it on the whole desktop.
        QImage image(desktop.virtualRect.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(renderer.windowRect().topLeft(), renderer.windowImage());
        }
        if (request.crop)
            image = image.copy(renderer.bounds);
        if (!image.save(request.output, "PNG"))
            return failure(kRenderExitFailed,
                           said(QT_TRANSLATE_NOOP("RenderCommand", "--render: cannot write '%1'"))
                               .arg(request.output));
        return RenderResult{0, state.displayText + u'\n', QString()};
    } catch (const OrvantaError& e) {
        return failure(kRenderExitFailed, e.userMessage());
    }
}

} // namespace

RenderResult renderCommand(const QStringList& args, const QString& programFolder) {
    return renderCommand(args, ProgramPaths::portableIn(programFolder));
}

RenderResult renderCommand(const QStringList& args, const ProgramPaths& paths) {
    const auto parsed = parseRenderArguments(args);
    if (const auto* error = std::get_if<QString>(&parsed))
        return failure(kRenderExitBadArguments, *error);
    const RenderRequest& request = std::get<RenderRequest>(parsed);
    if (request.help)
        return RenderResult{0, CommandLineOptions().helpText(kRenderPlatform), QString()};
    CollectingSink messages;
    RenderResult result = renderFrame(request, paths, messages);
    // What a normal start would show in message boxes comes first.
    QString shown;
    for (const QString& line : messages.lines)
        shown += line + u'\n';
    result.err.prepend(shown);
    return result;
}

int runRenderCommand(const QStringList& arguments) {
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
    // Composition logs the skin's warnings for the window, which shows none;
    // here they are part of the output already. QT_LOGGING_RULES still wins.
    QLoggingCategory::setFilterRules(QStringLiteral("orvanta.render.warning=false"));
    const ProgramPaths paths = ProgramPaths::detect();
    // Its errors and the skins' messages speak the user's language.
    LanguageSwitcher language;
    language.use(paths.loadOptions().language);
    const RenderResult result = renderCommand(arguments.mid(1), paths);
    std::fputs(result.out.toLocal8Bit().constData(), stdout);
    std::fputs(result.err.toLocal8Bit().constData(), stderr);
    std::fflush(stdout);
    return result.exitCode;
}

} // namespace orvanta
