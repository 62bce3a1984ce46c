#include "automation/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcDbus, "orvanta.dbus", QtWarningMsg)

} // namespace orvanta
