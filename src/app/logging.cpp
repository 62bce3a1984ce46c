#include "app/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcApp, "orvanta.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcDbus, "orvanta.dbus", QtWarningMsg)

} // namespace orvanta
