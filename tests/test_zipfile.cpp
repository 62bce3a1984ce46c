// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "data/packages/fixtures.h"
#include "model/textcodec.h"
#include "package/zipfile.h"
#include "testfiles.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;
using test::errorOf;
using ziptest::Entry;

namespace {

ZipFile loaded(const QByteArray& bytes, std::int64_t maxBytes = kMaxPackageBytes) {
    ZipFile zip(maxBytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    zip.loadFromStream(buffer);
    return zip;
}

const QByteArray kText = "[Main]\r\nImage=wood.png\r\n";

} // namespace

TEST(ZipFile, ReadsStoredDeflatedEmptyAndDescribedEntries) {
    const QByteArray big(100000, 'x');
    const QList<Entry> entries = {
        {.name = "a.ini", .content = kText},
        {.name = "b.bin", .content = "stored", .method = 0},
        {.name = "empty", .content = {}, .method = 0},
        {.name = "c.txt", .content = big, .dataDescriptor = true},
        {.name = "d.txt", .content = kText, .dataDescriptor = true, .descriptorSignature = false},
        {.name = "e.txt", .content = "after the descriptors"},
    };
    // Offsets in a central directory do not count bytes put before the
    // archive; the reader finds it through the end record and shifts them.
    for (const QByteArray& prefix : {QByteArray(), QByteArray(8, '\0')}) {
        const ZipFile zip = loaded(ziptest::build(entries, {.prefix = prefix}));
        ASSERT_EQ(zip.count(), entries.size());
        for (int i = 0; i < zip.count(); ++i) {
            EXPECT_EQ(zip.name(i).toUtf8(), entries[i].name);
            EXPECT_EQ(zip.data(i), entries[i].content) << i;
        }
    }
}

TEST(ZipFile, BytesThatAreNoArchiveHaveNoEntries) {
    const QByteArray archive = ziptest::build({{.name = "a.ini", .content = kText}});
    const QByteArray cases[] = {
        {},
        QByteArray("PK\x03\x04", 4),
        QByteArray("xy") + archive, // a header off the four-byte grid is not looked for
        ziptest::build({}),         // an end record alone
    };
    for (const QByteArray& bytes : cases)
        EXPECT_EQ(loaded(bytes).count(), 0) << bytes.toStdString();
}

TEST(ZipFile, DamagedEntriesFailWithTheirName) {
    const QByteArray deflated = ziptest::deflateRaw(kText);
    const QByteArray thousandA(1000, 'a');
    const QString crcError = "CRC Error in \"a.ini\".";
    const struct {
        const char* label;
        Entry entry;
        QString expected;
    } cases[] = {
        {"wrong CRC", {.name = "a.ini", .content = kText, .crc = 0x1234}, crcError},
        {"deflate data cut short",
         {.name = "a.ini", .content = kText, .rawData = deflated.left(deflated.size() / 2)},
         crcError},
        {"short content with the empty string's CRC",
         {.name = "a.ini", .content = kText, .crc = 0, .rawData = ziptest::deflateRaw({})},
         crcError},
        {"stored size disagrees",
         {.name = "a.ini", .content = kText, .method = 0, .uncompressedSize = 5},
         crcError},
        {"inflates past its size",
         {.name = "a.ini",
          .content = thousandA,
          .crc = ziptest::crcOf(thousandA.left(10)),
          .uncompressedSize = 10},
         crcError},
        {"unknown method",
         {.name = "b.bin", .content = "x", .method = 12},
         "\"b.bin\" uses compression method 12; only deflate (8) and stored (0) entries are "
         "supported."},
        {"encrypted",
         {.name = "s.ini", .content = kText, .flags = 1},
         "\"s.ini\" is encrypted; encrypted packages are not supported."},
        {"size beyond the limit",
         {.name = "big.png", .content = "x", .uncompressedSize = 0xF0000000},
         "\"big.png\" is too large: 4026531840 bytes, more than the 268435456 bytes a package "
         "may hold."},
    };
    for (const auto& c : cases) {
        const ZipFile zip = loaded(ziptest::build({c.entry}));
        ASSERT_EQ(zip.count(), 1) << c.label;
        EXPECT_EQ(errorOf([&] { (void)zip.data(0); }), c.expected) << c.label;
    }
    const ZipFile bad = loaded(ziptest::build({{.name = "a.ini", .content = kText, .crc = 7}}));
    EXPECT_THROW((void)bad.data(0), ZipCrcError);
    for (int i : {-1, 1}) {
        EXPECT_EQ(errorOf([&] { (void)bad.data(i); }), "Index out of range.");
        EXPECT_EQ(errorOf([&] { (void)bad.name(i); }), "Index out of range.");
    }
}

TEST(ZipFile, TruncatedArchiveFailsOnTheCutEntry) {
    const QByteArray archive =
        ziptest::build({{.name = "a.ini", .content = kText},
                        {.name = "b.txt", .content = QByteArray(5000, 'b'), .method = 0}});
    const ZipFile zip = loaded(archive.left(archive.size() / 2));
    ASSERT_EQ(zip.count(), 2);
    EXPECT_EQ(zip.data(0), kText);
    EXPECT_EQ(errorOf([&] { (void)zip.data(1); }), "CRC Error in \"b.txt\".");
}

TEST(ZipFile, ArchivesOutsideTheReaderFailToLoad) {
    const Entry ini{.name = "a.ini", .content = kText};
    const QList<Entry> tooMany(0x10000, Entry{.name = "e", .method = 0});
    const struct {
        const char* label;
        QByteArray bytes;
        QString expected;
    } cases[] = {
        {"ZIP64 size field",
         ziptest::build({{.name = "a.ini", .content = kText, .compressedSize = 0xFFFFFFFF}}),
         "ZIP64 archives are not supported."},
        {"ZIP64 end record",
         ziptest::build({ini}, {false}) + QByteArray("PK\x06\x06", 4) + QByteArray(52, '\0'),
         "ZIP64 archives are not supported."},
        {"sizes deferred without a central directory",
         ziptest::build({{.name = "a.ini", .content = kText, .dataDescriptor = true}}, {false}),
         "Cannot find the size of \"a.ini\": the archive has no central directory entry for it."},
        {"too many entries", ziptest::build(tooMany, {false}),
         "The archive has more than 65535 entries."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf([&] { (void)loaded(c.bytes); }), c.expected) << c.label;
    const QByteArray archive =
        ziptest::build({{.name = "a", .content = QByteArray(300, 'z'), .method = 0}});
    EXPECT_EQ(errorOf([&] { (void)loaded(archive, 200); }),
              "The archive is larger than the 200 bytes a package may hold.");

    ZipFile zip;
    const QString missing = QTemporaryDir().filePath("absent.compassskin");
    EXPECT_TRUE(errorOf([&] {
                    zip.loadFromFile(missing);
                }).startsWith("Cannot open file \"" + missing + "\". "));
}

TEST(ZipFile, NamesAreUtf8OrGb18030) {
    const QString chinese = QStringLiteral("木纹/皮肤.ini");
    const std::pair<QByteArray, std::uint16_t> cases[] = {
        {chinese.toUtf8(), 1 << 11}, {chinese.toUtf8(), 0}, {encodeGb18030(chinese), 0}};
    for (const auto& [stored, flags] : cases) {
        const ZipFile zip =
            loaded(ziptest::build({{.name = stored, .content = "x", .method = 0, .flags = flags}}));
        ASSERT_EQ(zip.count(), 1);
        EXPECT_EQ(zip.name(0).toStdString(), chinese.toStdString());
    }
}
