// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "skins/picture.h"

#include "model/numbers.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <vector>

namespace orvanta {

namespace {

// Deflate never packs more than 1032 bytes into one (a 258-byte match costs at
// least two bits), so a PNG file of n bytes cannot hold more than this many
// times n bytes of pixels. Larger claims are bombs or lies; we refuse them
// before allocating the picture.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

constexpr std::size_t kPngSignatureSize = 8;

constexpr int kBmpFileHeaderSize = 14;
constexpr std::uint32_t kBmpCoreHeaderSize = 12;
constexpr std::uint32_t kBmpInfoHeaderSize = 40;
// Headers from 52 bytes on carry the red, green, blue masks, from 56 the alpha
// mask, after the 40 bytes of the info header.
constexpr std::uint32_t kBmpHeaderWithMasks = 52;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

[[noreturn]] void fail(const QString& reason) {
    throw OrvantaError(reason);
}

// ---------------------------------------------------------------- PNG

struct PngInput {
    const png_byte* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
    std::array<char, 256> error{};
};

void pngRead(png_structp png, png_bytep out, std::size_t length) {
    auto* in = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > in->size - in->pos)
        png_error(png, "the file ends too early");
    std::memcpy(out, in->data + in->pos, length);
    in->pos += length;
}

void pngError(png_structp png, png_const_charp message) {
    auto* in = static_cast<PngInput*>(png_get_error_ptr(png));
    std::snprintf(in->error.data(), in->error.size(), "%s", message);
    png_longjmp(png, 1);
}

// Warnings are about ancillary chunks (bad text, unknown profiles) that do not
// change the pixels.
void pngWarning(png_structp, png_const_charp) {}

struct PngHandles {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngHandles() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

// The part that runs under libpng's error jump. libpng's errors come back as a
// longjmp to the setjmp below; only objects owned by the caller are touched
// after it, so no destructor is skipped. Returns false on a libpng error (the
// message is in `in.error`); throws OrvantaError for our own refusals.
bool readPng(png_structp png, png_infop info, const PngInput& in, QImage& image,
             std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width > png_uint_32(kMaxPictureSide) || height > png_uint_32(kMaxPictureSide))
        fail(QStringLiteral("the picture is %1 x %2 pixels, larger than %3 x %3")
                 .arg(width)
                 .arg(height)
                 .arg(kMaxPictureSide));
    const std::uint64_t packedRow =
        (std::uint64_t(width) * png_get_channels(png, info) * png_get_bit_depth(png, info) + 7) / 8;
    if (packedRow * height > std::uint64_t(in.size) * kMaxDeflateRatio)
        fail(QStringLiteral("the file is too small for a picture of %1 x %2 pixels")
                 .arg(width)
                 .arg(height));

    png_set_expand(png); // palette to RGB, small greys to 8 bits, tRNS to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    // QImage's ARGB32 is one 32-bit word 0xAARRGGBB per pixel, so its bytes in
    // memory depend on the machine's byte order.
    if constexpr (std::endian::native == std::endian::little)
        png_set_bgr(png);
    else
        png_set_swap_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    image = QImage(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        fail(
            QStringLiteral("there is not enough memory for %1 x %2 pixels").arg(width).arg(height));
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = image.scanLine(int(y));
    png_read_image(png, rows.data());
    return true;
}

// ---------------------------------------------------------------- BMP

// Little-endian fields of a byte buffer; reading past the end is an error.
class Bytes {
public:
    explicit Bytes(QByteArrayView bytes) : m_bytes(bytes) {}

    [[nodiscard]] std::uint64_t size() const { return std::uint64_t(m_bytes.size()); }
    [[nodiscard]] std::uint8_t u8(std::uint64_t at) const {
        need(at, 1);
        return std::uint8_t(m_bytes[qsizetype(at)]);
    }
    [[nodiscard]] std::uint16_t u16(std::uint64_t at) const {
        return std::uint16_t(u8(at) | u8(at + 1) << 8);
    }
    [[nodiscard]] std::uint32_t u32(std::uint64_t at) const {
        return std::uint32_t(u16(at)) | std::uint32_t(u16(at + 2)) << 16;
    }
    [[nodiscard]] std::int32_t i32(std::uint64_t at) const { return std::int32_t(u32(at)); }
    void need(std::uint64_t at, std::uint64_t count) const {
        if (at > size() || count > size() - at)
            fail(QStringLiteral("the file ends too early"));
    }
    [[nodiscard]] const std::uint8_t* at(std::uint64_t offset) const {
        return reinterpret_cast<const std::uint8_t*>(m_bytes.data()) + offset;
    }

private:
    QByteArrayView m_bytes;
};

// One colour channel of a packed pixel: the bits under its mask, scaled to 0..255.
class Channel {
public:
    explicit Channel(std::uint32_t mask) : m_mask(mask) {
        if (mask == 0)
            return;
        m_shift = std::countr_zero(mask);
        const int bits = 32 - std::countl_zero(mask) - m_shift;
        m_max = (std::uint64_t(1) << bits) - 1;
    }
    [[nodiscard]] int operator()(std::uint32_t pixel) const {
        if (m_mask == 0)
            return 0;
        const std::uint64_t v = (pixel & m_mask) >> m_shift;
        return int((v * 255 + m_max / 2) / m_max);
    }

private:
    std::uint32_t m_mask;
    int m_shift = 0;
    std::uint64_t m_max = 1;
};

struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0; // negative: rows stored top-down
    int bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    std::uint64_t paletteOffset = 0;
    int paletteEntrySize = 4;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue
};

BmpLayout readBmpHeader(const Bytes& b) {
    if (b.size() < 2 || b.u8(0) != 'B' || b.u8(1) != 'M')
        fail(QStringLiteral("it is not a BMP file"));
    const std::uint32_t headerSize = b.u32(kBmpFileHeaderSize);
    b.need(kBmpFileHeaderSize, headerSize);
    BmpLayout l;
    std::uint64_t afterHeader = kBmpFileHeaderSize + std::uint64_t(headerSize);
    if (headerSize == kBmpCoreHeaderSize) {
        l.width = b.u16(18);
        l.height = b.u16(20);
        l.bitsPerPixel = b.u16(24);
        l.paletteEntrySize = 3;
    } else if (headerSize >= kBmpInfoHeaderSize) {
        l.width = b.i32(18);
        l.height = b.i32(22);
        l.bitsPerPixel = b.u16(28);
        l.compression = b.u32(30);
        l.colorsUsed = b.u32(46);
        if (headerSize >= kBmpHeaderWithMasks) {
            l.masks = {b.u32(54), b.u32(58), b.u32(62)};
        } else if (l.compression == kBiBitfields || l.compression == kBiAlphaBitfields) {
            // The info header keeps its masks after itself (three, or four with alpha).
            l.masks = {b.u32(afterHeader), b.u32(afterHeader + 4), b.u32(afterHeader + 8)};
            afterHeader += l.compression == kBiBitfields ? 12 : 16;
        }
    } else {
        fail(QStringLiteral("its header of %1 bytes is of no known BMP kind").arg(headerSize));
    }
    l.paletteOffset = afterHeader;

    if (l.compression == kBiRle8 || l.compression == kBiRle4)
        fail(QStringLiteral("run-length encoded BMP files are not supported"));
    const bool bitfields = l.compression == kBiBitfields || l.compression == kBiAlphaBitfields;
    if (l.compression != kBiRgb && !bitfields)
        fail(QStringLiteral("BMP compression %1 is not supported").arg(l.compression));
    switch (l.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (bitfields)
            fail(QStringLiteral("bit-field masks need 16 or 32 bits per pixel"));
        break;
    case 16:
    case 32:
        if (!bitfields)
            l.masks = l.bitsPerPixel == 16
                          ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                          : std::array<std::uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
        break;
    default:
        fail(QStringLiteral("%1 bits per pixel is not a BMP pixel size").arg(l.bitsPerPixel));
    }
    const std::int64_t rows = l.height < 0 ? -l.height : l.height;
    if (l.width <= 0 || rows == 0)
        fail(QStringLiteral("the picture has no pixels (%1 x %2)").arg(l.width).arg(l.height));
    if (l.width > kMaxPictureSide || rows > kMaxPictureSide)
        fail(QStringLiteral("the picture is %1 x %2 pixels, larger than %3 x %3")
                 .arg(l.width)
                 .arg(rows)
                 .arg(kMaxPictureSide));
    return l;
}

std::vector<QRgb> readBmpPalette(const Bytes& b, const BmpLayout& l) {
    if (l.bitsPerPixel > 8)
        return {};
    const std::uint32_t most = 1u << l.bitsPerPixel;
    // A larger count than the pixel size can index is a writer's slip: the
    // entries past the last index are never used, so they are not read.
    const std::uint32_t count = l.colorsUsed == 0 ? most : std::min(l.colorsUsed, most);
    b.need(l.paletteOffset, std::uint64_t(count) * std::uint64_t(l.paletteEntrySize));
    std::vector<QRgb> palette(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t at = l.paletteOffset + std::uint64_t(i) * l.paletteEntrySize;
        palette[i] = qRgb(b.u8(at + 2), b.u8(at + 1), b.u8(at));
    }
    return palette;
}

} // namespace

bool isPngPath(const QString& path) {
    return QFileInfo(path).suffix().toLower() == QLatin1String("png");
}

namespace {

// libpng allocates and clears the whole length a chunk header claims before it
// reads the chunk, so 200 bytes claiming a 700 MB text chunk would cost 700 MB
// (its chunk size limit does not cover text chunks). Every chunk up to IEND
// must lie within the bytes present; a file that ends inside one is cut short.
void checkPngChunks(QByteArrayView bytes) {
    constexpr std::uint64_t kChunkOverhead = 12; // length, type, CRC
    const auto* data = reinterpret_cast<const png_byte*>(bytes.data());
    const std::uint64_t size = std::uint64_t(bytes.size());
    for (std::uint64_t pos = kPngSignatureSize; size - pos >= 8;) {
        const std::uint64_t end = pos + kChunkOverhead + png_get_uint_32(data + pos);
        if (end > size)
            fail(QStringLiteral("the PNG data is damaged: the file ends too early"));
        if (std::memcmp(data + pos + 4, "IEND", 4) == 0)
            return;
        pos = end;
    }
}

} // namespace

QImage decodePng(QByteArrayView bytes) {
    if (std::size_t(bytes.size()) < kPngSignatureSize ||
        png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, kPngSignatureSize) != 0)
        fail(QStringLiteral("it is not a PNG file"));
    checkPngChunks(bytes);
    PngInput in;
    in.data = reinterpret_cast<const png_byte*>(bytes.data());
    in.size = std::size_t(bytes.size());
    PngHandles h;
    h.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &in, pngError, pngWarning);
    if (h.png)
        h.info = png_create_info_struct(h.png);
    if (!h.png || !h.info)
        fail(QStringLiteral("the PNG reader could not start"));
    png_set_read_fn(h.png, &in, pngRead);
    QImage image;
    std::vector<png_bytep> rows;
    if (!readPng(h.png, h.info, in, image, rows))
        fail(QStringLiteral("the PNG data is damaged: %1").arg(QString::fromUtf8(in.error.data())));
    return image;
}

QImage decodeBmp(QByteArrayView bytes) {
    const Bytes b(bytes);
    const BmpLayout l = readBmpHeader(b);
    const std::vector<QRgb> palette = readBmpPalette(b, l);
    const std::uint64_t dataOffset = b.u32(10);
    const std::int64_t width = l.width;
    const std::int64_t height = l.height < 0 ? -l.height : l.height;
    const std::uint64_t stride = (std::uint64_t(width) * l.bitsPerPixel + 31) / 32 * 4;
    // The last row may lack its padding; every row before it must be whole.
    const std::uint64_t lastRow = (std::uint64_t(width) * l.bitsPerPixel + 7) / 8;
    b.need(dataOffset, stride * std::uint64_t(height - 1) + lastRow);

    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        fail(
            QStringLiteral("there is not enough memory for %1 x %2 pixels").arg(width).arg(height));
    const Channel red(l.masks[0]);
    const Channel green(l.masks[1]);
    const Channel blue(l.masks[2]);
    // An index past the palette's end shows black, as it does on Windows.
    const auto fromPalette = [&](std::uint32_t index) {
        return index < palette.size() ? palette[index] : qRgb(0, 0, 0);
    };
    for (std::int64_t y = 0; y < height; ++y) {
        const std::int64_t stored = l.height < 0 ? y : height - 1 - y;
        const std::uint8_t* row = b.at(dataOffset + std::uint64_t(stored) * stride);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (std::int64_t x = 0; x < width; ++x) {
            switch (l.bitsPerPixel) {
            case 1:
            case 4:
            case 8: {
                const int bits = l.bitsPerPixel;
                const std::int64_t bit = x * bits;
                const int shift = 8 - bits - int(bit % 8);
                const std::uint32_t index = (row[bit / 8] >> shift) & ((1u << bits) - 1);
                out[x] = fromPalette(index);
                break;
            }
            case 16: {
                const std::uint32_t v = row[x * 2] | row[x * 2 + 1] << 8;
                out[x] = qRgb(red(v), green(v), blue(v));
                break;
            }
            case 24:
                out[x] = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                break;
            default: {
                const std::uint8_t* p = row + x * 4;
                const std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                        std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
                out[x] = qRgb(red(v), green(v), blue(v));
                break;
            }
            }
        }
    }
    return image;
}

QImage loadPicture(const QString& path) {
    // The decoders' reasons stay in English: they describe the file's bytes to
    // whoever repairs it.
    const auto failed = [&](const OrvantaError& reason) {
        return translatableError(QT_TRANSLATE_NOOP("Errors", "Cannot read the picture \"%1\": %2"),
                                 {path}, reason);
    };
    QFile file(path);
    if (QFileInfo(path).isDir())
        throw failed(translatableError(QT_TRANSLATE_NOOP("Errors", "it is a folder")));
    if (!file.open(QIODevice::ReadOnly))
        throw failed(OrvantaError(file.errorString()));
    const QByteArray bytes = file.readAll();
    try {
        return isPngPath(path) ? decodePng(bytes) : decodeBmp(bytes);
    } catch (const OrvantaError& e) {
        throw failed(e);
    }
}

} // namespace orvanta
