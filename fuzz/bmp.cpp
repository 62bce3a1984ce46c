// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// BMP skin pictures through our own reader.
#include "picturetarget.h"

using namespace orvanta;
using namespace orvanta::fuzz;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzPictureDecoder(data, size, decodeBmp, [](const QImage& image) {
        // Every pixel of a BMP is opaque; reading them all also touches the whole buffer.
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                check(qAlpha(image.pixel(x, y)) == 255, "BMP pixels are opaque");
    });
    return 0;
}
