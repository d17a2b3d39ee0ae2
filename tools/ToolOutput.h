#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Opens /dev/null, read-only, on whichever of descriptors 0, 1 and 2 is closed, before the tool
// opens any file: a file it opened would otherwise take a closed stream's number and receive that
// stream's output. A write to such a stream still fails (Bad file descriptor), as it would have.
void HoldStandardStreams();

// Writes out to standard output and err to standard error, and gives status; when out cannot be
// written whole, gives ExitFailure with "PROGRAM: cannot write to standard output: REASON" as the
// one line on standard error, in place of err: a failure err already tells of (quillon-scan's "no
// file could be worked out") is not a second line, its rows having been lost with the output.
int FinishTool(std::string_view program, int status, const std::string& out, std::string err);

// Writes all of text to descriptor fd, however many calls it takes; the errno of the failing call,
// or 0.
int WriteAll(int fd, std::string_view text);

} // namespace quillon
