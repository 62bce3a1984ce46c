// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/programpaths.h"

#include "platform/xdgpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orvanta {

namespace {

// What makes a folder a portable program folder: the default skin beside the
// program file, as the build's bin/ and an unpacked archive have it.
const QString kPortableMarker = QStringLiteral("default/default.ini");
// The installed assets, relative to the program file's folder (<prefix>/bin).
const QString kSharedAssets = QStringLiteral("../share/orvanta");
// The program's folder under the user's XDG configuration and data folders.
const QString kUserFolder = QStringLiteral("Orvanta");

QString withSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

QString programFile() {
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    if (exe.exists())
        return exe.canonicalFilePath();
    return QCoreApplication::applicationFilePath();
}

QString programFolder() {
    return QFileInfo(programFile()).absolutePath() + u'/';
}

ProgramPaths ProgramPaths::portableIn(const QString& programFolder) {
    ProgramPaths p;
    p.portable = true;
    p.assets = withSlash(programFolder);
    p.config = p.assets;
    p.userSkins = p.assets + QStringLiteral("skins");
    p.sharedSkins = p.userSkins;
    p.perUserUnits = perUserUnitsPath();
    return p;
}

ProgramPaths ProgramPaths::forProgram(const QString& programFolder, const QString& configHome,
                                      const QString& dataHome) {
    if (QFileInfo::exists(QDir(programFolder).filePath(kPortableMarker))) {
        ProgramPaths p = portableIn(programFolder);
        p.perUserUnits = perUserUnitsPathIn(configHome);
        return p;
    }
    ProgramPaths p;
    p.portable = false;
    p.assets = withSlash(QDir::cleanPath(QDir(programFolder).filePath(kSharedAssets)));
    p.config = withSlash(QDir(configHome).filePath(kUserFolder));
    p.userSkins = QDir(dataHome).filePath(kUserFolder + QStringLiteral("/skins"));
    p.sharedSkins = p.assets + QStringLiteral("skins");
    p.perUserUnits = perUserUnitsPathIn(configHome);
    return p;
}

ProgramPaths ProgramPaths::detect() {
    return forProgram(programFolder(), xdgConfigHome(), xdgDataHome());
}

QString ProgramPaths::optionsFile() const {
    return config + QStringLiteral("Compass.ini");
}

QString ProgramPaths::defaultSkin() const {
    return assets + kPortableMarker;
}

QStringList ProgramPaths::skinFolders() const {
    if (userSkins == sharedSkins)
        return {userSkins};
    return {userSkins, sharedSkins};
}

UnitFiles ProgramPaths::unitsFiles() const {
    const QString name = QStringLiteral("distances.ini");
    if (portable)
        return UnitFiles{config + name, {}, perUserUnits};
    return UnitFiles{config + name, assets + name, perUserUnits};
}

PackageTarget ProgramPaths::packageTarget() const {
    return PackageTarget{userSkins, optionsFile()};
}

Settings ProgramPaths::loadOptions() const {
    Settings options(optionsFile());
    if (!options.document().value(u"Options", u"skinPath"))
        options.skinPath = defaultSkin();
    return options;
}

bool ProgramPaths::prepareUserFolders() const {
    return portable || QDir().mkpath(config);
}

ControllerFiles ProgramPaths::controllerFiles(const QString& programFile) const {
    return ControllerFiles{optionsFile(),
                           unitsFiles(),
                           skinFolders(),
                           defaultSkin(),
                           programFile,
                           packageTarget(),
                           config + QStringLiteral("calibration.ini")};
}

} // namespace orvanta
