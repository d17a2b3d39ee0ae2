#pragma once

#include <string>
#include <string_view>

namespace quillon {

// One CSV field onto out: quoted, with its quotes doubled, when it holds a delimiter, a quote or a
// line end; as it is otherwise.
void AppendCsvField(std::string& out, std::string_view text);

} // namespace quillon
