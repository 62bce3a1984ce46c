// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "package/zipfile.h"

#include "model/orvantaerror.h"
#include "model/textcodec.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <new>
#include <unordered_map>
#include <zlib.h>

namespace orvanta {

namespace {

constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint32_t kZip64EndSignature = 0x06064B50;
constexpr std::uint32_t kDescriptorSignature = 0x08074B50;

constexpr std::uint16_t kFlagEncrypted = 1 << 0;
constexpr std::uint16_t kFlagDataDescriptor = 1 << 3;
constexpr std::uint16_t kFlagUtf8Name = 1 << 11;

constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;

// A field of all ones means "the real value is in the ZIP64 extra field".
constexpr std::uint32_t kZip64Marker = 0xFFFFFFFF;
constexpr std::uint16_t kZip64ExtraId = 0x0001;

// The most entries a central directory without ZIP64 can count; also keeps a
// hostile archive of empty headers from growing the tables without end.
constexpr std::size_t kMaxEntries = 0xFFFF;

constexpr qsizetype kEndRecordSize = 22;
constexpr qsizetype kMaxCommentLength = 0xFFFF;
// CRC-32, compressed size, uncompressed size after the optional signature.
constexpr qsizetype kDescriptorSize = 12;
constexpr qsizetype kChunkSize = 64 * 1024;

OrvantaError zip64Error() {
    return translatableError(QT_TRANSLATE_NOOP("Errors", "ZIP64 archives are not supported."));
}

// Little-endian fields over the loaded archive. A read past the end yields zero
// bytes for what is missing and leaves the position at the end, as a short read
// from a stream does.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView bytes, qsizetype pos = 0) : m_bytes(bytes), m_pos(pos) {}

    [[nodiscard]] qsizetype pos() const { return m_pos; }
    [[nodiscard]] bool atEnd() const { return m_pos >= m_bytes.size(); }

    QByteArrayView take(qsizetype n) {
        const qsizetype got = std::min(n, m_bytes.size() - m_pos);
        const QByteArrayView view = m_bytes.sliced(m_pos, got);
        m_pos += got;
        return view;
    }
    std::uint32_t u32() { return std::uint32_t(number(4)); }
    std::uint16_t u16() { return std::uint16_t(number(2)); }
    [[nodiscard]] std::uint32_t peek32() const { return ByteReader(m_bytes, m_pos).u32(); }

private:
    std::uint64_t number(qsizetype size) {
        const QByteArrayView bytes = take(size);
        std::uint64_t v = 0;
        for (qsizetype i = bytes.size() - 1; i >= 0; --i)
            v = (v << 8) | std::uint8_t(bytes[i]);
        return v;
    }

    QByteArrayView m_bytes;
    qsizetype m_pos;
};

bool hasExtraField(QByteArrayView extra, std::uint16_t id) {
    ByteReader r(extra);
    while (extra.size() - r.pos() >= 4) {
        const std::uint16_t fieldId = r.u16();
        const std::uint16_t size = r.u16();
        if (fieldId == id)
            return true;
        r.take(size);
    }
    return false;
}

void readEntryFields(ByteReader& r, ZipEntryFields& f) {
    f.versionNeeded = r.u16();
    f.flags = r.u16();
    f.compressionMethod = r.u16();
    f.modTime = r.u16();
    f.modDate = r.u16();
    f.crc32 = r.u32();
    f.compressedSize = r.u32();
    f.uncompressedSize = r.u32();
    f.fileNameLength = r.u16();
    f.extraFieldLength = r.u16();
}

// Reads the central entry whose signature `r` has just consumed.
ZipCentralEntry readCentralEntry(ByteReader& r) {
    ZipCentralEntry c;
    c.signature = kCentralSignature;
    c.versionMadeBy = r.u16();
    readEntryFields(r, c);
    c.fileCommentLength = r.u16();
    c.diskNumberStart = r.u16();
    c.internalAttributes = r.u16();
    c.externalAttributes = r.u32();
    c.localHeaderOffset = r.u32();
    c.fileName = r.take(c.fileNameLength).toByteArray();
    c.extraField = r.take(c.extraFieldLength).toByteArray();
    c.fileComment = r.take(c.fileCommentLength).toByteArray();
    return c;
}

// Reads the end record whose signature `r` has just consumed.
ZipEndRecord readEndRecord(ByteReader& r) {
    ZipEndRecord e;
    e.signature = kEndSignature;
    e.diskNumber = r.u16();
    e.centralDirectoryDisk = r.u16();
    e.entriesOnDisk = r.u16();
    e.totalEntries = r.u16();
    e.centralDirectorySize = r.u32();
    e.centralDirectoryOffset = r.u32();
    e.commentLength = r.u16();
    e.comment = r.take(e.commentLength).toByteArray();
    return e;
}

// The central directory found through the end record, keyed by where each
// entry's local header actually lies in the loaded bytes. Streaming writers
// only know an entry's sizes after its data, so this is where they are.
class CentralIndex {
public:
    explicit CentralIndex(QByteArrayView bytes) {
        const qsizetype endPos = findEndRecord(bytes);
        if (endPos < 0)
            return;
        ByteReader r(bytes, endPos + 4);
        const ZipEndRecord end = readEndRecord(r);
        if (end.centralDirectoryOffset == kZip64Marker || end.totalEntries == 0xFFFF)
            throw zip64Error();
        // The directory ends where the end record starts; any bytes before the
        // archive proper shift every recorded offset by the same amount.
        const qsizetype start = endPos - qsizetype(end.centralDirectorySize);
        if (start < 0)
            return;
        const qsizetype shift = start - qsizetype(end.centralDirectoryOffset);
        ByteReader c(bytes, start);
        while (c.pos() < endPos && c.u32() == kCentralSignature && m_entries.size() < kMaxEntries) {
            ZipCentralEntry entry = readCentralEntry(c);
            m_entries.emplace(qsizetype(entry.localHeaderOffset) + shift, std::move(entry));
        }
    }

    [[nodiscard]] const ZipCentralEntry* find(qsizetype localHeaderPos) const {
        const auto it = m_entries.find(localHeaderPos);
        return it == m_entries.end() ? nullptr : &it->second;
    }

private:
    static qsizetype findEndRecord(QByteArrayView bytes) {
        const qsizetype last = bytes.size() - kEndRecordSize;
        const qsizetype first = std::max<qsizetype>(0, last - kMaxCommentLength);
        for (qsizetype p = last; p >= first; --p) {
            ByteReader r(bytes, p);
            if (r.u32() != kEndSignature)
                continue;
            ByteReader comment(bytes, p + kEndRecordSize - 2);
            if (p + kEndRecordSize + comment.u16() <= bytes.size())
                return p;
        }
        return -1;
    }

    std::unordered_map<qsizetype, ZipCentralEntry> m_entries;
};

// Inflates raw deflate data that must come to exactly `expected` bytes and end
// there. The output grows with what the data really yields, so a header that
// lies about the size costs nothing until the data backs it up.
std::optional<QByteArray> inflateExactly(QByteArrayView raw, qsizetype expected) {
    if (expected == 0 && raw.isEmpty())
        return QByteArray();
    z_stream zs{};
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK)
        throw std::bad_alloc();
    struct Guard {
        z_stream* zs;
        ~Guard() { inflateEnd(zs); }
    } guard{&zs};
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    zs.avail_in = uInt(raw.size());

    QByteArray out;
    int rc = Z_OK;
    while (out.size() < expected && rc == Z_OK) {
        const qsizetype used = out.size();
        const qsizetype room = std::min(kChunkSize, expected - used);
        out.resize(used + room);
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + used);
        zs.avail_out = uInt(room);
        rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(used + room - qsizetype(zs.avail_out));
    }
    if (rc == Z_MEM_ERROR)
        throw std::bad_alloc();
    if (out.size() != expected || (rc != Z_OK && rc != Z_STREAM_END))
        return std::nullopt;
    if (rc == Z_OK) {
        // All the bytes are there; the data must end now rather than go on.
        unsigned char probe = 0;
        zs.next_out = &probe;
        zs.avail_out = 1;
        if (inflate(&zs, Z_NO_FLUSH) != Z_STREAM_END || zs.avail_out == 0)
            return std::nullopt;
    }
    return out;
}

// The whole archive, refused as soon as it grows past `maxBytes`.
QByteArray readArchive(QIODevice& stream, qint64 maxBytes) {
    const OrvantaError tooLarge = translatableError(
        QT_TRANSLATE_NOOP("Errors", "The archive is larger than the %1 bytes a package may hold."),
        {QString::number(maxBytes)});
    if (!stream.isSequential() && stream.size() - stream.pos() > maxBytes)
        throw tooLarge;
    QByteArray bytes;
    for (;;) {
        const qsizetype used = bytes.size();
        bytes.resize(used + kChunkSize);
        const qint64 got = stream.read(bytes.data() + used, kChunkSize);
        if (got < 0)
            throw translatableError(QT_TRANSLATE_NOOP("Errors", "Cannot read the archive. %1"),
                                    {stream.errorString()});
        bytes.resize(used + qsizetype(got));
        if (bytes.size() > maxBytes)
            throw tooLarge;
        if (got == 0)
            return bytes;
    }
}

// One local header with its data, the reader just past its signature. Sizes
// and CRC that the header defers to a data descriptor come from the central
// directory, found through the end record on first need.
ZipLocalEntry readLocalEntry(ByteReader& r, std::uint32_t signature, const QByteArray& bytes,
                             std::optional<CentralIndex>& central) {
    const qsizetype headerPos = r.pos() - 4;
    ZipLocalEntry e;
    e.signature = signature;
    readEntryFields(r, e);
    e.fileName = r.take(e.fileNameLength).toByteArray();
    e.extraField = r.take(e.extraFieldLength).toByteArray();
    if (e.compressedSize == kZip64Marker || e.uncompressedSize == kZip64Marker ||
        hasExtraField(e.extraField, kZip64ExtraId))
        throw zip64Error();

    const bool deferred = e.flags & kFlagDataDescriptor;
    if (deferred) {
        if (!central)
            central.emplace(bytes);
        const ZipCentralEntry* c = central->find(headerPos);
        if (!c)
            throw translatableError(
                QT_TRANSLATE_NOOP("Errors", "Cannot find the size of \"%1\": the archive has "
                                            "no central directory entry for it."),
                {decodeText(e.fileName)});
        if (c->compressedSize == kZip64Marker || c->uncompressedSize == kZip64Marker)
            throw zip64Error();
        e.crc32 = c->crc32;
        e.compressedSize = c->compressedSize;
        e.uncompressedSize = c->uncompressedSize;
    }
    e.dataOffset = r.pos();
    e.dataLength = r.take(e.compressedSize).size();
    if (deferred) {
        if (r.peek32() == kDescriptorSignature)
            r.u32();
        r.take(kDescriptorSize);
    }
    return e;
}

} // namespace

void ZipFile::loadFromFile(const QString& fileName) {
    // Read whole in one go: what is parsed is one snapshot of the file, however
    // another program treats it meanwhile.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw translatableError(QT_TRANSLATE_NOOP("Errors", "Cannot open file \"%1\". %2"),
                                {QDir::toNativeSeparators(fileName), file.errorString()});
    loadFromStream(file);
}

void ZipFile::loadFromStream(QIODevice& stream) {
    m_bytes.clear();
    m_local.clear();
    m_central.clear();
    m_end.reset();

    m_bytes = readArchive(stream, m_maxBytes);

    // The first local header is looked for at every fourth byte from the start.
    ByteReader r(m_bytes);
    std::uint32_t sig = 0;
    for (;;) {
        sig = r.u32();
        if (r.atEnd())
            return;
        if (sig == kLocalSignature)
            break;
    }

    std::optional<CentralIndex> central;
    while (sig == kLocalSignature) {
        if (m_local.size() >= kMaxEntries)
            throw translatableError(
                QT_TRANSLATE_NOOP("Errors", "The archive has more than %1 entries."),
                {QString::number(kMaxEntries)});
        m_local.push_back(readLocalEntry(r, sig, m_bytes, central));
        sig = r.u32();
    }

    while (sig == kCentralSignature) {
        ZipCentralEntry c = readCentralEntry(r);
        if (m_central.size() < m_local.size())
            m_central.push_back(std::move(c));
        sig = r.u32();
    }
    if (sig == kZip64EndSignature)
        throw zip64Error();
    if (sig == kEndSignature)
        m_end = readEndRecord(r);
}

void ZipFile::checkIndex(int i) const {
    if (i < 0 || i >= count())
        throw translatableError(QT_TRANSLATE_NOOP("Errors", "Index out of range."));
}

const ZipLocalEntry& ZipFile::localEntry(int i) const {
    checkIndex(i);
    return m_local[std::size_t(i)];
}

QString ZipFile::name(int i) const {
    const ZipLocalEntry& e = localEntry(i);
    if (e.flags & kFlagUtf8Name)
        return QString::fromUtf8(e.fileName);
    return decodeText(e.fileName);
}

QByteArray ZipFile::data(int i) const {
    const ZipLocalEntry& e = localEntry(i);
    const QString name = this->name(i);
    if (e.flags & kFlagEncrypted)
        throw translatableError(
            QT_TRANSLATE_NOOP("Errors",
                              "\"%1\" is encrypted; encrypted packages are not supported."),
            {name});
    if (std::int64_t(e.uncompressedSize) > m_maxBytes)
        throw translatableError(
            QT_TRANSLATE_NOOP(
                "Errors",
                "\"%1\" is too large: %2 bytes, more than the %3 bytes a package may hold."),
            {name, QString::number(e.uncompressedSize), QString::number(m_maxBytes)});

    const QByteArrayView raw(m_bytes.constData() + e.dataOffset, e.dataLength);
    const auto expected = qsizetype(e.uncompressedSize);
    std::optional<QByteArray> content;
    switch (e.compressionMethod) {
    case kMethodStored:
        if (raw.size() == expected)
            content = raw.toByteArray();
        break;
    case kMethodDeflated:
        content = inflateExactly(raw, expected);
        break;
    default:
        throw translatableError(
            QT_TRANSLATE_NOOP("Errors", "\"%1\" uses compression method %2; only deflate (8) and "
                                        "stored (0) entries are supported."),
            {name, QString::number(e.compressionMethod)});
    }
    // Content that falls short of its size is damaged even when the header's CRC
    // happens to be that of the empty string.
    if (!content || crc32_z(0, reinterpret_cast<const Bytef*>(content->constData()),
                            std::size_t(content->size())) != e.crc32)
        throw ZipCrcError(
            translatableError(QT_TRANSLATE_NOOP("Errors", "CRC Error in \"%1\"."), {name}));
    return *content;
}

} // namespace orvanta
