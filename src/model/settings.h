// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The user's settings and the last state of the compass, kept in "Compass.ini",
// section "Options". One live object belongs to the main window; start-up opens
// short-lived ones to read hideSplash or to record a newly installed skin.

#include "model/inidocument.h"
#include "model/numbers.h"
#include "model/values.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace orvanta {

// The language the user chose for the program. Stored in the options as the
// text "Automatic", "English" or "Chinese"; a missing key or any other text
// reads as Automatic, which follows the desktop's language.
enum class LanguageChoice { Automatic, English, Chinese };

[[nodiscard]] QString languageChoiceText(LanguageChoice choice);
[[nodiscard]] LanguageChoice languageChoiceFromText(QStringView text);

class Settings {
public:
    // Loads the file (a missing one gives every default). Throws OrvantaError
    // when the file exists but cannot be read. Never writes. A value outside
    // its option's range (a hand edit, a damaged file) is brought into it and
    // counted in corrected().
    explicit Settings(const QString& fileName, QChar decimalSeparator = systemDecimalSeparator());

    // Writes every field but fileName and maxLength into the document and the
    // document to the file. A failure keeps the values in memory and is logged
    // under orvanta.settings. Returns whether the file was written, for callers
    // that care.
    bool save(QString* why = nullptr);

    QString fileName;
    bool firstTime = true;
    bool stayOnTop = true;
    bool runAtStart = false;
    QString skinPath;
    std::int32_t maxLength = 0;
    bool hideSplash = false;
    bool quality = true; // true = high (smooth) resampling
    std::int32_t transparency = 0;
    std::int32_t shape = 0;
    Inscription scribe = Inscription::AroundCircle;
    bool stickyAngle = true;
    bool lockAngle = false;
    bool lockMeasurement = false;
    bool systemTrayIcon = true;
    bool rightClickMenu = true;
    bool tooltips = true;
    bool showMinimizeBalloon = true;
    std::int32_t x = 200;
    std::int32_t y = 150;
    float angle = 0.0f;
    float measurement = 100.0f;
    std::int32_t selectedBaseColor = 0;
    MeasureKind measureType = MeasureKind::Radius;
    LanguageChoice language = LanguageChoice::Automatic;
    // Inches, centimetres and the other physical units follow each monitor's
    // pixels per inch; off, they assume 96 px/in everywhere.
    bool physicalUnitsPerMonitor = true;
    // The built-in loupe beside the point the compass measures from, and how
    // many times it enlarges.
    bool loupe = false;
    std::int32_t loupeZoom = 4;

    [[nodiscard]] const IniDocument& document() const { return m_doc; }
    // Whether the file holds `key` in its options.
    [[nodiscard]] bool isStored(QStringView key) const;
    // The keys whose stored values were out of range when read; save() stores
    // the corrected values and empties the list.
    [[nodiscard]] const QStringList& corrected() const { return m_corrected; }

private:
    IniDocument m_doc;
    QStringList m_corrected;
    QChar m_separator;
};

// The default skin's definition beside the options file: folder + "default/default.ini".
[[nodiscard]] QString defaultSkinPathFor(const QString& optionsFileName);

} // namespace orvanta
