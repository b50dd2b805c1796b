#include "appcore/version.h"

namespace kerfline {

const char* programVersion() { return KERFLINE_VERSION; }

const char* programLicence() {
  return "Free software under the GNU General Public License, version 3 or any later version.";
}

}  // namespace kerfline
