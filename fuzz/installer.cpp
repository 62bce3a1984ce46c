// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Installing a hostile skin package into a scratch program folder. After every
// input nothing may exist outside skins/<package folder> and Compass.ini, no
// link may have been made, and a failed installation leaves nothing behind.
#include "package/installer.h"

#include "fuzzsupport.h"
#include "model/orvantaerror.h"
#include "model/settings.h"

#include <QDirIterator>
#include <QFileInfo>

using namespace orvanta;
using namespace orvanta::fuzz;

namespace {

constexpr std::int64_t kLimit = 4 * 1024 * 1024;

// What the program folder holds after an installation, relative paths with a
// "/" after folders. Links are reported as such, never followed.
QStringList contents(const QString& root) {
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = QDir(root).relativeFilePath(info.filePath());
        if (info.isSymLink())
            found << relative + QStringLiteral(" -> link");
        else
            found << relative + (info.isDir() ? QStringLiteral("/") : QString());
    }
    return found;
}

bool allowed(const QString& entry) {
    static const QString kPackage = QStringLiteral("skins/pkg/");
    if (entry == u"Compass.ini" || entry == u"skins/" || entry == kPackage)
        return true;
    // Files of the package lie directly in its folder: subfolders are flattened.
    return entry.startsWith(kPackage) && !entry.sliced(kPackage.size()).contains(u'/');
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QDir& root = scratch();
    const QString package = root.filePath(QStringLiteral("pkg.compassskin"));
    const QString program = root.filePath(QStringLiteral("program"));
    QDir(program).removeRecursively();
    root.mkpath(QStringLiteral("program"));
    writeFile(package, bytesOf(data, size));

    bool installed = true;
    try {
        installSkinPackage(program, package, kLimit);
    } catch (const OrvantaError& e) {
        check(!e.message().isEmpty(), "errors say why");
        installed = false;
    }

    const QStringList found = contents(program);
    for (const QString& entry : found)
        if (!allowed(entry)) {
            std::fprintf(stderr, "outside the package folder: %s\n", qPrintable(entry));
            failure("installed outside the package folder");
        }
    if (!installed) {
        // All or nothing: a failed installation leaves at most the skins folder.
        for (const QString& entry : found)
            check(entry == u"skins/", "a failed installation leaves nothing");
        return 0;
    }
    const QString options = QDir(program).filePath(QStringLiteral("Compass.ini"));
    if (QFileInfo::exists(options)) {
        // The recorded skin is a file of this package.
        const Settings recorded(options, u'.');
        const QString skin = QDir(program).relativeFilePath(recorded.skinPath);
        check(allowed(skin) && skin.startsWith(u"skins/pkg/") &&
                  QFileInfo(recorded.skinPath).isFile(),
              "the recorded skin is in the package folder");
    }
    return 0;
}
