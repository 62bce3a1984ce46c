#include "app/package/zipfile.h"
#include "data/packages/fixtures.h"
#include "model/textcodec.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace orvanta;
using ziptest::Entry;

namespace {

TZipFile loaded(const QByteArray& bytes, std::int64_t maxBytes = kMaxPackageBytes) {
    TZipFile zip(maxBytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    zip.LoadFromStream(buffer);
    return zip;
}

// The message of the OrvantaError `f` throws, or a note that it threw none.
std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const OrvantaError& e) {
        return e.message().toStdString();
    }
    return "<no error>";
}

// A pipe-like device: no size, no seeking.
class SequentialBuffer : public QIODevice {
public:
    explicit SequentialBuffer(QByteArray bytes) : m_bytes(std::move(bytes)) { open(ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 n = std::min<qint64>(maxSize, m_bytes.size() - m_pos);
        std::memcpy(data, m_bytes.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_pos = 0;
};

const QByteArray kText = "[Main]\r\nImage=wood.png\r\n";

} // namespace

class ZipFileTools : public ::testing::TestWithParam<ziptest::Tool> {};

TEST_P(ZipFileTools, ReadsEveryEntryAsWritten) {
    QTemporaryDir dir;
    const auto files = ziptest::writeSampleSkin(dir.path());
    ASSERT_FALSE(files.isEmpty());
    const QString archive = dir.filePath("Wood.zip");
    const auto made = ziptest::makeWithTool(GetParam(), dir.path(), "Wood", archive);
    if (!made.available)
        GTEST_SKIP() << "archiver not installed";
    ASSERT_TRUE(made.error.isEmpty()) << made.error.toStdString();

    TZipFile zip;
    zip.LoadFromFile(archive);
    QMap<QString, QByteArray> read;
    bool deferredSizes = false;
    bool storedEntry = false;
    for (int i = 0; i < zip.Count(); ++i) {
        const QByteArray data = zip.Data(i);
        if (zip.Name(i).endsWith(u'/')) {
            EXPECT_TRUE(data.isEmpty()) << zip.Name(i).toStdString();
        } else {
            read.insert(zip.Name(i), data);
        }
        deferredSizes |= (zip.LocalEntry(i).Flags & 8) != 0;
        storedEntry |= zip.LocalEntry(i).CompressionMethod == 0 && !data.isEmpty();
    }
    EXPECT_EQ(read, files);
    // What makes each tool's output worth testing really is in it.
    if (GetParam() == ziptest::Tool::PythonStream || GetParam() == ziptest::Tool::CmakeTar) {
        EXPECT_TRUE(deferredSizes);
    }
    if (GetParam() == ziptest::Tool::InfoZip) {
        EXPECT_TRUE(storedEntry);
    }
}

INSTANTIATE_TEST_SUITE_P(Archivers, ZipFileTools,
                         ::testing::Values(ziptest::Tool::PythonSeekable,
                                           ziptest::Tool::PythonStream, ziptest::Tool::InfoZip,
                                           ziptest::Tool::CmakeTar),
                         [](const auto& info) {
                             return std::string(ziptest::toolName(info.param));
                         });

TEST(ZipFile, ReadsStoredDeflatedEmptyAndDescribedEntries) {
    const QByteArray big(100000, 'x');
    const TZipFile zip = loaded(ziptest::build({
        {.name = "a.ini", .content = kText},
        {.name = "b.bin", .content = "stored", .method = 0},
        {.name = "empty", .content = {}, .method = 0},
        {.name = "c.txt", .content = big, .dataDescriptor = true},
        {.name = "d.txt", .content = kText, .dataDescriptor = true, .descriptorSignature = false},
        {.name = "e.txt", .content = "after the descriptors"},
    }));
    ASSERT_EQ(zip.Count(), 6);
    EXPECT_EQ(zip.Data(0), kText);
    EXPECT_EQ(zip.Data(1), QByteArray("stored"));
    EXPECT_EQ(zip.Data(2), QByteArray());
    EXPECT_EQ(zip.Data(3), big);
    EXPECT_EQ(zip.Data(4), kText);
    EXPECT_EQ(zip.Data(5), QByteArray("after the descriptors"));
    EXPECT_EQ(zip.Name(5).toStdString(), "e.txt");
}

TEST(ZipFile, DescribedSizesAreFoundBehindAPrefix) {
    // Offsets in the central directory do not count the prefix; the reader
    // finds the directory from the end record and shifts them.
    const QByteArray prefix(8, '\0');
    const TZipFile zip =
        loaded(ziptest::build({{.name = "a.ini", .content = kText, .dataDescriptor = true},
                               {.name = "b.txt", .content = "two", .dataDescriptor = true}},
                              {.prefix = prefix}));
    ASSERT_EQ(zip.Count(), 2);
    EXPECT_EQ(zip.Data(0), kText);
    EXPECT_EQ(zip.Data(1), QByteArray("two"));
}

TEST(ZipFile, BytesThatAreNoArchiveHaveNoEntries) {
    const QByteArray archive = ziptest::build({{.name = "a.ini", .content = kText}});
    const struct {
        const char* label;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"text", "just some text, not an archive at all"},
        {"signature alone", QByteArray("PK\x03\x04", 4)},
        {"header off the four-byte grid", QByteArray("xy") + archive},
        {"only an end record", ziptest::build({})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(loaded(c.bytes).Count(), 0) << c.label;
}

TEST(ZipFile, DamagedEntriesFailWithTheirName) {
    const QByteArray deflated = ziptest::deflateRaw(kText);
    const QByteArray thousandA(1000, 'a');
    const QByteArray crcError = "CRC Error in \"a.ini\".";
    const struct {
        const char* label;
        Entry entry;
        QByteArray expected;
    } cases[] = {
        {"wrong CRC", {.name = "a.ini", .content = kText, .crc = 0x1234}, crcError},
        {"deflate data cut short",
         {.name = "a.ini", .content = kText, .rawData = deflated.left(deflated.size() / 2)},
         crcError},
        {"not deflate data",
         {.name = "a.ini", .content = kText, .rawData = "\xFF\xFF\xFF"},
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
        const TZipFile zip = loaded(ziptest::build({c.entry}));
        ASSERT_EQ(zip.Count(), 1) << c.label;
        EXPECT_EQ(errorOf([&] { (void)zip.Data(0); }), c.expected.toStdString()) << c.label;
    }
    const TZipFile bad = loaded(ziptest::build({{.name = "a.ini", .content = kText, .crc = 7}}));
    EXPECT_THROW((void)bad.Data(0), EZipFileCRCError);
}

TEST(ZipFile, TruncatedArchiveFailsOnTheCutEntry) {
    const QByteArray archive =
        ziptest::build({{.name = "a.ini", .content = kText},
                        {.name = "b.txt", .content = QByteArray(5000, 'b'), .method = 0}});
    const TZipFile zip = loaded(archive.left(archive.size() / 2));
    ASSERT_EQ(zip.Count(), 2);
    EXPECT_EQ(zip.Data(0), kText);
    EXPECT_EQ(errorOf([&] { (void)zip.Data(1); }), "CRC Error in \"b.txt\".");
}

TEST(ZipFile, IndexOutOfRange) {
    const TZipFile zip = loaded(ziptest::build({{.name = "a.ini", .content = kText}}));
    for (int i : {-1, 1, 1000}) {
        EXPECT_EQ(errorOf([&] { (void)zip.Data(i); }), "Index out of range.");
        EXPECT_EQ(errorOf([&] { (void)zip.Name(i); }), "Index out of range.");
    }
}

TEST(ZipFile, ArchivesOutsideTheReaderFailToLoad) {
    const QByteArray zip64Marker = ziptest::build(
        {{.name = "a.ini", .content = kText, .compressedSize = 0xFFFFFFFF}}, {false});
    const QByteArray zip64End = ziptest::build({{.name = "a.ini", .content = kText}}, {false}) +
                                QByteArray("PK\x06\x06", 4) + QByteArray(52, '\0');
    QList<Entry> tooMany(0x10000, Entry{.name = "e", .method = 0});
    const struct {
        const char* label;
        QByteArray bytes;
        std::string expected;
    } cases[] = {
        {"ZIP64 size field", zip64Marker, "ZIP64 archives are not supported."},
        {"ZIP64 end record", zip64End, "ZIP64 archives are not supported."},
        {"sizes deferred without a central directory",
         ziptest::build({{.name = "a.ini", .content = kText, .dataDescriptor = true}}, {false}),
         "Cannot find the size of \"a.ini\": the archive has no central directory entry for it."},
        {"too many entries", ziptest::build(tooMany, {false}),
         "The archive has more than 65535 entries."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf([&] { (void)loaded(c.bytes); }), c.expected) << c.label;
}

TEST(ZipFile, ArchiveLargerThanTheLimitIsNotRead) {
    const QByteArray archive =
        ziptest::build({{.name = "a.bin", .content = QByteArray(300, 'z'), .method = 0}});
    const std::string expected = "The archive is larger than the 200 bytes a package may hold.";
    EXPECT_EQ(errorOf([&] { (void)loaded(archive, 200); }), expected);
    SequentialBuffer pipe(archive);
    TZipFile zip(200);
    EXPECT_EQ(errorOf([&] { zip.LoadFromStream(pipe); }), expected);
    EXPECT_EQ(loaded(archive, archive.size()).Count(), 1);
}

TEST(ZipFile, NamesAreUtf8OrGb18030) {
    const QString chinese = QStringLiteral("木纹/皮肤.ini");
    const struct {
        QByteArray stored;
        std::uint16_t flags;
        QString expected;
    } cases[] = {
        {"Wood/wood.ini", 0, "Wood/wood.ini"},
        {chinese.toUtf8(), 1 << 11, chinese},
        {chinese.toUtf8(), 0, chinese}, // valid UTF-8 without the flag
        {encodeGb18030(chinese), 0, chinese},
    };
    for (const auto& c : cases) {
        const TZipFile zip = loaded(
            ziptest::build({{.name = c.stored, .content = "x", .method = 0, .flags = c.flags}}));
        ASSERT_EQ(zip.Count(), 1);
        EXPECT_EQ(zip.Name(0).toStdString(), c.expected.toStdString());
        EXPECT_EQ(zip.LocalEntry(0).FileName, c.stored);
    }
}

TEST(ZipFile, KeepsNoMoreCentralEntriesThanLocalOnes) {
    const QList<Entry> three = {{.name = "a", .content = "1"},
                                {.name = "b", .content = "2"},
                                {.name = "c", .content = "3"}};
    const QByteArray localTwo = ziptest::build(three.first(2), {false});
    const QByteArray localThree = ziptest::build(three, {false});
    const QByteArray all = ziptest::build(three);
    const TZipFile zip = loaded(localTwo + all.sliced(localThree.size()));
    EXPECT_EQ(zip.Count(), 2);
    ASSERT_EQ(zip.CentralEntries().size(), 2u);
    EXPECT_EQ(zip.CentralEntries()[1].FileName, QByteArray("b"));
    ASSERT_TRUE(zip.EndRecord().has_value());
    EXPECT_EQ(zip.EndRecord()->TotalEntries, 3);
}

TEST(ZipFile, MissingFileNamesItself) {
    QTemporaryDir dir;
    const QString path = dir.filePath("absent.compassskin");
    TZipFile zip;
    const std::string prefix = "Cannot open file \"" + path.toStdString() + "\". ";
    EXPECT_EQ(errorOf([&] { zip.LoadFromFile(path); }).substr(0, prefix.size()), prefix);
}
