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
class EZipFileCRCError : public OrvantaError {
public:
    using OrvantaError::OrvantaError;
};

// Big enough for any skin, small enough that a hostile package cannot exhaust
// memory: the limit applies to the archive file and, separately, to the
// inflated content of its entries.
inline constexpr std::int64_t kMaxPackageBytes = std::int64_t(256) * 1024 * 1024;

// The fields a local header and a central directory entry share, in the order
// they are stored.
struct TZipEntryFields {
    std::uint16_t VersionNeeded = 0;
    std::uint16_t Flags = 0;
    std::uint16_t CompressionMethod = 0;
    std::uint16_t ModTime = 0;
    std::uint16_t ModDate = 0;
    std::uint32_t Crc32 = 0;
    std::uint32_t CompressedSize = 0;
    std::uint32_t UncompressedSize = 0;
    std::uint16_t FileNameLength = 0;
    std::uint16_t ExtraFieldLength = 0;
};

// The local file header of one entry, in archive order. When the header defers
// CRC and sizes to a data descriptor (flag bit 3), those fields hold the values
// of the central directory instead.
struct TZipLocalEntry : TZipEntryFields {
    std::uint32_t Signature = 0;
    QByteArray FileName; // bytes as stored
    QByteArray ExtraField;
    // Where the compressed bytes lie in the loaded archive. DataLength is less
    // than CompressedSize when the archive ends early.
    qsizetype DataOffset = 0;
    qsizetype DataLength = 0;
};

// Stored after VersionMadeBy, then the fields below in order.
struct TZipCentralEntry : TZipEntryFields {
    std::uint32_t Signature = 0;
    std::uint16_t VersionMadeBy = 0;
    std::uint16_t FileCommentLength = 0;
    std::uint16_t DiskNumberStart = 0;
    std::uint16_t InternalAttributes = 0;
    std::uint32_t ExternalAttributes = 0;
    std::uint32_t LocalHeaderOffset = 0;
    QByteArray FileName;
    QByteArray ExtraField;
    QByteArray FileComment;
};

struct TZipEndRecord {
    std::uint32_t Signature = 0;
    std::uint16_t DiskNumber = 0;
    std::uint16_t CentralDirectoryDisk = 0;
    std::uint16_t EntriesOnDisk = 0;
    std::uint16_t TotalEntries = 0;
    std::uint32_t CentralDirectorySize = 0;
    std::uint32_t CentralDirectoryOffset = 0;
    std::uint16_t CommentLength = 0;
    QByteArray Comment;
};

class TZipFile {
public:
    explicit TZipFile(std::int64_t maxBytes = kMaxPackageBytes) : m_maxBytes(maxBytes) {}

    // Reads the whole file. Throws OrvantaError when it cannot be opened or read.
    void LoadFromFile(const QString& fileName);
    // Reads from the current position to the end. Bytes that are not a ZIP
    // archive load as an archive with no entries. Throws OrvantaError for an
    // archive beyond the byte limit, for ZIP64 archives, and for entries whose
    // sizes are deferred to a central directory that is not there.
    void LoadFromStream(QIODevice& stream);

    [[nodiscard]] int Count() const { return int(m_local.size()); }
    // The entry's name: UTF-8 when flag bit 11 says so or the bytes are valid
    // UTF-8, GB18030 (what Chinese Windows archivers write) otherwise.
    [[nodiscard]] QString Name(int i) const;
    // The verified content. Throws OrvantaError("Index out of range."), an
    // OrvantaError for encrypted entries, unsupported methods and entries over
    // the byte limit, and EZipFileCRCError when the content does not match.
    [[nodiscard]] QByteArray Data(int i) const;

    [[nodiscard]] const TZipLocalEntry& LocalEntry(int i) const;
    // At most as many as there are local entries.
    [[nodiscard]] const std::vector<TZipCentralEntry>& CentralEntries() const { return m_central; }
    [[nodiscard]] const std::optional<TZipEndRecord>& EndRecord() const { return m_end; }
    [[nodiscard]] std::int64_t maxBytes() const { return m_maxBytes; }

private:
    void checkIndex(int i) const;

    std::int64_t m_maxBytes;
    QByteArray m_bytes; // the whole archive; entries point into it
    std::vector<TZipLocalEntry> m_local;
    std::vector<TZipCentralEntry> m_central;
    std::optional<TZipEndRecord> m_end;
};

} // namespace orvanta
