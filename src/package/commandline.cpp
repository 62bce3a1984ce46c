// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "package/commandline.h"

#include <algorithm>

namespace orvanta {

namespace {

const QString kStartMinimisedSwitch = QStringLiteral("/m");
const QString kSkinPackageExtension = QStringLiteral(".compassskin");

} // namespace

QStringView fileNamePart(QStringView path) {
    const qsizetype cut =
        std::max({path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'), path.lastIndexOf(u':')});
    return path.sliced(cut + 1);
}

QStringView fileExtension(QStringView path) {
    const QStringView name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QStringView() : name.sliced(dot);
}

bool isStartMinimisedSwitch(QStringView argument) {
    return argument.compare(kStartMinimisedSwitch, Qt::CaseInsensitive) == 0;
}

bool isSkinPackagePath(QStringView argument) {
    return fileExtension(argument).compare(kSkinPackageExtension, Qt::CaseInsensitive) == 0;
}

CommandLineScan scanCommandLine(const QStringList& arguments) {
    CommandLineScan scan;
    for (const QString& argument : arguments) {
        if (isStartMinimisedSwitch(argument))
            scan.startMinimised = true;
        if (isSkinPackagePath(argument))
            scan.packages.append(argument);
    }
    return scan;
}

} // namespace orvanta
