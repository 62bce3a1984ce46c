// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Saves the options and the units of a program folder over and over, for the
// crash-safety tests: they kill it at random moments and then read both files.
//
//   orvanta_saveloop FOLDER              alternates value sets A and B forever;
//                                        prints "ready" once both files exist
//   orvanta_saveloop FOLDER --once A|B [--max-file-bytes N] [--drop-privileges]
//                                        saves one set and exits: 0 when both
//                                        files were written, 3 when a save
//                                        reported a failure
//
// --max-file-bytes sets RLIMIT_FSIZE with SIGXFSZ ignored, so that writes past
// N bytes fail as on a full disk. --drop-privileges (as root) becomes "nobody"
// so that a folder without write permission is read-only for the saver too.
#include "model/numbers.h"
#include "model/settings.h"
#include "model/unittable.h"
#include "saveloopsets.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

using namespace orvanta;
using namespace orvanta::saveloop;

namespace {

constexpr int kExitSaveFailed = 3;
constexpr int kExitUsage = 2;
constexpr uid_t kNobody = 65534;

// Both files with the values of `set`. False when a save reported a failure.
bool saveSet(const QString& folder, const ValueSet& set) {
    Settings options(QDir(folder).filePath(QStringLiteral("Compass.ini")), u'.');
    applyOptions(options, set);
    bool ok = options.save();
    UnitTable units(folder, QString(), u'.');
    applyUnits(units, set);
    try {
        units.save();
    } catch (const OrvantaError&) {
        ok = false;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return kExitUsage;
    const QString folder = args[0];

    const qsizetype once = args.indexOf(QStringLiteral("--once"));
    if (once < 0) {
        for (long round = 0;; ++round) {
            saveSet(folder, round % 2 ? kSetB : kSetA);
            if (round == 1) {
                std::puts("ready");
                std::fflush(stdout);
            }
        }
    }

    if (once + 1 >= args.size())
        return kExitUsage;
    const ValueSet& set = args[once + 1] == u"B" ? kSetB : kSetA;
    const qsizetype limit = args.indexOf(QStringLiteral("--max-file-bytes"));
    if (limit >= 0 && limit + 1 < args.size()) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t bytes = args[limit + 1].toULongLong();
        const rlimit r{bytes, bytes};
        if (setrlimit(RLIMIT_FSIZE, &r) != 0)
            return kExitUsage;
    }
    if (args.contains(QStringLiteral("--drop-privileges")) && geteuid() == 0)
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
            return kExitUsage;
    return saveSet(folder, set) ? 0 : kExitSaveFailed;
}
