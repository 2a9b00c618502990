// The version text of this build, linked into tarvik and tarvik-solve
// (tarvik_stamp_version in src/common/CMakeLists.txt).
#include "common/version.h"

#include "tarvikversion.inc" // TARVIK_VERSION_TEXT, written at build time

namespace tarvik {

const char* BuildVersionText() {
    return TARVIK_VERSION_TEXT;
}

} // namespace tarvik
