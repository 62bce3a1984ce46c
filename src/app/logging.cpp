// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcApp, "orvanta.app", QtWarningMsg)

} // namespace orvanta
