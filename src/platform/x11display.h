// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Whether an X server answers, asked before Qt connects: Qt's xcb plugin ends
// the process with an abort when it cannot, which a user must not meet.

#include <QString>

namespace orvanta {

// True when the X display `display` (DISPLAY's when empty) accepts a
// connection.
[[nodiscard]] bool x11DisplayOpens(const QString& display);

} // namespace orvanta
