#include "app/programfolder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace orvanta {

QString ProgramFile() {
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    if (exe.exists())
        return exe.canonicalFilePath();
    return QCoreApplication::applicationFilePath();
}

QString ProgramFolder() {
    return QFileInfo(ProgramFile()).absolutePath() + u'/';
}

} // namespace orvanta
