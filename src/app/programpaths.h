// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Where the program finds what it ships and keeps what the user changes.
//
// Two layouts, told apart once at start:
// - portable: the program file lies beside default/default.ini (a build's bin/
//   folder, an unpacked archive). Everything is in that one folder: assets,
//   Compass.ini, distances.ini and skins/.
// - installed: anywhere else (/usr/bin/orvanta). The assets are read-only in
//   <prefix>/share/orvanta/, found from the program file's own folder, so any
//   prefix works. What the user changes lives in the XDG folders:
//   $XDG_CONFIG_HOME/Orvanta/ holds Compass.ini and distances.ini,
//   $XDG_DATA_HOME/Orvanta/skins/ the skins the user installs, listed together
//   with the shipped ones.
// - a portable folder that cannot be written (a read-only medium, a folder of
//   another user): assets and shipped skins from that folder, what the user
//   changes in the XDG folders as for an installed program.

#include "control/compasscontroller.h"
#include "model/settings.h"
#include "model/unittable.h"
#include "package/installer.h"

#include <QString>
#include <QStringList>

namespace orvanta {

// The folder of the running program file, with a trailing "/". Works before
// the application object exists (it reads /proc/self/exe).
[[nodiscard]] QString programFolder();
// The full path of the running program file.
[[nodiscard]] QString programFile();

struct ProgramPaths {
    bool portable = true;
    QString assets;         // default/, img/, help/, icons, shipped data; trailing "/"
    QString config;         // Compass.ini and distances.ini; trailing "/"
    QString userSkins;      // where packages install; no trailing "/"
    QString sharedSkins;    // the shipped skins; the same folder when portable
    QString perUserUnits;   // the optional per-user copy of the units
    QString readOnlyFolder; // the portable folder that cannot be written; else empty

    // The layout of a program file whose folder is `programFolder`, for a
    // user whose XDG base folders are `configHome` and `dataHome`.
    [[nodiscard]] static ProgramPaths
    forProgram(const QString& programFolder, const QString& configHome, const QString& dataHome);
    // The same, told whether the program folder can be written.
    [[nodiscard]] static ProgramPaths forProgram(const QString& programFolder,
                                                 const QString& configHome, const QString& dataHome,
                                                 bool folderWritable);
    // Everything in `programFolder`, whatever lies there.
    [[nodiscard]] static ProgramPaths portableIn(const QString& programFolder);
    // The layout of the running program for the user of this process.
    [[nodiscard]] static ProgramPaths detect();

    [[nodiscard]] QString optionsFile() const;
    [[nodiscard]] QString defaultSkin() const;
    // The user's skins first: a user's skin folder hides a shipped one of the
    // same name.
    [[nodiscard]] QStringList skinFolders() const;
    [[nodiscard]] UnitFiles unitsFiles() const;
    [[nodiscard]] PackageTarget packageTarget() const;

    // The options of this layout. A missing "skinPath" names the shipped
    // default skin, which lies beside Compass.ini only in a portable folder.
    [[nodiscard]] Settings loadOptions() const;
    // What the controller reads and writes; `programFile` starts another
    // instance and goes into the autostart entry.
    [[nodiscard]] ControllerFiles controllerFiles(const QString& programFile) const;

    // Creates the user's configuration folder of an installed program, so that
    // the first save of the options has somewhere to go. Nothing is copied.
    // Returns false when it cannot be created.
    bool prepareUserFolders() const;
    // In a read-only portable folder, the first start that finds no options in
    // the configuration folder copies the folder's Compass.ini and
    // distances.ini there (an empty Compass.ini when it has none) and returns
    // true: the user is then told where they are kept. False otherwise.
    bool adoptReadOnlyFolder() const;
    // What the user is told then.
    [[nodiscard]] QString readOnlyFolderNotice() const;
};

} // namespace orvanta
