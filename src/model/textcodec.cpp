// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/textcodec.h"

#include <QStringDecoder>
#include <cerrno>
#include <iconv.h>
#include <memory>

namespace orvanta {

namespace {

// Qt's converters know only the UTF and Latin-1 encodings without ICU, so the
// legacy encoding goes through the C library's iconv, which always has GB18030.
QByteArray convert(const QByteArray& bytes, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);
    QByteArray out;
    out.resize(bytes.size() * 4 + 16);
    QByteArray in = bytes;
    char* inPtr = in.data();
    size_t inLeft = size_t(in.size());
    char* outPtr = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG) {
            const auto used = outPtr - out.data();
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = size_t(out.size() - used);
        } else {
            // An invalid or truncated sequence: skip one byte, keep going.
            ++inPtr;
            --inLeft;
        }
    }
    out.resize(outPtr - out.data());
    return out;
}

} // namespace

QString decodeText(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(view.sliced(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    return decodeGb18030(bytes);
}

QString decodeGb18030(const QByteArray& bytes) {
    return QString::fromUtf8(convert(bytes, "GB18030", "UTF-8"));
}

QByteArray encodeGb18030(const QString& text) {
    return convert(text.toUtf8(), "UTF-8", "GB18030");
}

} // namespace orvanta
