// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "package/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcPackage, "orvanta.package", QtWarningMsg)

} // namespace orvanta
