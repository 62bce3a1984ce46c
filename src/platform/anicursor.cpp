// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/anicursor.h"

#include "model/numbers.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>
#include <algorithm>
#include <limits>
#include <optional>

namespace orvanta {

namespace {

// A cursor of more frames or steps than this is not a cursor but a file
// trying to make us allocate: real ones have a handful.
constexpr quint32 kMaxFramesOrSteps = 1024;
// Cursor files are a few kilobytes; reading more than this is refused.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
constexpr int kChunkHeaderSize = 8;
constexpr int kAnihSize = 36;
constexpr quint32 kFlagIconFrames = 0x1; // frames are ICO/CUR, not raw bitmaps
constexpr int kJiffiesPerSecond = 60;
constexpr int kIconHeaderSize = 6;
constexpr int kIconEntrySize = 16;
constexpr quint16 kTypeIcon = 1;
constexpr quint16 kTypeCursor = 2;

[[noreturn]] void fail(const QString& message) {
    throw OrvantaError(message);
}

// Little-endian reads from a range whose bounds the caller has checked.
quint32 u32At(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}
quint16 u16At(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

struct Chunk {
    QByteArray id;
    qsizetype offset = 0; // of the data, after the header
    qsizetype size = 0;
};

// Splits [begin, end) of `bytes` into RIFF chunks. Each chunk's data must fit;
// the pad byte after odd-sized data may be missing at the very end, since
// several writers leave it out there.
std::vector<Chunk> splitChunks(const QByteArray& bytes, qsizetype begin, qsizetype end) {
    std::vector<Chunk> chunks;
    qsizetype pos = begin;
    while (end - pos >= kChunkHeaderSize) {
        Chunk chunk{bytes.mid(pos, 4), pos + kChunkHeaderSize, 0};
        const quint32 declared = u32At(bytes, pos + 4);
        if (declared > static_cast<quint64>(end - chunk.offset))
            fail(QStringLiteral("The chunk \"%1\" claims %2 bytes, but only %3 are left.")
                     .arg(QString::fromLatin1(chunk.id))
                     .arg(declared)
                     .arg(end - chunk.offset));
        chunk.size = declared;
        chunks.push_back(chunk);
        pos = chunk.offset + chunk.size + (chunk.size & 1);
    }
    if (end - pos > 1)
        fail(QStringLiteral("The data ends inside a chunk header."));
    return chunks;
}

const Chunk* findChunk(const std::vector<Chunk>& chunks, const char* id) {
    const auto it =
        std::find_if(chunks.begin(), chunks.end(), [id](const Chunk& c) { return c.id == id; });
    return it == chunks.end() ? nullptr : &*it;
}

// The "LIST" chunk of type "fram": the icon chunks inside it.
std::vector<Chunk> frameChunks(const QByteArray& bytes, const std::vector<Chunk>& chunks) {
    for (const Chunk& c : chunks) {
        if (c.id != "LIST" || c.size < 4 || bytes.mid(c.offset, 4) != "fram")
            continue;
        std::vector<Chunk> icons;
        for (const Chunk& sub : splitChunks(bytes, c.offset + 4, c.offset + c.size))
            if (sub.id == "icon")
                icons.push_back(sub);
        return icons;
    }
    fail(QStringLiteral("There is no list of frames."));
}

// DWORD array chunks ("rate", "seq "): exactly `count` entries are used.
std::optional<std::vector<quint32>> readDwords(const QByteArray& bytes, const Chunk* chunk,
                                               quint32 count) {
    if (!chunk)
        return std::nullopt;
    if (static_cast<quint64>(chunk->size) / 4 < count)
        fail(QStringLiteral("The chunk \"%1\" holds %2 entries for %3 steps.")
                 .arg(QString::fromLatin1(chunk->id))
                 .arg(chunk->size / 4)
                 .arg(count));
    std::vector<quint32> values(count);
    for (quint32 i = 0; i < count; ++i)
        values[i] = u32At(bytes, chunk->offset + 4 * static_cast<qsizetype>(i));
    return values;
}

int jiffiesToMs(quint32 jiffies) {
    // A zero duration would spin the timer; one jiffy is the shortest Windows shows.
    const qint64 ms =
        (static_cast<qint64>(std::max<quint32>(jiffies, 1)) * 1000 + kJiffiesPerSecond / 2) /
        kJiffiesPerSecond;
    return static_cast<int>(std::min<qint64>(ms, std::numeric_limits<int>::max()));
}

} // namespace

AniFrame decodeCursorImage(const QByteArray& bytes) {
    const bool iconHeader = bytes.size() >= kIconHeaderSize && u16At(bytes, 0) == 0 &&
                            (u16At(bytes, 2) == kTypeIcon || u16At(bytes, 2) == kTypeCursor);
    if (!iconHeader)
        fail(QStringLiteral("The frame is not an icon or cursor image."));
    const quint16 type = u16At(bytes, 2);
    const int count = u16At(bytes, 4);
    if (count == 0 || bytes.size() < kIconHeaderSize + count * kIconEntrySize)
        fail(QStringLiteral("The frame's image directory is empty or cut short."));

    // The ico plugin seeks image data by absolute offset: the buffer must hold
    // this frame alone.
    QByteArray own(bytes);
    QBuffer buffer(&own);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    AniFrame frame;
    frame.image = reader.read();
    if (frame.image.isNull())
        fail(QStringLiteral("The frame's image cannot be decoded: %1").arg(reader.errorString()));

    if (type == kTypeCursor)
        frame.hotspot =
            QPoint(u16At(bytes, kIconHeaderSize + 4), u16At(bytes, kIconHeaderSize + 6));
    else
        frame.hotspot = QPoint(frame.image.width() / 2, frame.image.height() / 2);
    // A hotspot outside the picture would point somewhere the user cannot see.
    frame.hotspot.setX(std::clamp(frame.hotspot.x(), 0, frame.image.width() - 1));
    frame.hotspot.setY(std::clamp(frame.hotspot.y(), 0, frame.image.height() - 1));
    return frame;
}

AniCursorData parseAni(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "ACON")
        fail(QStringLiteral("This is not an animated cursor (no RIFF ACON header)."));
    // Several writers get the RIFF size wrong; the chunks inside are checked
    // one by one instead, against what is really there.
    const qsizetype end =
        std::min<quint64>(static_cast<quint64>(u32At(bytes, 4)) + kChunkHeaderSize, bytes.size());
    const std::vector<Chunk> chunks = splitChunks(bytes, 12, end);

    const Chunk* anih = findChunk(chunks, "anih");
    if (!anih || anih->size < kAnihSize)
        fail(QStringLiteral("The header chunk \"anih\" is missing or shorter than %1 bytes.")
                 .arg(kAnihSize));
    const quint32 frameCount = u32At(bytes, anih->offset + 4);
    quint32 stepCount = u32At(bytes, anih->offset + 8);
    const quint32 defaultRate = u32At(bytes, anih->offset + 28);
    const quint32 flags = u32At(bytes, anih->offset + 32);
    if (stepCount == 0)
        stepCount = frameCount;
    if (frameCount == 0 || frameCount > kMaxFramesOrSteps || stepCount > kMaxFramesOrSteps)
        fail(QStringLiteral("The header declares %1 frames and %2 steps; 1 to %3 are allowed.")
                 .arg(frameCount)
                 .arg(stepCount)
                 .arg(kMaxFramesOrSteps));
    if (!(flags & kFlagIconFrames))
        fail(QStringLiteral("The frames are raw bitmaps, not icons; such cursors are not "
                            "supported."));

    const std::vector<Chunk> icons = frameChunks(bytes, chunks);
    if (icons.size() < frameCount)
        fail(QStringLiteral("The header declares %1 frames, but the file holds %2.")
                 .arg(frameCount)
                 .arg(icons.size()));

    AniCursorData data;
    data.frames.reserve(frameCount);
    for (quint32 i = 0; i < frameCount; ++i) {
        try {
            data.frames.push_back(decodeCursorImage(bytes.mid(icons[i].offset, icons[i].size)));
        } catch (const OrvantaError& e) {
            fail(QStringLiteral("Frame %1: %2").arg(i).arg(e.message()));
        }
    }

    const auto sequence = readDwords(bytes, findChunk(chunks, "seq "), stepCount);
    const auto rates = readDwords(bytes, findChunk(chunks, "rate"), stepCount);
    data.steps.reserve(stepCount);
    for (quint32 i = 0; i < stepCount; ++i) {
        // Without a sequence the frames are shown in order.
        const quint32 frame = sequence ? (*sequence)[i] : i % frameCount;
        if (frame >= frameCount)
            fail(QStringLiteral("Step %1 shows frame %2, but there are only %3.")
                     .arg(i)
                     .arg(frame)
                     .arg(frameCount));
        data.steps.push_back(
            AniStep{static_cast<int>(frame), jiffiesToMs(rates ? (*rates)[i] : defaultRate)});
    }
    return data;
}

AniCursorData loadAniFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Cannot open the cursor \"%1\": %2").arg(path, file.errorString()));
    if (file.size() > kMaxFileSize)
        fail(QStringLiteral("The cursor \"%1\" is too large (%2 bytes).")
                 .arg(path)
                 .arg(file.size()));
    try {
        return parseAni(file.readAll());
    } catch (const OrvantaError& e) {
        fail(QStringLiteral("The cursor \"%1\" is damaged. %2").arg(path, e.message()));
    }
}

AnimatedCursor::AnimatedCursor(const AniCursorData& data, QObject* parent)
    : QObject(parent), m_steps(data.steps) {
    Q_ASSERT(!data.frames.empty() && !data.steps.empty());
    m_cursors.reserve(data.frames.size());
    for (const AniFrame& frame : data.frames)
        m_cursors.emplace_back(QPixmap::fromImage(frame.image), frame.hotspot.x(),
                               frame.hotspot.y());
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &AnimatedCursor::advance);
}

const QCursor& AnimatedCursor::current() const {
    return m_cursors[m_steps[m_step].frame];
}

void AnimatedCursor::start() {
    if (m_steps.size() < 2 || m_running)
        return;
    m_running = true;
    m_timer.start(m_steps[m_step].durationMs);
}

void AnimatedCursor::stop() {
    m_running = false;
    m_timer.stop();
}

void AnimatedCursor::advance() {
    m_step = (m_step + 1) % stepCount();
    if (m_running)
        m_timer.start(m_steps[m_step].durationMs);
    Q_EMIT changed(current());
}

} // namespace orvanta
