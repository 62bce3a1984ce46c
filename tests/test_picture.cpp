#include "model/numbers.h"
#include "skins/picture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <zlib.h>

using namespace orvanta;

namespace {

// The fixtures are 11 x 9 pixels drawn by tests/data/skins/pictures/make-pictures.sh
// with ImageMagick; the formulas below are the ones that script draws.
constexpr int kW = 11;
constexpr int kH = 9;
const QString kPictures = QStringLiteral(ORVANTA_SOURCE_DIR "/tests/data/skins/pictures/");

int to8(int v16) {
    return int(std::lround(v16 / 257.0));
}
int level(int k, int bits) {
    return int(std::lround(k * 255.0 / ((1 << bits) - 1)));
}
int g8(int x, int y) {
    return (x * 23 + y * 11) % 256;
}
int g16(int x, int y) {
    return to8((x * 5923 + y * 2711 + 77) % 65536);
}
int a8(int x, int y) {
    return (x * 20 + y * 7 + 3) % 256;
}
int a16(int x, int y) {
    return to8((x * 3001 + y * 1999 + 5) % 65536);
}
QRgb grey(int v, int a = 255) {
    return qRgba(v, v, v, a);
}
QRgb rgb8(int x, int y, int a = 255) {
    return qRgba((x * 23) % 256, (y * 29 + 7) % 256, (x * y * 7 + 40) % 256, a);
}
QRgb rgb16(int x, int y, int a = 255) {
    return qRgba(to8((x * 5923 + 11) % 65536), to8((y * 2711 + 300) % 65536),
                 to8((x * y * 977 + 4000) % 65536), a);
}
QRgb packed16(int x, int y, int greenBits) {
    return qRgb(level(x * 3 % 32, 5), level((y * 7 + 1) % (1 << greenBits), greenBits),
                level(x * y % 32, 5));
}
QRgb greyLevels(int bits, int x, int y) {
    return grey(level((x * 3 + y * 5) % (1 << bits), bits));
}
int paletteIndex(int bits, int x, int y) {
    return (x + (bits == 4 ? 3 : bits) * y) % (1 << bits);
}
QRgb palette(int bits, int x, int y) {
    const int i = paletteIndex(bits, x, y);
    return qRgb(i * 16 + 5, 255 - i * 13, (i * 37) % 256);
}
QRgb paletteWithAlpha(int x, int y) {
    const int i = paletteIndex(4, x, y);
    return qRgba(i * 15, 255 - i * 15, i * 45 % 255, std::min(255, 17 * (i + 1)));
}
bool keyed(int x, int y) {
    return (x + y) % 5 == 0;
}

using Pattern = std::function<QRgb(int, int)>;
using std::placeholders::_1;
using std::placeholders::_2;

void expectPixels(const QImage& image, const Pattern& expected, const QString& what) {
    ASSERT_EQ(image.format(), QImage::Format_ARGB32) << what.toStdString();
    ASSERT_EQ(image.size(), QSize(kW, kH)) << what.toStdString();
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(image.pixel(x, y), expected(x, y))
                << what.toStdString() << " at " << x << "," << y;
}

QByteArray fixture(const QString& name) {
    QFile f(kPictures + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

QByteArray withField(QByteArray bytes, int at, std::uint32_t value, int size = 4) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xFF);
    return bytes;
}

// The same picture with its rows stored top-down (negative height).
QByteArray topDown(const QByteArray& bmp) {
    const int offset = qFromLittleEndian<qint32>(bmp.constData() + 10);
    const int stride = int(bmp.size() - offset) / kH;
    QByteArray out = withField(bmp, 22, std::uint32_t(-kH));
    for (int r = 0; r < kH; ++r)
        out.replace(offset + r * stride, stride, bmp.mid(offset + (kH - 1 - r) * stride, stride));
    return out;
}

QByteArray be32(std::uint32_t v) {
    QByteArray out(4, '\0');
    qToBigEndian(v, out.data());
    return out;
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

QString readError(const std::function<void()>& read) {
    try {
        read();
    } catch (const OrvantaError& e) {
        return e.message();
    }
    return QStringLiteral("(read)");
}

} // namespace

TEST(Picture, PngInEveryColourTypeAndDepth) {
    const auto rgb = [](int x, int y) { return rgb8(x, y); };
    const std::vector<std::pair<const char*, Pattern>> cases = {
        {"gray1", std::bind(greyLevels, 1, _1, _2)},
        {"gray2", std::bind(greyLevels, 2, _1, _2)},
        {"gray4", std::bind(greyLevels, 4, _1, _2)},
        {"gray8", [](int x, int y) { return grey(g8(x, y)); }},
        {"gray16", [](int x, int y) { return grey(g16(x, y)); }},
        {"rgb8", rgb},
        {"rgb16", [](int x, int y) { return rgb16(x, y); }},
        {"pal1", std::bind(palette, 1, _1, _2)},
        {"pal2", std::bind(palette, 2, _1, _2)},
        {"pal4", std::bind(palette, 4, _1, _2)},
        {"pal8", rgb},
        {"graya8", [](int x, int y) { return grey(g8(x, y), a8(x, y)); }},
        {"graya16", [](int x, int y) { return grey(g16(x, y), a16(x, y)); }},
        {"rgba8", [](int x, int y) { return rgb8(x, y, a8(x, y)); }},
        {"rgba16", [](int x, int y) { return rgb16(x, y, a16(x, y)); }},
        {"gray8-trns",
         [](int x, int y) { return keyed(x, y) ? grey(77, 0) : grey(2 * g8(x, y) % 256); }},
        {"rgb8-trns",
         [](int x, int y) {
             const QRgb v = rgb8(x, y);
             return keyed(x, y) ? qRgba(77, 0, 200, 0)
                                : qRgb(2 * x * 23 % 256, qGreen(v), qBlue(v));
         }},
        {"pal4-trns", paletteWithAlpha},
        {"gray1-interlaced", std::bind(greyLevels, 1, _1, _2)},
        {"pal4-interlaced", std::bind(palette, 4, _1, _2)},
        {"rgb16-interlaced", [](int x, int y) { return rgb16(x, y); }},
        {"rgba8-interlaced", [](int x, int y) { return rgb8(x, y, a8(x, y)); }},
        {"graya16-interlaced", [](int x, int y) { return grey(g16(x, y), a16(x, y)); }},
    };
    for (const auto& [name, expected] : cases) {
        const QString path = kPictures + "png/" + name + ".png";
        expectPixels(loadPicture(path), expected, path);
    }
}

TEST(Picture, BmpInEveryDepthAndOrientationIsOpaque) {
    const auto rgb = [](int x, int y) { return rgb8(x, y); };
    const auto pal4 = std::bind(palette, 4, _1, _2);
    const auto masksOff = [](const QByteArray& b) { return withField(b, 30, 0); };
    const std::vector<std::tuple<QByteArray, Pattern, const char*>> cases = {
        {fixture("bmp/pal1.bmp"), std::bind(palette, 1, _1, _2), "1 bit"},
        {fixture("bmp/pal4.bmp"), pal4, "4 bits"},
        {fixture("bmp/pal8.bmp"), rgb, "8 bits"},
        {fixture("bmp/rgb24.bmp"), rgb, "24 bits"},
        {fixture("bmp/rgb555.bmp"), std::bind(packed16, _1, _2, 5), "16 bits 555"},
        {fixture("bmp/rgb565.bmp"), std::bind(packed16, _1, _2, 6), "16 bits 565"},
        // Written with alpha; a BMP skin's transparency is its key colour.
        {fixture("bmp/rgba32.bmp"), rgb, "32 bits"},
        // Without masks 16 bits are 5-5-5 and 32 bits 8-8-8, as these files hold them.
        {masksOff(fixture("bmp/rgb555.bmp")), std::bind(packed16, _1, _2, 5), "16 bits plain"},
        {masksOff(fixture("bmp/rgba32.bmp")), rgb, "32 bits plain"},
        {fixture("bmp/core-pal4.bmp"), pal4, "oldest header, 4 bits"},
        {fixture("bmp/core-rgb24.bmp"), rgb, "oldest header, 24 bits"},
        {topDown(fixture("bmp/pal1.bmp")), std::bind(palette, 1, _1, _2), "top-down 1"},
        {topDown(fixture("bmp/pal8.bmp")), rgb, "top-down 8"},
        {topDown(fixture("bmp/rgb24.bmp")), rgb, "top-down 24"},
    };
    for (const auto& [bytes, expected, what] : cases)
        expectPixels(decodeBmp(bytes), expected, what);
}

TEST(Picture, BrokenFilesSayWhatIsWrong) {
    const QByteArray bmp = fixture("bmp/rgb24.bmp");
    const QByteArray png = fixture("png/rgb8.png");
    const qsizetype idat = png.indexOf("IDAT");
    const qsizetype crcAt = idat + 4 + qFromBigEndian<quint32>(png.constData() + idat - 4);
    const QByteArray badCrc = withField(png, int(crcAt), png[crcAt] ^ 0x55, 1);
    const std::vector<std::tuple<const char*, std::function<QImage()>, QString>> cases = {
        {"not a BMP", [&] { return decodeBmp("BX" + bmp.mid(2)); }, "it is not a BMP file"},
        {"cut short", [&] { return decodeBmp(bmp.left(bmp.size() - 40)); },
         "the file ends too early"},
        {"header only", [&] { return decodeBmp(bmp.left(20)); }, "the file ends too early"},
        {"too wide", [&] { return decodeBmp(withField(bmp, 18, 16385)); },
         "the picture is 16385 x 9 pixels, larger than 16384 x 16384"},
        {"lowest height", [&] { return decodeBmp(withField(bmp, 22, 0x80000000u)); },
         "the picture is 11 x 2147483648 pixels, larger than 16384 x 16384"},
        {"more pixels than bytes", [&] { return decodeBmp(withField(bmp, 22, 16384)); },
         "the file ends too early"},
        {"no width", [&] { return decodeBmp(withField(bmp, 18, 0)); },
         "the picture has no pixels (0 x 9)"},
        {"odd depth", [&] { return decodeBmp(withField(bmp, 28, 7, 2)); },
         "7 bits per pixel is not a BMP pixel size"},
        {"run-length", [&] { return decodeBmp(fixture("bmp/pal8-rle.bmp")); },
         "run-length encoded BMP files are not supported"},
        {"masks on 24 bits", [&] { return decodeBmp(withField(bmp, 30, 3)); },
         "bit-field masks need 16 or 32 bits per pixel"},
        {"unknown header", [&] { return decodeBmp(withField(bmp, 14, 20)); },
         "its header of 20 bytes is of no known BMP kind"},
        {"not a PNG", [&] { return decodePng(bmp); }, "it is not a PNG file"},
        {"PNG cut short", [&] { return decodePng(png.left(png.size() / 2)); },
         "the PNG data is damaged: the file ends too early"},
        {"PNG CRC", [&] { return decodePng(badCrc); }, "the PNG data is damaged: IDAT: CRC error"},
        {"PNG too wide", [&] { return decodePng(pngClaiming(20000, 1)); },
         "the picture is 20000 x 1 pixels, larger than 16384 x 16384"},
        {"PNG bomb", [&] { return decodePng(pngClaiming(16384, 16384)); },
         "the file is too small for a picture of 16384 x 16384 pixels"},
        {"PNG fine", [&] { return decodePng(pngClaiming(4, 1)); }, "(read)"},
    };
    for (const auto& [what, read, message] : cases)
        EXPECT_EQ(readError([&] { (void)read(); }), message) << what;
}

TEST(Picture, ReaderChosenByExtensionAndFileErrorsNamed) {
    QTemporaryDir dir;
    const std::vector<std::tuple<QString, QByteArray, QString>> cases = {
        {"a.PNG", fixture("png/rgb8.png"), "(read)"},
        {"b.skin", fixture("bmp/rgb24.bmp"), "(read)"},
        {"c.bmp", fixture("png/rgb8.png"), "it is not a BMP file"},
        {"d.jpg", QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), "it is not a BMP file"},
    };
    for (const auto& [name, bytes, reason] : cases) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const QString prefix = "Cannot read the picture \"" + f.fileName() + "\": ";
        EXPECT_EQ(readError([&] { (void)loadPicture(f.fileName()); }),
                  reason == "(read)" ? reason : prefix + reason);
    }
    const QString missing = dir.filePath("missing.png");
    EXPECT_EQ(readError([&] { (void)loadPicture(missing); }),
              "Cannot read the picture \"" + missing + "\": No such file or directory");
    EXPECT_EQ(readError([&] { (void)loadPicture(dir.path()); }),
              "Cannot read the picture \"" + dir.path() + "\": it is a folder");
}
