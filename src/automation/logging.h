// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The category of the D-Bus automation objects (orvanta.dbus). Warnings show
// by default; debug lines need QT_LOGGING_RULES="orvanta.*.debug=true".

#include <QLoggingCategory>

namespace orvanta {

Q_DECLARE_LOGGING_CATEGORY(lcDbus)

} // namespace orvanta
