// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcRender, "orvanta.render", QtWarningMsg)

} // namespace orvanta
