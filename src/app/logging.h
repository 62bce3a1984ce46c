#pragma once
// The shell's categories: the window and start-up (orvanta.app) and the D-Bus
// automation objects (orvanta.dbus). Warnings show by default; debug lines
// need QT_LOGGING_RULES="orvanta.*.debug=true".

#include <QLoggingCategory>

namespace orvanta {

Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcDbus)

} // namespace orvanta
