#pragma once
// Package fixtures for the tests. build() writes small ZIP archives byte by
// byte, so that tests can make sound packages and every kind of damaged or
// hostile one; makeWithTool() has the archivers people really use pack a
// sample skin folder at run time.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <zlib.h>

namespace ziptest {

struct Entry {
    QByteArray name = {};
    QByteArray content = {};
    std::uint16_t method = 8; // 0 stored, 8 deflated, anything else is written as stored
    std::uint16_t flags = 0;
    // Streaming style: CRC and sizes zero in the local header, a data descriptor
    // after the data, the true values in the central directory.
    bool dataDescriptor = false;
    bool descriptorSignature = true;
    // Lies told by the local header (and the central directory).
    std::optional<std::uint32_t> crc = std::nullopt;
    std::optional<std::uint32_t> compressedSize = std::nullopt;
    std::optional<std::uint32_t> uncompressedSize = std::nullopt;
    std::optional<QByteArray> rawData = std::nullopt; // the bytes after the header, as given
};

struct Options {
    bool centralDirectory = true;
    QByteArray prefix = {}; // bytes before the archive; central offsets ignore them
};

inline void put16(QByteArray& out, std::uint32_t v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

inline void put32(QByteArray& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

inline QByteArray deflateRaw(const QByteArray& data) {
    z_stream zs{};
    deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&zs, uLong(data.size()))), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(qsizetype(zs.total_out));
    deflateEnd(&zs);
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
        const std::uint16_t flags = e.flags | (e.dataDescriptor ? 8 : 0);
        const auto offset = std::uint32_t(out.size() - options.prefix.size());

        put32(out, 0x04034B50);
        put16(out, 20);
        put16(out, flags);
        put16(out, e.method);
        put16(out, 0);
        put16(out, 0x21);
        put32(out, e.dataDescriptor ? 0 : crc);
        put32(out, e.dataDescriptor ? 0 : csize);
        put32(out, e.dataDescriptor ? 0 : usize);
        put16(out, std::uint32_t(e.name.size()));
        put16(out, 0);
        out += e.name;
        out += data;
        if (e.dataDescriptor) {
            if (e.descriptorSignature)
                put32(out, 0x08074B50);
            put32(out, crc);
            put32(out, csize);
            put32(out, usize);
        }

        put32(central, 0x02014B50);
        put16(central, 0x031E);
        put16(central, 20);
        put16(central, flags);
        put16(central, e.method);
        put16(central, 0);
        put16(central, 0x21);
        put32(central, crc);
        put32(central, csize);
        put32(central, usize);
        put16(central, std::uint32_t(e.name.size()));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, 0);
        put32(central, offset);
        central += e.name;
    }
    if (!options.centralDirectory)
        return out;
    const auto centralOffset = std::uint32_t(out.size() - options.prefix.size());
    out += central;
    put32(out, 0x06054B50);
    put16(out, 0);
    put16(out, 0);
    put16(out, std::uint32_t(entries.size()));
    put16(out, std::uint32_t(entries.size()));
    put32(out, std::uint32_t(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

// A small skin as people make them: an INI file, an incompressible picture
// (which Info-ZIP stores rather than deflates), an empty file and a large
// compressible one. Written under dir/Wood; returns relative path -> content.
inline QMap<QString, QByteArray> writeSampleSkin(const QString& dir) {
    QByteArray picture(3000, '\0');
    QRandomGenerator random(42);
    for (char& c : picture)
        c = char(random.bounded(256));
    QByteArray notes;
    for (int i = 0; i < 2000; ++i)
        notes += "line " + QByteArray::number(i % 17) + " of the notes\n";
    const QMap<QString, QByteArray> files{
        {"Wood/wood.ini", "[Main]\r\nImage=images/leg.png\r\n"},
        {"Wood/images/leg.png", picture},
        {"Wood/empty.txt", {}},
        {"Wood/notes.txt", notes},
    };
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = QDir(dir).filePath(it.key());
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(it.value()) != it.value().size())
            return {};
    }
    return files;
}

enum class Tool { PythonSeekable, PythonStream, InfoZip, CmakeTar };

inline const char* toolName(Tool tool) {
    switch (tool) {
    case Tool::PythonSeekable:
        return "PythonSeekable";
    case Tool::PythonStream:
        return "PythonStream";
    case Tool::InfoZip:
        return "InfoZip";
    case Tool::CmakeTar:
        return "CmakeTar";
    }
    return "";
}

inline QString makePackageScript() {
    return QStringLiteral(ORVANTA_SOURCE_DIR "/tests/data/packages/make_package.py");
}

// Runs `program arguments` in `workDir`; its standard output, when `stdoutFile`
// is given, goes there. Empty on success, otherwise what went wrong.
inline QString run(const QString& program, const QStringList& arguments, const QString& workDir,
                   const QString& stdoutFile = {}) {
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return program + " did not finish";
    const QByteArray out = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + " failed: " + QString::fromLocal8Bit(process.readAllStandardError());
    if (!stdoutFile.isEmpty()) {
        QFile f(stdoutFile);
        if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size())
            return "cannot write " + stdoutFile;
    }
    return {};
}

struct ToolResult {
    bool available = false;
    QString error; // empty when the archive was written
};

// Packs workDir/folder into `output` (a path) with the tool. Python in stream
// mode writes to a pipe, so its archive has data descriptors.
inline ToolResult makeWithTool(Tool tool, const QString& workDir, const QString& folder,
                               const QString& output, const QString& pythonMode = {}) {
    const QString program = tool == Tool::InfoZip    ? QStringLiteral("zip")
                            : tool == Tool::CmakeTar ? QStringLiteral("cmake")
                                                     : QStringLiteral("python3");
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return {};
    switch (tool) {
    case Tool::PythonSeekable:
        return {true, run(path,
                          {makePackageScript(), pythonMode.isEmpty() ? "seekable" : pythonMode,
                           output, folder},
                          workDir)};
    case Tool::PythonStream:
        return {true, run(path, {makePackageScript(), "stream", "-", folder}, workDir, output)};
    case Tool::InfoZip:
        return {true, run(path, {"-q", "-r", output, folder}, workDir)};
    case Tool::CmakeTar:
        return {true, run(path, {"-E", "tar", "cf", output, "--format=zip", folder}, workDir)};
    }
    return {};
}

} // namespace ziptest
