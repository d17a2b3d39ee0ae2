#include "tools/ToolCommand.h"

namespace quillon {

// QUILLON_VERSION is the project's version, which the build passes to this file alone.
std::string VersionLine(std::string_view program) {
    return std::string(program) + " " + QUILLON_VERSION + "\n";
}

} // namespace quillon
