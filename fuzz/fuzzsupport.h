// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What every fuzz target shares: a Qt application on the offscreen platform
// (fonts, image plugins and cursors need one), a private scratch folder, and a
// way to write an input where a reader expects a file.
//
// Only OrvantaError is an expected outcome of a bad input; anything else that
// escapes a target (another exception, a sanitizer report, an abort from a
// broken invariant) is a finding.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace orvanta::fuzz {

// Qt's warnings about bad pictures would bury libFuzzer's own output; fatal
// messages still abort inside Qt after this handler returns.
inline void quietQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

inline void startQt(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQtMessages);
    // Never destroyed: at exit Qt's own globals may already be gone, and a
    // reachable pointer is no leak.
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
}

// A folder that lives as long as the fuzzing process.
inline const QDir& scratch() {
    static QTemporaryDir dir;
    static const QDir d(dir.path());
    return d;
}

// A broken invariant: libFuzzer saves the input that caused it.
[[noreturn]] inline void failure(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void check(bool ok, const char* what) {
    if (!ok)
        failure(what);
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        failure("cannot write the scratch file");
}

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace orvanta::fuzz
