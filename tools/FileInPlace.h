#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Writes bytes to a new file beside path and renames it into place, so that a failure leaves no
// partial file and a reader never sees one. A failure raises "cannot write PATH: REASON", with the
// system's reason for the call that failed. An existing file keeps its permissions; a symbolic
// link keeps pointing at the file, which is replaced.
void WriteFileInPlace(const std::string& path, std::string_view bytes);

} // namespace quillon
