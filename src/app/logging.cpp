#include "app/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcApp, "orvanta.app", QtWarningMsg)

} // namespace orvanta
