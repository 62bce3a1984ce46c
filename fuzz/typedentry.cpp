// Typed entry fed with random key sequences (digits, point, operators,
// Backspace, Enter and stray characters) in every measure type and shape, with
// a render step now and then. Whatever is typed, the next render leaves a
// whole spread within the compass's limits and a readout to show.
#include "fuzzsupport.h"
#include "model/compassmodel.h"

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
    model.state.NormalizeCompass(model.options, false);
    const float spread = model.state.FMeasurement;
    check(std::isfinite(spread) && spread >= 0 &&
              spread <= static_cast<float>(model.state.FMaxLength) && spread == std::trunc(spread),
          "the render leaves a whole spread within the limits");
    check(std::isfinite(model.state.FDisplayAngle) && model.state.FDisplayAngle > -90.0f &&
              model.state.FDisplayAngle <= 270.0f,
          "the angle drawn is in range");
    model.UpdateReadout();
    // Only an entry edited away with Backspace leaves nothing to show.
    check(model.state.FTyping || !model.state.FDisplayText.isEmpty(), "there is a readout");
    model.state.StoreCompassState(model.options);
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
    TDervikOptions options(folder.filePath(QStringLiteral("Compass.ini")), u'.');
    TMeasurements units(folder.path(), QString(), u'.');
    CompassModel model(options, units, u'.');
    const DesktopGeometry desktop{
        QRect(0, 0, 1920, 1080), {QRect(0, 0, 1920, 1080)}, QRect(0, 0, 1920, 1080)};
    model.Initialise(desktop);
    model.state.FComposed = true;

    model.SetMeasureType(data[0] % 3);
    const std::int32_t shape = data[1] % 38; // 0 the circle, else 3 to 39 sides
    model.SetShape(shape == 0 ? 0 : shape + 2);
    model.SetScribe(data[2] & 1);
    if (data[2] & 2)
        model.SelectUnit((data[2] >> 2) % units.UnitsCount());
    renderStep(model);

    for (std::size_t i = 3; i < size; ++i) {
        const std::size_t k = data[i] % (kKeyCount + 1);
        if (k == kKeyCount) {
            renderStep(model);
            continue;
        }
        try {
            model.KeyPress(QChar(kKeys[k]));
        } catch (const OrvantaError& e) {
            check(!e.message().isEmpty(), "errors say why");
            check(model.state.FTyping, "typing goes on after a refused entry");
        }
    }
    renderStep(model);
    return 0;
}
