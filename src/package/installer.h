// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Installing a skin package: its files go into <skins folder>/<package name>,
// and its INI file, if it has one, becomes the selected skin in Compass.ini.
// In a portable program folder both lie in that folder; an installed program
// names the user's own.
//
// The installation is all or nothing. Every entry is unpacked and verified in a
// staging folder inside "skins" first; only then are the files moved into
// place, and only then is the skin recorded. When anything fails, the skins
// folder and Compass.ini are left as they were and the error says what failed.

#include "package/zipfile.h"

#include <QString>
#include <cstdint>

namespace orvanta {

// Where a package goes and where its skin is recorded.
struct PackageTarget {
    QString skinsFolder;
    QString optionsFile;
};

// Folder entries are skipped; subfolders of the package are flattened into the
// package folder; files of an existing package folder that the package does not
// bring stay. A missing skins folder is created, with its parents. Throws
// OrvantaError (or ZipCrcError) with the message to show. Bytes that are
// not a ZIP archive install nothing. Returns the skin definition it recorded,
// or nothing when the package brings none.
QString installSkinPackage(const PackageTarget& target, const QString& packagePath,
                           std::int64_t maxBytes = kMaxPackageBytes);
// The same into programFolder/skins, recorded in programFolder/Compass.ini.
QString installSkinPackage(const QString& programFolder, const QString& packagePath,
                           std::int64_t maxBytes = kMaxPackageBytes);

// The file an entry unpacks to: the last component of its name ("/" and "\"
// both separate), or empty for a folder entry. Throws OrvantaError for a name
// that is empty, absolute, carries a drive letter, control characters or "..",
// or ends in "." or "..".
[[nodiscard]] QString packageEntryFileName(const QString& entryName);

// The package's folder under "skins": its file name without the extension.
// Throws OrvantaError when that leaves no usable folder name.
[[nodiscard]] QString packageFolderName(const QString& packagePath);

} // namespace orvanta
