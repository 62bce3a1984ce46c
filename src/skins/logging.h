// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Where skin loading reports what the user's message box leaves out: which
// skin was left out of the list and why. Warnings show by default; debug lines
// need QT_LOGGING_RULES="orvanta.*.debug=true".

#include <QLoggingCategory>

namespace orvanta {

Q_DECLARE_LOGGING_CATEGORY(lcSkins)

} // namespace orvanta
