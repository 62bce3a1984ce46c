#include "app/programfolder.h"

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

QString ProgramFile() {
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    if (exe.exists())
        return exe.canonicalFilePath();
    return QCoreApplication::applicationFilePath();
}

QString ProgramFolder() {
    return QFileInfo(ProgramFile()).absolutePath() + u'/';
}

TProgramPaths TProgramPaths::PortableIn(const QString& programFolder) {
    TProgramPaths p;
    p.Portable = true;
    p.Assets = withSlash(programFolder);
    p.Config = p.Assets;
    p.UserSkins = p.Assets + QStringLiteral("skins");
    p.SharedSkins = p.UserSkins;
    p.PerUserUnits = perUserUnitsPath();
    return p;
}

TProgramPaths TProgramPaths::ForProgram(const QString& programFolder, const QString& configHome,
                                        const QString& dataHome) {
    if (QFileInfo::exists(QDir(programFolder).filePath(kPortableMarker))) {
        TProgramPaths p = PortableIn(programFolder);
        p.PerUserUnits = perUserUnitsPathIn(configHome);
        return p;
    }
    TProgramPaths p;
    p.Portable = false;
    p.Assets = withSlash(QDir::cleanPath(QDir(programFolder).filePath(kSharedAssets)));
    p.Config = withSlash(QDir(configHome).filePath(kUserFolder));
    p.UserSkins = QDir(dataHome).filePath(kUserFolder + QStringLiteral("/skins"));
    p.SharedSkins = p.Assets + QStringLiteral("skins");
    p.PerUserUnits = perUserUnitsPathIn(configHome);
    return p;
}

TProgramPaths TProgramPaths::Detect() {
    return ForProgram(ProgramFolder(), xdgConfigHome(), xdgDataHome());
}

QString TProgramPaths::OptionsFile() const {
    return Config + QStringLiteral("Compass.ini");
}

QString TProgramPaths::DefaultSkin() const {
    return Assets + kPortableMarker;
}

QStringList TProgramPaths::SkinFolders() const {
    if (UserSkins == SharedSkins)
        return {UserSkins};
    return {UserSkins, SharedSkins};
}

TUnitsFiles TProgramPaths::UnitsFiles() const {
    const QString name = QStringLiteral("distances.ini");
    if (Portable)
        return TUnitsFiles{Config + name, {}, PerUserUnits};
    return TUnitsFiles{Config + name, Assets + name, PerUserUnits};
}

TPackageTarget TProgramPaths::PackageTarget() const {
    return TPackageTarget{UserSkins, OptionsFile()};
}

TDervikOptions TProgramPaths::LoadOptions() const {
    TDervikOptions options(OptionsFile());
    if (!options.document().value(u"Options", u"skinPath"))
        options.skinPath = DefaultSkin();
    return options;
}

bool TProgramPaths::PrepareUserFolders() const {
    return Portable || QDir().mkpath(Config);
}

} // namespace orvanta
