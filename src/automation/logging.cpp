// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcDbus, "orvanta.dbus", QtWarningMsg)

} // namespace orvanta
