// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/numbers.h"
#include "skins/picture.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>
#include <zlib.h>

using namespace orvanta;
using test::errorOf;

namespace {

// The 11 x 9 fixtures come from tests/data/skins/pictures/make-pictures.sh; Qt's
// readers tell what each holds, but for 16-bit BMPs (Qt widens 31 to 248, not 255).
const QString kPictures = QStringLiteral(ORVANTA_SOURCE_DIR "/tests/data/skins/pictures/");

void expectSamePixels(const QImage& image, const QImage& expected, const QString& what) {
    ASSERT_EQ(image.format(), QImage::Format_ARGB32) << what.toStdString();
    ASSERT_EQ(image.size(), QSize(11, 9)) << what.toStdString();
    // Qt keeps no colour under alpha 0; the tests check those colours apart.
    const auto visible = [](QRgb p) { return qAlpha(p) == 0 ? 0 : p; };
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(visible(image.pixel(x, y)), visible(expected.pixel(x, y)))
                << what.toStdString() << " at " << x << "," << y;
}

// What Qt reads from the file, as straight ARGB; opaque for BMPs.
QImage reference(const QString& name, bool opaque = false) {
    const QImage image(kPictures + name);
    EXPECT_FALSE(image.isNull()) << name.toStdString();
    return image.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
}

// The 16-bit pattern: channel levels of 5 bits (green 5 or 6), widened to 8 bits.
QImage packed16(int greenBits) {
    const auto widen = [](int k, int bits) {
        return int(std::lround(k * 255.0 / ((1 << bits) - 1)));
    };
    QImage image(11, 9, QImage::Format_ARGB32);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 11; ++x)
            image.setPixel(x, y,
                           qRgb(widen(x * 3 % 32, 5),
                                widen((y * 7 + 1) % (1 << greenBits), greenBits),
                                widen(x * y % 32, 5)));
    return image;
}

QByteArray fixture(const QString& name) {
    return test::readAll(kPictures + name);
}

QByteArray withField(QByteArray bytes, int at, std::uint32_t value, int size = 4) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xFF);
    return bytes;
}

// The same 9-row picture with its rows stored top-down (negative height).
QByteArray topDown(const QByteArray& bmp) {
    const int offset = qFromLittleEndian<qint32>(bmp.constData() + 10);
    const int stride = int(bmp.size() - offset) / 9;
    QByteArray out = withField(bmp, 22, std::uint32_t(-9));
    for (int r = 0; r < 9; ++r)
        out.replace(offset + r * stride, stride, bmp.mid(offset + (8 - r) * stride, stride));
    return out;
}

QByteArray be32(std::uint32_t v) {
    v = qToBigEndian(v);
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}

QByteArray pngChunk(const char* type, const QByteArray& data) {
    const QByteArray body = type + data;
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    return be32(std::uint32_t(data.size())) + body + be32(std::uint32_t(crc));
}

// An 8-bit RGBA PNG that claims `width` x `height` and holds one row of 4 pixels.
QByteArray pngClaiming(std::uint32_t width, std::uint32_t height) {
    const QByteArray idat = qCompress(QByteArray(17, '\0')).mid(4); // minus Qt's length
    return QByteArray("\x89PNG\r\n\x1a\n", 8) +
           pngChunk("IHDR", be32(width) + be32(height) + QByteArray("\x08\x06\0\0\0", 5)) +
           pngChunk("IDAT", idat) + pngChunk("IEND", {});
}

} // namespace

TEST(Picture, PngInEveryColourTypeAndDepth) {
    const QString names = "gray1 gray2 gray4 gray8 gray16 rgb8 rgb16 pal1 pal2 pal4 pal8 graya8 "
                          "graya16 rgba8 rgba16 gray8-trns rgb8-trns pal4-trns gray1-interlaced "
                          "pal4-interlaced rgb16-interlaced rgba8-interlaced graya16-interlaced";
    for (const QString& name : names.split(u' ')) {
        const QString file = QStringLiteral("png/%1.png").arg(name);
        expectSamePixels(loadPicture(kPictures + file), reference(file), file);
    }
    // The transparent colours stay as written, at alpha 0.
    EXPECT_EQ(loadPicture(kPictures + "png/rgb8-trns.png").pixel(0, 0), qRgba(77, 0, 200, 0));
    EXPECT_EQ(loadPicture(kPictures + "png/gray8-trns.png").pixel(5, 0), qRgba(77, 77, 77, 0));
}

TEST(Picture, BmpInEveryDepthAndOrientationIsOpaque) {
    const auto masksOff = [](const QString& name) { return withField(fixture(name), 30, 0); };
    // Written with alpha; a BMP skin's transparency is its key colour.
    const QImage rgb = reference("bmp/rgba32.bmp", true);
    const std::vector<std::tuple<QByteArray, QImage, const char*>> cases = {
        {fixture("bmp/pal1.bmp"), reference("bmp/pal1.bmp"), "1 bit"},
        {fixture("bmp/pal4.bmp"), reference("bmp/pal4.bmp"), "4 bits"},
        {fixture("bmp/rgb24.bmp"), rgb, "24 bits"},
        {fixture("bmp/rgba32.bmp"), rgb, "32 bits"},
        {fixture("bmp/rgb555.bmp"), packed16(5), "16 bits 555"},
        {fixture("bmp/rgb565.bmp"), packed16(6), "16 bits 565"},
        // Without masks 16 bits are 5-5-5 and 32 bits 8-8-8, as these files hold them.
        {masksOff("bmp/rgb555.bmp"), packed16(5), "16 bits plain"},
        {masksOff("bmp/rgba32.bmp"), rgb, "32 bits plain"},
        {fixture("bmp/core-pal4.bmp"), reference("bmp/pal4.bmp"), "oldest header, 4 bits"},
        {fixture("bmp/core-rgb24.bmp"), rgb, "oldest header, 24 bits"},
        {topDown(fixture("bmp/rgb24.bmp")), rgb, "top-down 24"},
        // Rows are padded to four bytes; the last row's padding may be missing.
        {fixture("bmp/rgb24.bmp").chopped(3), rgb, "24 bits, last padding cut"},
        // More colours than the pixel size can index: the palette is capped.
        {withField(fixture("bmp/pal8.bmp"), 46, 300), reference("bmp/pal8.bmp"), "8 bits, 300"},
        {withField(fixture("bmp/pal4.bmp"), 46, 17), reference("bmp/pal4.bmp"), "4 bits, 17"},
    };
    for (const auto& [bytes, expected, what] : cases)
        expectSamePixels(decodeBmp(bytes), expected, what);
}

TEST(Picture, BrokenFilesSayWhatIsWrong) {
    const QByteArray bmp = fixture("bmp/rgb24.bmp");
    const QByteArray png = fixture("png/rgb8.png");
    const qsizetype idat = png.indexOf("IDAT");
    const qsizetype crcAt = idat + 4 + qFromBigEndian<quint32>(png.constData() + idat - 4);
    const QByteArray badCrc = withField(png, int(crcAt), png[crcAt] ^ 0x55, 1);
    // what, the bytes, read as PNG (else BMP), the reason
    const std::vector<std::tuple<const char*, QByteArray, bool, QString>> cases = {
        {"not a BMP", "BX" + bmp.mid(2), false, "it is not a BMP file"},
        {"header only", bmp.left(20), false, "the file ends too early"},
        {"too wide", withField(bmp, 18, 16385), false,
         "the picture is 16385 x 9 pixels, larger than 16384 x 16384"},
        {"lowest height", withField(bmp, 22, 0x80000000u), false,
         "the picture is 11 x 2147483648 pixels, larger than 16384 x 16384"},
        {"more pixels than bytes", withField(bmp, 22, 16384), false, "the file ends too early"},
        {"last row cut into its pixels", bmp.chopped(4), false, "the file ends too early"},
        {"no width", withField(bmp, 18, 0), false, "the picture has no pixels (0 x 9)"},
        {"odd depth", withField(bmp, 28, 7, 2), false, "7 bits per pixel is not a BMP pixel size"},
        {"run-length", fixture("bmp/pal8-rle.bmp"), false,
         "run-length encoded BMP files are not supported"},
        {"masks on 24 bits", withField(bmp, 30, 3), false,
         "bit-field masks need 16 or 32 bits per pixel"},
        {"unknown header", withField(bmp, 14, 20), false,
         "its header of 20 bytes is of no known BMP kind"},
        {"not a PNG", bmp, true, "it is not a PNG file"},
        {"PNG cut short", png.left(png.size() / 2), true,
         "the PNG data is damaged: the file ends too early"},
        {"PNG CRC", badCrc, true, "the PNG data is damaged: IDAT: CRC error"},
        {"PNG too wide", pngClaiming(20000, 1), true,
         "the picture is 20000 x 1 pixels, larger than 16384 x 16384"},
        {"PNG bomb", pngClaiming(16384, 16384), true,
         "the file is too small for a picture of 16384 x 16384 pixels"},
        {"PNG fine", pngClaiming(4, 1), true, "<no error>"},
    };
    for (const auto& [what, bytes, isPng, message] : cases)
        EXPECT_EQ(errorOf([&] { (void)(isPng ? decodePng(bytes) : decodeBmp(bytes)); }), message)
            << what;
}

TEST(Picture, ReaderChosenByExtensionAndFileErrorsNamed) {
    QTemporaryDir dir;
    const std::vector<std::tuple<QString, QByteArray, QString>> cases = {
        {"a.PNG", fixture("png/rgb8.png"), "<no error>"},
        {"b.skin", fixture("bmp/rgb24.bmp"), "<no error>"},
        {"c.bmp", fixture("png/rgb8.png"), "it is not a BMP file"},
    };
    const auto expected = [](const QString& path, const QString& reason) {
        return reason == "<no error>" ? reason
                                      : "Cannot read the picture \"" + path + "\": " + reason;
    };
    for (const auto& [name, bytes, reason] : cases) {
        const QString path = test::writeAll(dir.filePath(name), bytes);
        EXPECT_EQ(errorOf([&] { (void)loadPicture(path); }), expected(path, reason));
    }
    EXPECT_EQ(errorOf([&] { (void)loadPicture(dir.filePath("missing.png")); }),
              expected(dir.filePath("missing.png"), "No such file or directory"));
    EXPECT_EQ(errorOf([&] { (void)loadPicture(dir.path()); }),
              expected(dir.path(), "it is a folder"));
}
