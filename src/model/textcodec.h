// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Text files of ours are UTF-8. Files from older installations and hand-made
// skins may be GB18030 (the superset of GBK and GB2312), because their section
// and key names are Chinese: bytes that are not valid UTF-8 are read as GB18030.

#include <QByteArray>
#include <QString>

namespace orvanta {

// UTF-8 (with or without a byte-order mark) when the bytes are valid UTF-8,
// GB18030 otherwise.
[[nodiscard]] QString decodeText(const QByteArray& bytes);

// GB18030 bytes to text; exposed for tests and for writers of legacy fixtures.
[[nodiscard]] QString decodeGb18030(const QByteArray& bytes);
[[nodiscard]] QByteArray encodeGb18030(const QString& text);

} // namespace orvanta
