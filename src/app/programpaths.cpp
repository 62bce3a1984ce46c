// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/programpaths.h"

#include "app/logging.h"
#include "platform/xdgpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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
    // access(2): false for a read-only mount even for root, and for a folder
    // whose permissions keep this user out.
    return forProgram(programFolder, configHome, dataHome, QFileInfo(programFolder).isWritable());
}

ProgramPaths ProgramPaths::forProgram(const QString& programFolder, const QString& configHome,
                                      const QString& dataHome, bool folderWritable) {
    if (QFileInfo::exists(QDir(programFolder).filePath(kPortableMarker))) {
        ProgramPaths p = portableIn(programFolder);
        p.perUserUnits = perUserUnitsPathIn(configHome);
        if (!folderWritable) {
            // Saving into the folder would fail at every change; the user's
            // files go where an installed program keeps them.
            p.readOnlyFolder = p.assets;
            p.config = withSlash(QDir(configHome).filePath(kUserFolder));
            p.userSkins = QDir(dataHome).filePath(kUserFolder + QStringLiteral("/skins"));
        }
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
    return (portable && readOnlyFolder.isEmpty()) || QDir().mkpath(config);
}

bool ProgramPaths::adoptReadOnlyFolder() const {
    if (readOnlyFolder.isEmpty() || QFileInfo::exists(optionsFile()))
        return false;
    for (const QString& name : {QStringLiteral("distances.ini"), QStringLiteral("Compass.ini")})
        if (QFileInfo::exists(readOnlyFolder + name) && !QFileInfo::exists(config + name) &&
            !QFile::copy(readOnlyFolder + name, config + name))
            qCWarning(lcApp, "Cannot copy \"%s\" to \"%s\"", qUtf8Printable(readOnlyFolder + name),
                      qUtf8Printable(config));
    // The options file marks the move as done: the user is told only once.
    QFile options(optionsFile());
    if (!options.exists() && !options.open(QIODevice::WriteOnly))
        qCWarning(lcApp, "Cannot create \"%s\": %s", qUtf8Printable(optionsFile()),
                  qUtf8Printable(options.errorString()));
    // A copy keeps the read-only mode of the medium it came from.
    for (const QString& name : {QStringLiteral("distances.ini"), QStringLiteral("Compass.ini")})
        if (QFileInfo::exists(config + name))
            QFile::setPermissions(config + name, QFile::permissions(config + name) |
                                                     QFile::WriteOwner | QFile::ReadOwner);
    return true;
}

QString ProgramPaths::readOnlyFolderNotice() const {
    return QCoreApplication::translate("ProgramPaths",
                                       "The program folder \"%1\" cannot be written. Your options "
                                       "and units are kept in \"%2\" instead.")
        .arg(QDir::toNativeSeparators(readOnlyFolder), QDir::toNativeSeparators(config));
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
