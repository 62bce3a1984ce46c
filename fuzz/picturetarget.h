// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The body both picture targets share: any bytes either decode to a sane
// straight ARGB picture, which `checkPixels` then looks at, or fail with a
// message.

#include "fuzzsupport.h"
#include "model/numbers.h"
#include "skins/picture.h"

namespace orvanta::fuzz {

template <typename Decode, typename CheckPixels>
void fuzzPictureDecoder(const std::uint8_t* data, std::size_t size, Decode decode,
                        CheckPixels checkPixels) {
    try {
        const QImage image = decode(QByteArrayView(data, static_cast<qsizetype>(size)));
        check(!image.isNull(), "a decoded picture has pixels");
        check(image.format() == QImage::Format_ARGB32, "decoded as straight ARGB");
        check(image.width() <= kMaxPictureSide && image.height() <= kMaxPictureSide,
              "picture size limit");
        checkPixels(image);
    } catch (const OrvantaError& e) {
        check(!e.message().isEmpty(), "errors say why");
    }
}

} // namespace orvanta::fuzz
