// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Where composition and drawing report what never reaches a message box.
// Warnings show by default; debug lines need
// QT_LOGGING_RULES="orvanta.*.debug=true".

#include <QLoggingCategory>

namespace orvanta {

Q_DECLARE_LOGGING_CATEGORY(lcRender)

} // namespace orvanta
