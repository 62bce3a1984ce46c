// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Where per-user files go on a freedesktop.org desktop.

#include <QString>

namespace orvanta {

// The user's configuration folder: `xdgConfigHomeVariable` ($XDG_CONFIG_HOME)
// when it is an absolute path (the base directory rules say a relative one is
// invalid and must be ignored), otherwise `home` + "/.config".
[[nodiscard]] QString xdgConfigHome(const QString& xdgConfigHomeVariable, const QString& home);

// The user's data folder, by the same rule: $XDG_DATA_HOME when absolute,
// otherwise `home` + "/.local/share".
[[nodiscard]] QString xdgDataHome(const QString& xdgDataHomeVariable, const QString& home);

// The same from the environment of this process.
[[nodiscard]] QString xdgConfigHome();
[[nodiscard]] QString xdgDataHome();

} // namespace orvanta
