// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
#include <QString>
namespace orvanta::art {
// The fourteen animated cursors, img/<name>.ani, in the program's numbering.
void writeCursors(const QString& folder);
} // namespace orvanta::art
