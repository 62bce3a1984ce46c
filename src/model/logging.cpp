// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcSettings, "orvanta.settings", QtWarningMsg)

} // namespace orvanta
