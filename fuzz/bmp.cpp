// BMP skin pictures through our own reader: any bytes either decode to a sane straight
// ARGB picture or fail with a message.
#include "fuzzsupport.h"
#include "model/numbers.h"
#include "skins/picture.h"

using namespace orvanta;
using namespace orvanta::fuzz;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const QImage image = decodeBmp(QByteArrayView(data, static_cast<qsizetype>(size)));
        check(!image.isNull(), "a decoded picture has pixels");
        check(image.format() == QImage::Format_ARGB32, "decoded as straight ARGB");
        check(image.width() <= kMaxPictureSide && image.height() <= kMaxPictureSide,
              "picture size limit");
        // Every pixel of a BMP is opaque; reading them all also touches the whole buffer.
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                check(qAlpha(image.pixel(x, y)) == 255, "BMP pixels are opaque");
    } catch (const OrvantaError& e) {
        check(!e.message().isEmpty(), "errors say why");
    }
    return 0;
}
