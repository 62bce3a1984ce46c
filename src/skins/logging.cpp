#include "skins/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcSkins, "orvanta.skins", QtWarningMsg)

} // namespace orvanta
