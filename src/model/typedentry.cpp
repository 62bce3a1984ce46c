// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/typedentry.h"

namespace orvanta {

namespace {

// The point of typed entry, whatever the regional settings.
constexpr char16_t kTypedPoint = u'.';

std::optional<EntryOp> operatorOf(QChar c) {
    switch (c.unicode()) {
    case u'+':
        return OpAdd;
    case u'-':
        return OpSubtract;
    case u'*':
        return OpMultiply;
    case u'/':
        return OpDivide;
    default:
        return std::nullopt;
    }
}

} // namespace

TypedEntry stepEntry(TypedEntry entry, QChar c) {
    if (c == QChar(kBackspaceKey)) {
        entry.text.chop(1); // editing may start from the shown measurement
        entry.typing = true;
    } else if (operatorOf(c)) {
        entry.text = c;
        entry.typing = true;
    } else if (c >= u'0' && c <= u'9') {
        entry.text = entry.typing ? entry.text + c : QString(c);
        entry.typing = true;
    } else if (c == QChar(kTypedPoint)) {
        const bool append = entry.typing && !entry.text.contains(kTypedPoint);
        entry.text = append ? entry.text + c : QString(c);
        entry.typing = true;
    }
    return entry;
}

std::optional<EntryCommand> parseEntry(const QString& text) {
    if (text.isEmpty())
        return EntryCommand{OpSet, text};
    const auto op = operatorOf(text.front());
    if (!op)
        return EntryCommand{OpSet, text};
    if (text.size() == 1)
        return std::nullopt;
    return EntryCommand{*op, text.sliced(1)};
}

} // namespace orvanta
