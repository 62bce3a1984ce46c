// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
#include <QString>
namespace orvanta::art {
// The tray icons, the application icon (PNG and SVG) and the splash picture.
void writeBrand(const QString& repoRoot);
// The application icon at the desktop's icon sizes, drawn at each size, into
// assets/linux/icons/hicolor/<n>x<n>/apps/orvanta.png.
void writeDesktopIcons(const QString& repoRoot);
} // namespace orvanta::art
