// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/numbers.h"

#include <QCoreApplication>
#include <QLocale>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace orvanta {

namespace {

// Digits beyond this many decimals carry no information in an 80-bit value.
constexpr int kMaxReadoutDecimals = 18;
// General format shows at most this many significant digits.
constexpr int kGeneralDigits = 15;

QString nonFiniteText(long double v) {
    if (std::isnan(v))
        return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString withSeparator(std::string_view ascii, QChar separator) {
    QString out = QString::fromLatin1(ascii.data(), qsizetype(ascii.size()));
    if (separator != u'.')
        out.replace(u'.', separator);
    return out;
}

} // namespace

QChar systemDecimalSeparator() {
    const QString sep = QLocale::system().decimalPoint();
    return sep.isEmpty() ? QChar(u'.') : sep.front();
}

long double roundHalfEven(long double v) {
    if (!std::isfinite(v))
        return v;
    const long double floor = std::floor(v);
    const long double diff = v - floor;
    if (diff < 0.5L)
        return floor;
    if (diff > 0.5L)
        return floor + 1;
    return std::fmod(floor, 2.0L) == 0 ? floor : floor + 1;
}

long double roundHalfAway(long double v) {
    return std::round(v);
}

QString formatReadout(long double v, int decimals, QChar separator) {
    if (!std::isfinite(v))
        return nonFiniteText(v);
    decimals = std::clamp(decimals, 0, kMaxReadoutDecimals);
    std::array<char, 5000> buf{}; // fixed notation of LDBL_MAX needs ~4950 digits
    const auto [end, ec] =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return nonFiniteText(v);
    std::string_view text(buf.data(), std::size_t(end - buf.data()));
    if (text.find('.') != std::string_view::npos) {
        while (text.back() == '0')
            text.remove_suffix(1);
        if (text.back() == '.')
            text.remove_suffix(1);
    }
    if (text == "-0")
        text = "0"; // a negative value that rounds to zero shows no sign
    return withSeparator(text, separator);
}

QString formatGeneral(long double v, QChar separator) {
    if (!std::isfinite(v))
        return nonFiniteText(v);
    if (v == 0)
        return QStringLiteral("0");
    // Scientific with 15 significant digits gives the digits and the exponent.
    std::array<char, 64> buf{};
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), v,
                                         std::chars_format::scientific, kGeneralDigits - 1);
    if (ec != std::errc())
        return nonFiniteText(v);
    const std::string_view sci(buf.data(), std::size_t(end - buf.data()));
    const std::size_t ePos = sci.find('e');
    const bool negative = sci.front() == '-';
    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (c >= '0' && c <= '9')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                    exponent);

    std::string out = negative ? "-" : "";
    // Fixed notation while the integer digits fit the precision and the value
    // is at least 0.00001; scientific ("1.5E20", "1E-6") otherwise.
    if (exponent >= kGeneralDigits || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0.";
        out += std::string(std::size_t(-exponent - 1), '0');
        out += digits;
    } else {
        const std::size_t intDigits = std::size_t(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out += std::string(intDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intDigits);
            out += '.';
            out += digits.substr(intDigits);
        }
    }
    return withSeparator(out, separator);
}

std::optional<long double> parseFloat(QStringView text, QChar separator) {
    text = text.trimmed();
    std::string ascii;
    ascii.reserve(std::size_t(text.size()));
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ascii += char(text[i++].unicode());
    bool digitsSeen = false;
    bool pointSeen = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            ascii += char(c.unicode());
            digitsSeen = true;
        } else if (c == separator && !pointSeen) {
            ascii += '.';
            pointSeen = true;
        } else {
            break;
        }
    }
    if (!digitsSeen)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ascii += char(text[i++].unicode());
        bool expDigits = false;
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            ascii += char(text[i].unicode());
            expDigits = true;
        }
        if (!expDigits)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    const char* first = ascii.data();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    long double value = 0;
    const auto [ptr, ec] = std::from_chars(first, ascii.data() + ascii.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Overflow is an error; underflow reads as zero.
        const bool tiny = ascii.find("e-") != std::string::npos;
        if (!tiny)
            return std::nullopt;
        return ascii.front() == '-' ? -0.0L : 0.0L;
    }
    if (ec != std::errc() || ptr != ascii.data() + ascii.size())
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> parseInt(QStringView text) {
    text = text.trimmed();
    bool negative = false;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (text.size() - i > 2 && text[i] == u'0' &&
               (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = 10 + (c - u'a');
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = 10 + (c - u'A');
        if (d < 0)
            return std::nullopt;
        value = value * std::uint64_t(base) + std::uint64_t(d);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 16) {
        // Hexadecimal covers the full 32 bits: $FFFFFFFF is -1.
        const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        return negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(bits)) : bits;
    }
    const std::int64_t signedValue = negative ? -std::int64_t(value) : std::int64_t(value);
    if (signedValue < std::numeric_limits<std::int32_t>::min() ||
        signedValue > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(signedValue);
}

namespace {

const char* const kInvalidFloat =
    QT_TRANSLATE_NOOP("Errors", "'%1' is not a valid floating point value");
const char* const kInvalidInteger =
    QT_TRANSLATE_NOOP("Errors", "'%1' is not a valid integer value");

// %1 .. %9 replaced in one pass, so that an argument holding "%2" stays as it is.
QString fill(const QString& pattern, const QStringList& args) {
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'%' && i + 1 < pattern.size()) {
            const int n = pattern.at(i + 1).digitValue();
            if (n >= 1 && n <= args.size()) {
                out += args.at(n - 1);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace

OrvantaError translatableError(const char* source, const QStringList& args) {
    return OrvantaError(fill(QString::fromUtf8(source), args),
                        fill(QCoreApplication::translate(kErrorContext, source), args));
}

OrvantaError translatableError(const char* source, const QStringList& args,
                               const OrvantaError& nested) {
    return OrvantaError(fill(QString::fromUtf8(source), args + QStringList{nested.message()}),
                        fill(QCoreApplication::translate(kErrorContext, source),
                             args + QStringList{nested.userMessage()}));
}

OrvantaError invalidIntegerError(const QString& text) {
    return translatableError(kInvalidInteger, {text});
}

long double toFloat(const QString& text, QChar separator) {
    if (const auto v = parseFloat(text, separator))
        return *v;
    throw translatableError(kInvalidFloat, {text});
}

} // namespace orvanta
