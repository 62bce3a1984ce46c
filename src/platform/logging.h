// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Where the desktop glue reports failures that leave the program running
// without telling the user: requests the X server refused (orvanta.x11), and
// cursors, the autostart entry and the key/value store (orvanta.platform).
// Warnings show by default; debug lines need
// QT_LOGGING_RULES="orvanta.*.debug=true".

#include <QLoggingCategory>

namespace orvanta {

Q_DECLARE_LOGGING_CATEGORY(lcX11)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)

} // namespace orvanta
