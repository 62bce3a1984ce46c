// PNG skin pictures through libpng: any bytes either decode to a sane straight
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
        const QImage image = decodePng(QByteArrayView(data, static_cast<qsizetype>(size)));
        check(!image.isNull(), "a decoded picture has pixels");
        check(image.format() == QImage::Format_ARGB32, "decoded as straight ARGB");
        check(image.width() <= kMaxPictureSide && image.height() <= kMaxPictureSide,
              "picture size limit");
        // Touch the last pixel: the whole buffer must be there.
        (void)image.pixel(image.width() - 1, image.height() - 1);
    } catch (const OrvantaError& e) {
        check(!e.message().isEmpty(), "errors say why");
    }
    return 0;
}
