// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Typed entry: the user types a number (optionally after + - * /) while the
// compass has the keyboard focus, and Enter jumps to it. The point typed is
// always "."; the number is read with the regional separator, so on a system
// that writes "1,5" the entry "1.5" is refused with the usual message.

#include "model/measurement.h"

#include <QChar>
#include <QString>
#include <optional>

namespace orvanta {

constexpr char16_t kEnterKey = 13;
constexpr char16_t kBackspaceKey = 8;

// The readout while typing: the text shown and whether it is an entry.
struct TypedEntry {
    QString text;
    bool typing = false;
};

// One character's effect on the entry (everything but Enter): Backspace edits
// whatever is shown, an operator starts a new entry, digits append, a second
// point restarts the entry as a lone point, anything else leaves it alone.
[[nodiscard]] TypedEntry stepEntry(TypedEntry entry, QChar c);

// What Enter applies: an operation and the number's text. A leading operator
// gives Add, Subtract, Multiply or Divide with the rest as operand; none gives
// Set with the whole text. A lone operator gives nothing: typing goes on.
struct EntryCommand {
    EntryOp op = OpSet;
    QString operand;
};
[[nodiscard]] std::optional<EntryCommand> parseEntry(const QString& text);

} // namespace orvanta
