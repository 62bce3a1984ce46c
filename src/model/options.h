#pragma once
// The user's settings and the last state of the compass, kept in "Compass.ini",
// section "Options". One live object belongs to the main window; start-up opens
// short-lived ones to read HideSplash or to record a newly installed skin.

#include "model/inidocument.h"
#include "model/numbers.h"

#include <QChar>
#include <QString>
#include <cstdint>

namespace orvanta {

class TDervikOptions {
public:
    // Loads the file (a missing one gives every default). Throws OrvantaError
    // when the file exists but cannot be read. Never writes.
    explicit TDervikOptions(const QString& fileName,
                            QChar decimalSeparator = systemDecimalSeparator());

    // Writes every field but FileName and MaxLength into the document and the
    // document to the file. Failures are silent: the values stay in memory.
    // Returns whether the file was written, for callers that care.
    bool Save();

    QString FileName;
    bool FirstTime = true;
    bool StayOnTop = true;
    bool RunAtStart = false;
    QString skinPath;
    std::int32_t MaxLength = 0;
    bool HideSplash = false;
    bool Quality = true; // true = high (smooth) resampling
    std::int32_t Transparency = 0;
    std::int32_t Shape = 0;
    std::int32_t Scribe = 0;
    bool StickyAngle = true;
    bool LockAngle = false;
    bool LockMeasurement = false;
    bool SystemTrayIcon = true;
    bool RightClickMenu = true;
    bool Tooltips = true;
    bool ShowMinimizeBalloon = true;
    std::int32_t X = 200;
    std::int32_t Y = 150;
    float Angle = 0.0f;
    float Measurement = 100.0f;
    std::int32_t SelectedBaseColor = 0;
    std::int32_t MeasureType = 0;

    [[nodiscard]] const IniDocument& document() const { return m_doc; }

private:
    IniDocument m_doc;
    QChar m_separator;
};

// The default skin's definition beside the options file: folder + "default/default.ini".
[[nodiscard]] QString defaultSkinPathFor(const QString& optionsFileName);

} // namespace orvanta
