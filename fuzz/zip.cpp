// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The skin package reader: any bytes load as an archive (maybe with no entries)
// or fail with a message, and every entry either comes out verified or fails
// with a message, without reading or allocating past the limits.
#include "fuzzsupport.h"
#include "model/orvantaerror.h"
#include "package/zipfile.h"

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
    ZipFile zip(kLimit);
    try {
        zip.loadFromStream(buffer);
    } catch (const OrvantaError& e) {
        check(!e.message().isEmpty(), "errors say why");
        return 0;
    }
    check(zip.centralEntries().size() <= std::size_t(zip.count()), "central entries bounded");
    for (int i = 0; i < zip.count(); ++i) {
        const ZipLocalEntry& entry = zip.localEntry(i);
        check(entry.dataOffset >= 0 && entry.dataLength >= 0 &&
                  entry.dataOffset + entry.dataLength <= bytes.size(),
              "entry data lies inside the archive");
        (void)zip.name(i);
        try {
            const QByteArray content = zip.data(i);
            check(content.size() <= kLimit, "inflated within the limit");
            check(std::uint32_t(content.size()) == entry.uncompressedSize,
                  "verified size matches the header");
        } catch (const OrvantaError& e) {
            check(!e.message().isEmpty(), "errors say why");
        }
    }
    try {
        (void)zip.data(zip.count());
        failure("an index past the end is refused");
    } catch (const OrvantaError&) {
    }
    return 0;
}
