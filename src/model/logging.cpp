#include "model/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcSettings, "orvanta.settings", QtWarningMsg)

} // namespace orvanta
