// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcX11, "orvanta.x11", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlatform, "orvanta.platform", QtWarningMsg)

} // namespace orvanta
