// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "skins/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcSkins, "orvanta.skins", QtWarningMsg)

} // namespace orvanta
