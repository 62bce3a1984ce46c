#include "platform/xdgpaths.h"

#include <QDir>

namespace orvanta {

QString xdgConfigHome(const QString& xdgConfigHomeVariable, const QString& home) {
    if (!xdgConfigHomeVariable.isEmpty() && QDir::isAbsolutePath(xdgConfigHomeVariable))
        return QDir::cleanPath(xdgConfigHomeVariable);
    return QDir::cleanPath(home + QStringLiteral("/.config"));
}

QString xdgConfigHome() {
    return xdgConfigHome(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
}

} // namespace orvanta
