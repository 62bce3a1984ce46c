// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The small ZIP reader behind skin packages. It understands what skin packages
// made with ordinary tools contain: deflated and stored entries, with sizes
// either in the local header or, for streaming writers, in the central
// directory. Everything is read into memory once and inflated on demand; every
// entry is checked against its CRC-32 and its size before it is handed out.
//
// Packages are untrusted: no size read from a header is believed until the data
// has been inflated, and nothing is allocated beyond the byte limit given to the
// constructor. ZIP64, encryption and other compression methods are refused with
// a message that says so.

#include "model/numbers.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvanta {

// The entry's content does not match its CRC-32 or its recorded size.
class ZipCrcError : public OrvantaError {
public:
    using OrvantaError::OrvantaError;
    explicit ZipCrcError(const OrvantaError& error) : OrvantaError(error) {}
};

// Big enough for any skin, small enough that a hostile package cannot exhaust
// memory: the limit applies to the archive file and, separately, to the
// inflated content of its entries.
inline constexpr std::int64_t kMaxPackageBytes = std::int64_t(256) * 1024 * 1024;

// The fields a local header and a central directory entry share, in the order
// they are stored.
struct ZipEntryFields {
    std::uint16_t versionNeeded = 0;
    std::uint16_t flags = 0;
    std::uint16_t compressionMethod = 0;
    std::uint16_t modTime = 0;
    std::uint16_t modDate = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint16_t fileNameLength = 0;
    std::uint16_t extraFieldLength = 0;
};

// The local file header of one entry, in archive order. When the header defers
// CRC and sizes to a data descriptor (flag bit 3), those fields hold the values
// of the central directory instead.
struct ZipLocalEntry : ZipEntryFields {
    std::uint32_t signature = 0;
    QByteArray fileName; // bytes as stored
    QByteArray extraField;
    // Where the compressed bytes lie in the loaded archive. dataLength is less
    // than compressedSize when the archive ends early.
    qsizetype dataOffset = 0;
    qsizetype dataLength = 0;
};

// Stored after versionMadeBy, then the fields below in order.
struct ZipCentralEntry : ZipEntryFields {
    std::uint32_t signature = 0;
    std::uint16_t versionMadeBy = 0;
    std::uint16_t fileCommentLength = 0;
    std::uint16_t diskNumberStart = 0;
    std::uint16_t internalAttributes = 0;
    std::uint32_t externalAttributes = 0;
    std::uint32_t localHeaderOffset = 0;
    QByteArray fileName;
    QByteArray extraField;
    QByteArray fileComment;
};

struct ZipEndRecord {
    std::uint32_t signature = 0;
    std::uint16_t diskNumber = 0;
    std::uint16_t centralDirectoryDisk = 0;
    std::uint16_t entriesOnDisk = 0;
    std::uint16_t totalEntries = 0;
    std::uint32_t centralDirectorySize = 0;
    std::uint32_t centralDirectoryOffset = 0;
    std::uint16_t commentLength = 0;
    QByteArray comment;
};

class ZipFile {
public:
    explicit ZipFile(std::int64_t maxBytes = kMaxPackageBytes) : m_maxBytes(maxBytes) {}

    // Reads the whole file. Throws OrvantaError when it cannot be opened or read.
    void loadFromFile(const QString& fileName);
    // Reads from the current position to the end. Bytes that are not a ZIP
    // archive load as an archive with no entries. Throws OrvantaError for an
    // archive beyond the byte limit, for ZIP64 archives, and for entries whose
    // sizes are deferred to a central directory that is not there.
    void loadFromStream(QIODevice& stream);

    [[nodiscard]] int count() const { return int(m_local.size()); }
    // The entry's name: UTF-8 when flag bit 11 says so or the bytes are valid
    // UTF-8, GB18030 (what Chinese Windows archivers write) otherwise.
    [[nodiscard]] QString name(int i) const;
    // The verified content. Throws OrvantaError("Index out of range."), an
    // OrvantaError for encrypted entries, unsupported methods and entries over
    // the byte limit, and ZipCrcError when the content does not match.
    [[nodiscard]] QByteArray data(int i) const;

    [[nodiscard]] const ZipLocalEntry& localEntry(int i) const;
    // At most as many as there are local entries.
    [[nodiscard]] const std::vector<ZipCentralEntry>& centralEntries() const { return m_central; }
    [[nodiscard]] const std::optional<ZipEndRecord>& endRecord() const { return m_end; }
    [[nodiscard]] std::int64_t maxBytes() const { return m_maxBytes; }

private:
    void checkIndex(int i) const;

    std::int64_t m_maxBytes;
    QByteArray m_bytes; // the whole archive; entries point into it
    std::vector<ZipLocalEntry> m_local;
    std::vector<ZipCentralEntry> m_central;
    std::optional<ZipEndRecord> m_end;
};

} // namespace orvanta
