// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Numbers as text: the one place that formats and reads numbers for the readout,
// the options file, the units file and typed entry.
//
// Measurement arithmetic uses long double (80-bit extended on x86). Numbers shown
// to or read from the user use the regional decimal separator, which every caller
// passes in, so that tests can cover both "." and ",".

// The parsers here throw it, so every caller that catches needs it.
#include "model/orvantaerror.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace orvanta {

// The context of the error texts in the translation catalogue: mark a text with
// QT_TRANSLATE_NOOP("Errors", "...") and pass it here.
inline constexpr char kErrorContext[] = "Errors";

// An error from an English text marked for translation in kErrorContext, its
// %1, %2 ... filled with `args` in both languages. An argument that is itself
// an error's message is passed as `nested` so that each text gets its own.
[[nodiscard]] OrvantaError translatableError(const char* source, const QStringList& args = {});
[[nodiscard]] OrvantaError translatableError(const char* source, const QStringList& args,
                                             const OrvantaError& nested);

// The decimal separator of the user's locale ("." or "," in practice).
[[nodiscard]] QChar systemDecimalSeparator();

// Nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4).
[[nodiscard]] long double roundHalfEven(long double v);
// Nearest whole number, halves away from zero (2.5 -> 3, -2.5 -> -3).
[[nodiscard]] long double roundHalfAway(long double v);

// The readout pattern "0." followed by `decimals` times "#": at least one integer
// digit, at most `decimals` decimals, trailing zero decimals dropped, no separator
// without a decimal after it, a leading "-" for negative values.
[[nodiscard]] QString formatReadout(long double v, int decimals, QChar separator);

// General format with at most 15 significant digits, shortest form: a float 12.3
// widened to double is "12.3000001907349", 100 is "100", 1e20 is "1E20".
[[nodiscard]] QString formatGeneral(long double v, QChar separator);

// Reads a decimal number: optional blanks, sign, digits with at most one
// `separator`, an optional exponent ("E", "e", with sign). Nothing else: no
// thousands separators, no "inf" or "nan", no empty text.
[[nodiscard]] std::optional<long double> parseFloat(QStringView text, QChar separator);

// Reads a 32-bit integer: decimal with an optional sign, or hexadecimal after
// "$" or "0x"/"0X" (two's complement for values above 0x7FFFFFFF, as the
// profile-file readers do). Surrounding blanks are allowed.
[[nodiscard]] std::optional<std::int32_t> parseInt(QStringView text);

// The conversion error "'%s' is not a valid integer value", the offending text
// in place of %s.
[[nodiscard]] OrvantaError invalidIntegerError(const QString& text);

// parseFloat that throws OrvantaError("'%s' is not a valid floating point value")
// on failure.
[[nodiscard]] long double toFloat(const QString& text, QChar separator);

} // namespace orvanta
