#include "package/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcPackage, "orvanta.package", QtWarningMsg)

} // namespace orvanta
