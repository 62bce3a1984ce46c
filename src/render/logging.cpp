#include "render/logging.h"

namespace orvanta {

Q_LOGGING_CATEGORY(lcRender, "orvanta.render", QtWarningMsg)

} // namespace orvanta
