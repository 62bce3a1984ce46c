// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A skin as a package brings it: a definition and its picture, both hostile.
// The input is the definition, then the picture (libFuzzer's data provider
// splits them). Loading must never fail for bad content, and a skin whose
// picture reads must compose into layers that lie inside their bitmaps.
#include "skins/skin.h"

#include "fuzzsupport.h"
#include "render/compose.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace orvanta;
using namespace orvanta::fuzz;

namespace {

// Far above any real skin sheet, far below what would exhaust memory.
constexpr qsizetype kMaxLayerPixels = qsizetype(64) * 1024 * 1024;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startQt(argc, argv);
    scratch().mkpath(QStringLiteral("skin"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string definition = input.ConsumeRandomLengthString();
    const std::vector<std::uint8_t> picture = input.ConsumeRemainingBytes<std::uint8_t>();

    const QDir folder(scratch().filePath(QStringLiteral("skin")));
    const QString path = folder.filePath(QStringLiteral("skin.ini"));
    writeFile(path, QByteArray::fromStdString(definition));
    // The definition names one of these; the extension picks the decoder.
    for (const char* name : {"skin.png", "skin.bmp"})
        writeFile(folder.filePath(QString::fromLatin1(name)),
                  bytesOf(picture.data(), picture.size()));

    Skin skin(path);
    check(skin.imageWidth >= 0 && skin.imageHeight >= 0, "picture size");
    const std::int32_t w = skin.imageWidth;
    const std::int32_t h = skin.imageHeight;
    for (const SkinRect& r :
         {skin.baseRect, skin.slideRect, skin.barRect, skin.basePanelRect, skin.slidePanelRect})
        check(r.width() >= 0 && r.height() >= 0 && r.left >= -w && r.right <= w && r.top >= -h &&
                  r.bottom <= h,
              "rectangles are upright and within the picture's reach");
    check(skin.fontSize >= kMinFontSize && skin.fontSize <= kMaxFontSize, "font size clamped");
    (void)skin.baseColor();
    if (!skin.pictureReadable())
        return 0;

    Settings options(folder.filePath(QStringLiteral("Compass.ini")), u'.');
    CompassState state;
    LayerStack stack;
    const ComposeResult result = compose(skin, options, state, stack);
    if (!result.ok) {
        check(!result.error.isEmpty(), "errors say why");
        return 0;
    }
    for (const auto& layer : stack.layers()) {
        const QImage& bitmap = layer->bitmap;
        check(qsizetype(bitmap.width()) * bitmap.height() <= kMaxLayerPixels, "layer size sane");
    }
    return 0;
}
