// The skin package reader: any bytes load as an archive (maybe with no entries)
// or fail with a message, and every entry either comes out verified or fails
// with a message, without reading or allocating past the limits.
#include "app/package/zipfile.h"
#include "fuzzsupport.h"

#include <QBuffer>

using namespace orvanta;
using namespace orvanta::fuzz;

namespace {

// Small enough that an input claiming more than it holds meets the limit, large
// enough for every seed.
constexpr std::int64_t kLimit = 4 * 1024 * 1024;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes = bytesOf(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TZipFile zip(kLimit);
    try {
        zip.LoadFromStream(buffer);
    } catch (const OrvantaError& e) {
        check(!e.message().isEmpty(), "errors say why");
        return 0;
    }
    check(zip.CentralEntries().size() <= std::size_t(zip.Count()), "central entries bounded");
    for (int i = 0; i < zip.Count(); ++i) {
        const TZipLocalEntry& entry = zip.LocalEntry(i);
        check(entry.DataOffset >= 0 && entry.DataLength >= 0 &&
                  entry.DataOffset + entry.DataLength <= bytes.size(),
              "entry data lies inside the archive");
        (void)zip.Name(i);
        try {
            const QByteArray content = zip.Data(i);
            check(content.size() <= kLimit, "inflated within the limit");
            check(std::uint32_t(content.size()) == entry.UncompressedSize,
                  "verified size matches the header");
        } catch (const OrvantaError& e) {
            check(!e.message().isEmpty(), "errors say why");
        }
    }
    try {
        (void)zip.Data(zip.Count());
        failure("an index past the end is refused");
    } catch (const OrvantaError&) {
    }
    return 0;
}
