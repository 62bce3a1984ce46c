// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// PNG skin pictures through libpng.
#include "picturetarget.h"

using namespace orvanta;
using namespace orvanta::fuzz;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzPictureDecoder(data, size, decodePng, [](const QImage& image) {
        // Touch the last pixel: the whole buffer must be there.
        (void)image.pixel(image.width() - 1, image.height() - 1);
    });
    return 0;
}
