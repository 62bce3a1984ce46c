// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The start-up scan of the command line: which arguments ask for a start in the
// notification area and which name skin packages to install first. Pure
// functions over the argument list, argument 0 (the program's path) included.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace orvanta {

struct CommandLineScan {
    bool startMinimised = false;
    QStringList packages; // in command-line order
};

// The last component of a path, after the last "/", "\" or ":".
[[nodiscard]] QStringView fileNamePart(QStringView path);
// The extension with its dot, from the last dot of the last component; empty
// when that component has no dot.
[[nodiscard]] QStringView fileExtension(QStringView path);

// "/m" in any case, as the whole argument.
[[nodiscard]] bool isStartMinimisedSwitch(QStringView argument);
// A path whose extension is ".compassskin" in any case.
[[nodiscard]] bool isSkinPackagePath(QStringView argument);

// Both tests are applied to every argument independently.
[[nodiscard]] CommandLineScan scanCommandLine(const QStringList& arguments);

} // namespace orvanta
