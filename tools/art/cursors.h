#pragma once
#include <QString>
namespace orvanta::art {
// The fourteen animated cursors, img/<name>.ani, in the program's numbering.
void writeCursors(const QString& folder);
} // namespace orvanta::art
