// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Where the package installer reports what the user's error message leaves
// out: a rolled-back installation and anything it could not put back.
// Warnings show by default; debug lines need
// QT_LOGGING_RULES="orvanta.*.debug=true".

#include <QLoggingCategory>

namespace orvanta {

Q_DECLARE_LOGGING_CATEGORY(lcPackage)

} // namespace orvanta
