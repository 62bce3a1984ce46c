// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Where the model reports what it cannot tell the user: a Compass.ini or
// distances.ini that could not be written. Warnings show by default; debug
// lines need QT_LOGGING_RULES="orvanta.*.debug=true".

#include <QLoggingCategory>

namespace orvanta {

Q_DECLARE_LOGGING_CATEGORY(lcSettings)

} // namespace orvanta
