#pragma once
// "orvanta --render OUT.png [...]": renders one frame of the compass to a PNG
// without a display, for skin authors, the documentation and tests. It starts
// like the program does (its options, units and skins, portable or installed),
// applies the overrides given on the command line, renders the frame as it
// would appear on a desktop of the given size, writes it with straight alpha,
// prints the readout on standard output and saves nothing else.
//
//   --skin DEFINITION.ini   a skin's definition file instead of the selected skin
//   --angle DEG             --spread PX            --pos X,Y
//   --shape N (0, 3..39)    --scribe 0|1           --measure-type 0|1|2
//   --unit INDEX            --quality low|high     --desktop WxH (1920x1080)
//   --crop                  cut the image to the compass's bounds
//
// Exit status 0 on success, 2 for a bad argument (one line naming it), 1 when
// the frame could not be made or written.

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

namespace orvanta {

struct TProgramPaths;

inline constexpr int kRenderExitFailed = 1;
inline constexpr int kRenderExitBadArguments = 2;

struct TRenderRequest {
    QString Output;
    QString Skin; // empty: the skin the options select
    std::optional<float> Angle;
    std::optional<float> Spread;
    std::optional<int> Shape;
    std::optional<int> Scribe;
    std::optional<int> MeasureType;
    std::optional<int> Unit;
    std::optional<bool> Quality;
    std::optional<QPoint> Pos;
    QSize Desktop{1920, 1080};
    bool Crop = false;
    bool Help = false;
};

// Reads the arguments that follow the program name. Returns the request or
// the one-line error naming the offending argument.
[[nodiscard]] std::variant<TRenderRequest, QString> ParseRenderArguments(const QStringList& args);

[[nodiscard]] QString RenderUsage();

struct TRenderResult {
    int ExitCode = 0;
    QString Out; // the readout line, or the usage
    QString Err; // errors and skin messages, one per line
};

// Runs the command with the options, units and skins of `paths`. Needs a
// QGuiApplication.
[[nodiscard]] TRenderResult RenderCommand(const QStringList& args, const TProgramPaths& paths);
// The same with everything in the program folder `programFolder` (trailing "/").
[[nodiscard]] TRenderResult RenderCommand(const QStringList& args, const QString& programFolder);

// The entry from main: `arguments` is the whole command line, program name
// first. Creates an offscreen QGuiApplication when none exists, prints the
// result and returns the exit status.
int RunRenderCommand(const QStringList& arguments);

} // namespace orvanta
