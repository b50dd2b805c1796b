#include "appcore/version.h"

namespace kerfline {

const char* programVersion() { return KERFLINE_VERSION; }

}  // namespace kerfline
