// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "package/installer.h"

#include "model/orvantaerror.h"
#include "model/settings.h"
#include "package/commandline.h"
#include "package/logging.h"
#include "skins/skin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace orvanta {

namespace {

const QString kSkinsFolder = QStringLiteral("skins");
const QString kOptionsFile = QStringLiteral("Compass.ini");
const QString kIniExtension = QStringLiteral(".ini");
// Tries at a free staging name before giving up; a clash at all is unlikely.
constexpr int kStagingNameTries = 16;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool isSafeComponent(QStringView c) {
    if (c.isEmpty() || c == u"." || c == u"..")
        return false;
    for (QChar ch : c) {
        // ":" would name a drive or an alternate stream on Windows, where the
        // packages come from; the separators cannot appear in a component.
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F || ch == u':' || ch == u'/' || ch == u'\\')
            return false;
    }
    return true;
}

// lstat rather than QFileInfo::exists, which follows a symlink and calls a
// dangling one missing.
enum class PathKind { Missing, File, Folder, Link };
PathKind pathKind(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return PathKind::Missing;
    if (S_ISLNK(st.st_mode))
        return PathKind::Link;
    return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::File;
}

// rename(2) replaces a file or a symlink in one step and never follows one.
void moveOrThrow(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw translatableError(
            QT_TRANSLATE_NOOP("Errors", "Cannot move \"%1\" to \"%2\". %3"),
            {native(from), native(to), QString::fromLocal8Bit(std::strerror(errno))});
}

QString makeUniqueFolder(const QString& parent, const QString& prefix) {
    QDir dir(parent);
    for (int i = 0; i < kStagingNameTries; ++i) {
        const QString name = prefix + QString::number(QRandomGenerator::global()->generate(), 36);
        // mkdir fails on anything already there, a symlink included.
        if (dir.mkdir(name))
            return dir.filePath(name);
    }
    throw translatableError(QT_TRANSLATE_NOOP("Errors", "Cannot create a folder in \"%1\"."),
                            {native(parent)});
}

// One installation into skins/<name>: files are staged beside the target, then
// moved in. Until commit() the destructor puts everything back as it was.
class PackageTransaction {
public:
    PackageTransaction(const QString& skinsFolder, const QString& folderName)
        : m_skins(skinsFolder), m_target(QDir(skinsFolder).filePath(folderName)) {
        switch (pathKind(m_target)) {
        case PathKind::Link:
            throw translatableError(
                QT_TRANSLATE_NOOP("Errors", "Cannot install into \"%1\": it is a symbolic link."),
                {native(m_target)});
        case PathKind::File:
            throw translatableError(
                QT_TRANSLATE_NOOP("Errors",
                                  "Cannot install into \"%1\": it is a file, not a folder."),
                {native(m_target)});
        case PathKind::Folder:
        case PathKind::Missing:
            break;
        }
        // A skins folder that is a link is kept elsewhere on purpose and used.
        if (pathKind(m_skins) == PathKind::Missing) {
            if (!QDir().mkpath(m_skins))
                throw translatableError(QT_TRANSLATE_NOOP("Errors", "Cannot create folder \"%1\"."),
                                        {native(m_skins)});
            m_createdSkins = true;
        }
        try {
            m_staging = makeUniqueFolder(m_skins, QStringLiteral(".%1.partial-").arg(folderName));
        } catch (...) {
            if (m_createdSkins)
                QDir().rmdir(m_skins);
            throw;
        }
    }

    ~PackageTransaction() {
        if (!m_committed)
            rollBack();
        if (!m_staging.isEmpty())
            QDir(m_staging).removeRecursively();
        if (!m_committed && m_createdSkins)
            QDir().rmdir(m_skins);
    }

    PackageTransaction(const PackageTransaction&) = delete;
    PackageTransaction& operator=(const PackageTransaction&) = delete;

    [[nodiscard]] const QString& target() const { return m_target; }

    void stage(const QString& fileName, const QByteArray& data) {
        const QString path = QDir(m_staging).filePath(fileName);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(data) != data.size() || !file.flush())
            throw translatableError(QT_TRANSLATE_NOOP("Errors", "Cannot write \"%1\". %2"),
                                    {native(path), file.errorString()});
        if (!m_staged.contains(fileName))
            m_staged.append(fileName);
    }

    // Moves the staged files into the target folder.
    void apply() {
        if (pathKind(m_target) == PathKind::Missing) {
            moveOrThrow(m_staging, m_target);
            m_staging.clear();
            m_createdTarget = true;
            return;
        }
        // Refuse before anything moves: a folder of the user's is never swapped out.
        for (const QString& name : m_staged) {
            const QString dest = QDir(m_target).filePath(name);
            if (pathKind(dest) == PathKind::Folder)
                throw translatableError(
                    QT_TRANSLATE_NOOP(
                        "Errors", "Cannot replace the folder \"%1\" with a file of the package."),
                    {native(dest)});
        }
        m_backup = makeUniqueFolder(m_skins, QStringLiteral(".backup-"));
        for (const QString& name : m_staged) {
            const QString dest = QDir(m_target).filePath(name);
            Move move{name, pathKind(dest) != PathKind::Missing, false};
            if (move.hadOld)
                moveOrThrow(dest, QDir(m_backup).filePath(name));
            m_moves.push_back(move);
            moveOrThrow(QDir(m_staging).filePath(name), dest);
            m_moves.back().placed = true;
        }
    }

    // Keeps the installation: the files it replaced are dropped.
    void commit() {
        m_committed = true;
        if (!m_backup.isEmpty())
            QDir(m_backup).removeRecursively();
    }

private:
    struct Move {
        QString name;
        bool hadOld;
        bool placed;
    };

    // Best effort: a step that fails leaves what it could not restore in place
    // rather than deleting anything of the user's.
    void rollBack() {
        // The user is told why the installation failed, not what was undone.
        qCWarning(lcPackage, "Rolling back the installation into \"%s\"",
                  qUtf8Printable(native(m_target)));
        if (m_createdTarget && !QDir(m_target).removeRecursively())
            qCWarning(lcPackage, "Cannot remove the new folder \"%s\"",
                      qUtf8Printable(native(m_target)));
        bool restored = true;
        for (auto it = m_moves.rbegin(); it != m_moves.rend(); ++it) {
            const QString dest = QDir(m_target).filePath(it->name);
            if (it->placed)
                QFile::remove(dest);
            if (!it->hadOld)
                continue;
            const QString saved = QDir(m_backup).filePath(it->name);
            if (std::rename(QFile::encodeName(saved).constData(),
                            QFile::encodeName(dest).constData()) != 0) {
                qCWarning(lcPackage, "Cannot put \"%s\" back from \"%s\": %s",
                          qUtf8Printable(native(dest)), qUtf8Printable(native(saved)),
                          qUtf8Printable(QString::fromLocal8Bit(std::strerror(errno))));
                restored = false;
            }
        }
        if (!m_backup.isEmpty() && restored)
            QDir(m_backup).removeRecursively();
    }

    QString m_skins;
    QString m_target;
    QString m_staging;
    QString m_backup;
    QStringList m_staged;
    std::vector<Move> m_moves;
    bool m_createdSkins = false;
    bool m_createdTarget = false;
    bool m_committed = false;
};

struct PlannedFile {
    int index;
    QString fileName;
};

} // namespace

QString packageEntryFileName(const QString& entryName) {
    const auto unsafe = [&entryName] {
        return translatableError(
            QT_TRANSLATE_NOOP("Errors", "The package holds an entry with an unsafe name: \"%1\"."),
            {entryName});
    };
    if (entryName.isEmpty() || entryName.startsWith(u'/') || entryName.startsWith(u'\\'))
        throw unsafe();
    QString slashed = entryName;
    slashed.replace(u'\\', u'/');
    const QList<QStringView> parts = QStringView(slashed).split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QStringView part = parts[i];
        const bool last = i == parts.size() - 1;
        // Empty and "." components lead nowhere; only a last one names a file.
        if (last && part.isEmpty())
            return {};
        if ((part.isEmpty() || part == u".") && !last)
            continue;
        if (!isSafeComponent(part))
            throw unsafe();
    }
    return parts.last().toString();
}

QString packageFolderName(const QString& packagePath) {
    const QString fileName = QFileInfo(packagePath).fileName();
    const QString name = fileName.chopped(fileExtension(fileName).size());
    if (!isSafeComponent(name))
        throw translatableError(
            QT_TRANSLATE_NOOP("Errors", "\"%1\" does not give a usable skin folder name."),
            {native(packagePath)});
    return name;
}

QString installSkinPackage(const QString& programFolder, const QString& packagePath,
                           std::int64_t maxBytes) {
    const QDir program(programFolder);
    return installSkinPackage(PackageTarget{QDir::cleanPath(program.absoluteFilePath(kSkinsFolder)),
                                            program.absoluteFilePath(kOptionsFile)},
                              packagePath, maxBytes);
}

QString installSkinPackage(const PackageTarget& target, const QString& packagePath,
                           std::int64_t maxBytes) {
    ZipFile zip(maxBytes);
    zip.loadFromFile(packagePath);
    // A renamed picture or a download cut short must not pass for an empty package.
    if (zip.count() == 0 && !zip.endRecord())
        throw translatableError(
            QT_TRANSLATE_NOOP("Errors", "\"%1\" is not a skin package: it is not a ZIP archive."),
            {native(packagePath)});
    if (zip.count() == 0)
        return {};
    const QString folderName = packageFolderName(packagePath);

    // Everything that can be judged from the headers is judged before the disk
    // is touched.
    std::vector<PlannedFile> files;
    QString iniName;
    std::int64_t declared = 0;
    for (int j = 0; j < zip.count(); ++j) {
        const QString fileName = packageEntryFileName(zip.name(j));
        if (fileName.isEmpty())
            continue;
        declared += zip.localEntry(j).uncompressedSize;
        if (declared > maxBytes)
            throw translatableError(
                QT_TRANSLATE_NOOP("Errors",
                                  "\"%1\" unpacks to more than the %2 bytes a package may hold."),
                {native(packagePath), QString::number(maxBytes)});
        files.push_back({j, fileName});
        if (fileExtension(fileName).compare(kIniExtension, Qt::CaseInsensitive) == 0)
            iniName = fileName;
    }

    std::optional<Settings> options;
    if (!iniName.isEmpty()) // an unreadable options file fails here, before any change
        options.emplace(target.optionsFile);

    PackageTransaction install(QDir::cleanPath(target.skinsFolder), folderName);
    for (const PlannedFile& f : files)
        install.stage(f.fileName, zip.data(f.index));
    install.apply();
    if (options) {
        // Checked where it will be used, with whatever files of an earlier
        // version the folder keeps: a skin that cannot be drawn is refused and
        // everything is put back.
        const QString definition = QDir(install.target()).filePath(iniName);
        const Skin skin(definition);
        if (!skin.pictureReadable())
            throw translatableError(
                QT_TRANSLATE_NOOP("Errors", "The skin in \"%1\" cannot be used: %2"),
                {native(packagePath)}, OrvantaError(skin.pictureError, skin.pictureUserError));
        options->skinPath = QDir(install.target()).filePath(iniName);
        if (!options->save())
            throw translatableError(
                QT_TRANSLATE_NOOP("Errors", "Cannot record the new skin in \"%1\"."),
                {native(options->fileName)});
    }
    install.commit();
    return options ? options->skinPath : QString();
}

} // namespace orvanta
