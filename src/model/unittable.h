// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Units of measure: a name, a ratio (so many pixels are so many units) and the
// decimals the readout shows. The first unitsLockedCount units are shipped with
// the program; the rest are the user's own. They live in "distances.ini" beside
// the program and, when the user has one, in a per-user copy that takes
// precedence.

#include "model/numbers.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <vector>

namespace orvanta {

// $XDG_CONFIG_HOME (default ~/.config) + "/Velmora/config/distances.ini".
[[nodiscard]] QString perUserUnitsPath();
// The same under the configuration folder `configHome`.
[[nodiscard]] QString perUserUnitsPathIn(const QString& configHome);

// The files the units live in.
struct UnitFiles {
    // Read, and written by Save: "distances.ini" of a portable program folder,
    // or the user's own file when the program is installed.
    QString userFile;
    // Read under `userFile` and never written: what `userFile` does not hold
    // (the shipped units, everything before the first save) comes from here.
    // Empty when `userFile` is the shipped file itself.
    QString shippedFile;
    // The per-user copy, read instead of `userFile` when it exists at creation.
    QString perUserFile;
};

// The ratio the formulas use: a length of L pixels is L / pixels * units units.
struct UnitScale {
    long double pixels = 1;
    long double units = 1;
};

class UnitTable {
public:
    // Loads the per-user file when `perUserFile` exists now, else the file
    // "distances.ini" in `programFolder`. A missing file gives the defaults.
    // Throws OrvantaError when the chosen file exists but cannot be read.
    UnitTable(const QString& programFolder, const QString& perUserFile,
              QChar decimalSeparator = systemDecimalSeparator());
    // The same with the files named one by one.
    explicit UnitTable(const UnitFiles& files, QChar decimalSeparator = systemDecimalSeparator());

    [[nodiscard]] std::int32_t unitsCount() const { return std::int32_t(m_units.size()); }
    [[nodiscard]] std::int32_t unitsLockedCount() const { return m_lockedCount; }
    [[nodiscard]] std::int32_t selectedUnit() const { return m_selected; }

    // Outside 0..unitsCount-1 these answer "", 0, 0 and 0. The name is the
    // one the file holds.
    [[nodiscard]] QString name(std::int32_t index) const;
    // The name the user reads: a shipped unit the program knows (pixels,
    // inches, centimetres, millimetres, points, picas), stored under its
    // Chinese or English name, in the user's language; a unit of the user's
    // still called by the name the program gave it ("自定义1") as "Custom 1"
    // in the user's language; any other as stored.
    [[nodiscard]] QString displayName(std::int32_t index) const;
    // The short form written after a number: "px", "in", "cm", "mm", "pt",
    // "pc" for the shipped units (the same in every language), the display
    // name for any other.
    [[nodiscard]] QString symbol(std::int32_t index) const;
    [[nodiscard]] long double pixelNum(std::int32_t index) const;
    [[nodiscard]] long double unitNum(std::int32_t index) const;
    [[nodiscard]] std::int32_t decimalNum(std::int32_t index) const;

    // A negative index is ignored; an index at or past the end grows the list
    // first (up to kMaxUnits; indexes beyond are ignored too). A name equal
    // to the unit's displayName keeps the name the file holds.
    void setName(std::int32_t index, const QString& name);
    void setPixelNum(std::int32_t index, long double pixels);
    void setUnitNum(std::int32_t index, long double units);
    void setDecimalNum(std::int32_t index, std::int32_t decimals);

    // Resizes the list, keeping the first entries; new entries are "", 0, 0, 0.
    // Clamped to 0..kMaxUnits.
    void setCount(std::int32_t count);
    // Ignored unless 0 <= index < unitsCount.
    void select(std::int32_t index);

    // Writes the user's units and the selection to the per-user file (when in
    // use), then to the default file. Throws OrvantaError("Cannot create file
    // ...") naming the file that could not be written, and logs it under
    // orvanta.settings, since some callers cannot show it. With a per-user file
    // in use, a read-only program folder is not an error: the user's copy holds
    // everything the next start reads.
    void save() const;

    // The ratio of the selected unit, or 1:1 when the selection is outside the
    // list or its ratio cannot convert (zero, negative or not finite), so that
    // the readout and typed entry always agree and never divide by zero.
    [[nodiscard]] UnitScale selectedScale() const;

    [[nodiscard]] const QString& defaultFile() const { return m_defaultFile; }
    // Empty when no per-user file existed at creation.
    [[nodiscard]] const QString& perUserFile() const { return m_perUserFile; }

    // A units file asking for more would make the program allocate without
    // bound; the units menu could not show more anyway.
    static constexpr std::int32_t kMaxUnits = 1000;

private:
    struct Unit {
        QString name;
        long double pixels = 0;
        long double units = 0;
        std::int32_t decimals = 0;
    };

    void load(const QString& path);
    void saveTo(const QString& path) const;
    [[nodiscard]] const Unit* at(std::int32_t index) const;
    [[nodiscard]] Unit* grow(std::int32_t index);

    QString m_defaultFile;
    QString m_shippedFile;
    QString m_perUserFile;
    QChar m_separator;
    std::int32_t m_lockedCount = 0;
    std::int32_t m_selected = 0;
    std::vector<Unit> m_units;
};

// Typed text in the selected unit to pixels: number * P / U / zoom, as a float,
// not rounded. Throws OrvantaError("'%s' is not a valid floating point value")
// for text that is not a number, and a range error when the result is not a
// finite float (a zero or non-finite zoom, a number too large).
[[nodiscard]] float unitsToPixels(const QString& text, UnitScale scale, float zoom,
                                  QChar separator);

// A length in the selected unit to whole pixels: v * P / U rounded with halves
// away from zero. No zoom. Throws OrvantaError("'%s' is not a valid integer
// value") when the result does not fit 32 bits.
[[nodiscard]] std::int32_t unitsToWholePixels(double v, UnitScale scale, QChar separator);

} // namespace orvanta
