#pragma once
#include <QString>
namespace orvanta::art {
// The tray icons, the application icon (PNG and SVG) and the splash picture.
void writeBrand(const QString& repoRoot);
} // namespace orvanta::art
