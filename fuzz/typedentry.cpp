// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Typed entry fed with random key sequences (digits, point, operators,
// Backspace, Enter and stray characters) in every measure type and shape, with
// a render step now and then. Whatever is typed, the next render leaves a
// whole spread within the compass's limits and a readout to show.
#include "fuzzsupport.h"
#include "model/compassmodel.h"
#include "model/orvantaerror.h"

#include <cmath>

using namespace orvanta;
using namespace orvanta::fuzz;

namespace {

// The keys a user can press while the compass has the focus; a byte past the
// table is a render step, as the idle handler runs between key presses.
constexpr char16_t kKeys[] = {u'0',      u'1', u'2', u'3', u'4', u'5',     u'6', u'7',
                              u'8',      u'9', u'.', u'+', u'-', u'*',     u'/', kBackspaceKey,
                              kEnterKey, u'e', u',', u' ', u'x', u'\u4e00'};
constexpr std::size_t kKeyCount = std::size(kKeys);

void renderStep(CompassModel& model) {
    model.state.normalizeCompass(model.options, false);
    const float spread = model.state.measurement;
    check(std::isfinite(spread) && spread >= 0 &&
              spread <= static_cast<float>(model.state.maxLength) && spread == std::trunc(spread),
          "the render leaves a whole spread within the limits");
    check(std::isfinite(model.state.displayAngle) && model.state.displayAngle > -90.0f &&
              model.state.displayAngle <= 270.0f,
          "the angle drawn is in range");
    model.updateReadout();
    // Only an entry edited away with Backspace leaves nothing to show.
    check(model.state.typing || !model.state.displayText.isEmpty(), "there is a readout");
    model.state.storeCompassState(model.options);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startQt(argc, argv);
    scratch().mkpath(QStringLiteral("typed"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const QDir folder(scratch().filePath(QStringLiteral("typed")));
    QFile::remove(folder.filePath(QStringLiteral("Compass.ini")));
    Settings options(folder.filePath(QStringLiteral("Compass.ini")), u'.');
    UnitTable units(folder.path(), QString(), u'.');
    CompassModel model(options, units, u'.');
    const DesktopGeometry desktop{
        QRect(0, 0, 1920, 1080), {QRect(0, 0, 1920, 1080)}, QRect(0, 0, 1920, 1080)};
    model.initialise(desktop);
    model.state.composed = true;

    model.setMeasureType(data[0] % 3);
    const std::int32_t shape = data[1] % 38; // 0 the circle, else 3 to 39 sides
    model.setShape(shape == 0 ? 0 : shape + 2);
    model.setScribe(data[2] & 1);
    if (data[2] & 2)
        model.selectUnit((data[2] >> 2) % units.unitsCount());
    renderStep(model);

    for (std::size_t i = 3; i < size; ++i) {
        const std::size_t k = data[i] % (kKeyCount + 1);
        if (k == kKeyCount) {
            renderStep(model);
            continue;
        }
        try {
            model.keyPress(QChar(kKeys[k]));
        } catch (const OrvantaError& e) {
            check(!e.message().isEmpty(), "errors say why");
            check(model.state.typing, "typing goes on after a refused entry");
        }
    }
    renderStep(model);
    return 0;
}
