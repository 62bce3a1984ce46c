// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// "orvanta --render OUT.png [...]": renders one frame of the compass to a PNG
// without a display, for skin authors, the documentation and tests. It starts
// like the program does (its options, units and skins, portable or installed),
// applies the frame options given on the command line (the table in
// commandlineoptions.cpp), renders the frame as it would appear on a desktop
// of the given size, writes it with straight alpha, prints the readout on
// standard output and saves nothing else.
//
// Exit status 0 on success, 2 for a bad argument (one line naming it), 1 when
// the frame could not be made or written.

#include <QPoint>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

namespace orvanta {

class CommandLineOptions;
struct ProgramPaths;

inline constexpr int kRenderExitFailed = 1;
inline constexpr int kRenderExitBadArguments = 2;

struct RenderRequest {
    QString output;
    QString skin; // empty: the skin the options select
    std::optional<float> angle;
    std::optional<float> spread;
    std::optional<int> shape;
    std::optional<int> scribe;
    std::optional<int> measureType;
    std::optional<int> unit;
    std::optional<bool> quality;
    std::optional<QPoint> pos;
    QSize desktop{1920, 1080};
    std::optional<QSizeF> screenMillimetres;
    bool crop = false;
    bool help = false;
};

// The request the parsed command line makes, or the one-line error naming the
// offending value.
[[nodiscard]] std::variant<RenderRequest, QString> renderRequest(const CommandLineOptions& options);
// The same from the arguments that follow the program name.
[[nodiscard]] std::variant<RenderRequest, QString> parseRenderArguments(const QStringList& args);

struct RenderResult {
    int exitCode = 0;
    QString out; // the readout line, or the help
    QString err; // errors and skin messages, one per line
};

// Runs the command with the options, units and skins of `paths`. Needs a
// QGuiApplication.
[[nodiscard]] RenderResult renderCommand(const QStringList& args, const ProgramPaths& paths);
// The same with everything in the program folder `programFolder` (trailing "/").
[[nodiscard]] RenderResult renderCommand(const QStringList& args, const QString& programFolder);

// The entry from main: `arguments` is the whole command line, program name
// first. Creates an offscreen QGuiApplication when none exists, prints the
// result and returns the exit status.
int runRenderCommand(const QStringList& arguments);

} // namespace orvanta
