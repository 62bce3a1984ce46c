// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Package fixtures for the tests. build() writes small ZIP archives byte by
// byte, so that tests can make sound packages and every kind of damaged or
// hostile one; kTools are the archivers people really use, run on a sample
// skin folder at test time.

#include "testfiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>
#include <zlib.h>

namespace ziptest {

struct Entry {
    QByteArray name = {};
    QByteArray content = {};
    std::uint16_t method = 8; // 8 is deflated here; anything else is written as it is
    std::uint16_t flags = 0;
    // Streaming style: zeros in the local header, a data descriptor after the
    // data, the true CRC and sizes in the central directory.
    bool dataDescriptor = false;
    bool descriptorSignature = true;
    // Lies told by the headers.
    std::optional<std::uint32_t> crc = std::nullopt;
    std::optional<std::uint32_t> compressedSize = std::nullopt;
    std::optional<std::uint32_t> uncompressedSize = std::nullopt;
    std::optional<QByteArray> rawData = std::nullopt; // the bytes after the header
};

struct Options {
    bool centralDirectory = true;
    QByteArray prefix = {}; // bytes before the archive; central offsets ignore them
};

// Little-endian fields, each a value and its size in bytes.
inline void put(QByteArray& out, std::initializer_list<std::pair<std::uint32_t, int>> fields) {
    for (const auto& [value, size] : fields)
        for (int i = 0; i < size; ++i)
            out.append(char((value >> (8 * i)) & 0xFF));
}

// Raw deflate (no zlib header or checksum), as ZIP entries hold it. Made with
// zlib itself: qCompress gives no stream at all for empty data.
inline QByteArray deflateRaw(const QByteArray& data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&z, uLong(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

inline std::uint32_t crcOf(const QByteArray& data) {
    return std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
}

inline QByteArray build(const QList<Entry>& entries, const Options& options = {}) {
    QByteArray out = options.prefix;
    QByteArray central;
    for (const Entry& e : entries) {
        const QByteArray data =
            e.rawData ? *e.rawData : (e.method == 8 ? deflateRaw(e.content) : e.content);
        const std::uint32_t crc = e.crc.value_or(crcOf(e.content));
        const std::uint32_t csize = e.compressedSize.value_or(std::uint32_t(data.size()));
        const std::uint32_t usize = e.uncompressedSize.value_or(std::uint32_t(e.content.size()));
        const std::uint32_t flags = e.flags | (e.dataDescriptor ? 8 : 0);
        const auto offset = std::uint32_t(out.size() - options.prefix.size());
        const std::uint32_t deferred = e.dataDescriptor ? 0 : 1;
        const auto nameSize = std::uint32_t(e.name.size());

        put(out, {{0x04034B50, 4}, {20, 2}, {flags, 2}, {e.method, 2}, {0, 2}, {0x21, 2}});
        put(out, {{crc * deferred, 4}, {csize * deferred, 4}, {usize * deferred, 4}});
        put(out, {{nameSize, 2}, {0, 2}});
        out += e.name + data;
        if (e.dataDescriptor && e.descriptorSignature)
            put(out, {{0x08074B50, 4}});
        if (e.dataDescriptor)
            put(out, {{crc, 4}, {csize, 4}, {usize, 4}});

        put(central, {{0x02014B50, 4}, {0x031E, 2}, {20, 2}, {flags, 2}, {e.method, 2}});
        put(central, {{0, 2}, {0x21, 2}, {crc, 4}, {csize, 4}, {usize, 4}, {nameSize, 2}});
        put(central, {{0, 2}, {0, 2}, {0, 2}, {0, 2}, {0, 4}, {offset, 4}});
        central += e.name;
    }
    if (!options.centralDirectory)
        return out;
    const auto centralOffset = std::uint32_t(out.size() - options.prefix.size());
    const auto count = std::uint32_t(entries.size());
    out += central;
    put(out, {{0x06054B50, 4}, {0, 2}, {0, 2}, {count, 2}, {count, 2}});
    put(out, {{std::uint32_t(central.size()), 4}, {centralOffset, 4}, {0, 2}});
    return out;
}

// A small skin as people make them: an INI file, an incompressible picture
// (which Info-ZIP stores rather than deflates), an empty file and a large
// compressible one. Written under dir/Wood; returns relative path -> content.
// A picture a skin can use: a 20 x 10 PNG.
inline QByteArray pngPicture() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage(20, 10, QImage::Format_ARGB32).save(&buffer, "PNG");
    return bytes;
}

inline QMap<QString, QByteArray> writeSampleSkin(const QString& dir) {
    QByteArray noise; // what no archiver can compress
    for (std::uint32_t i = 0, x = 12345; i < 3000; ++i, x = x * 1103515245 + 12345)
        noise.append(char(x >> 16));
    const QMap<QString, QByteArray> files{
        {"Wood/wood.ini", "[Horizontal]\r\nImage=images/leg.png\r\n"},
        {"Wood/images/leg.png", pngPicture()},
        {"Wood/images/noise.bin", noise},
        {"Wood/empty.txt", {}},
        {"Wood/notes.txt", QByteArray(40000, 'n')}};
    for (auto it = files.begin(); it != files.end(); ++it)
        orvanta::test::writeAll(QDir(dir).filePath(it.key()), it.value());
    return files;
}

struct Tool {
    const char* name;
    const char* program;
    QStringList arguments; // "{out}" stands for the archive; none: standard output
};

inline const QString kScript =
    QStringLiteral(ORVANTA_SOURCE_DIR "/tests/data/packages/make_package.py");
// Between them: data descriptors with and without seeking, and stored entries.
inline const Tool kTools[] = {
    {"PythonSeekable", "python3", {kScript, "{out}", "Wood"}},
    {"PythonStream", "python3", {kScript, "-", "Wood"}},
    {"InfoZip", "zip", {"-q", "-r", "{out}", "Wood"}},
    {"CmakeTar", "cmake", {"-E", "tar", "cf", "{out}", "--format=zip", "Wood"}},
};

// Packs workDir/Wood into `output`. Nothing when the tool is not installed,
// otherwise an error text that is empty on success.
inline std::optional<QString> makeWithTool(const Tool& tool, const QString& workDir,
                                           const QString& output) {
    const QString program = QStandardPaths::findExecutable(tool.program);
    if (program.isEmpty())
        return std::nullopt;
    QStringList arguments = tool.arguments;
    // Through a pipe, not a file: a writer that cannot seek back defers sizes.
    const bool toPipe = !arguments.contains("{out}");
    arguments.replaceInStrings("{out}", output);
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return program + " failed: " + QString::fromLocal8Bit(process.readAllStandardError());
    QFile f(output);
    const QByteArray bytes = process.readAllStandardOutput();
    if (toPipe && (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()))
        return "cannot write " + output;
    return QString();
}

} // namespace ziptest
