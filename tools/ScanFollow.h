#pragma once

#include <string>

#include "tools/ScanCommand.h"

namespace quillon {

// quillon-scan --follow: the table of request's files, then a row each time a file's run changes,
// the files watched and run by the window's pipeline, each row written to standard output at once;
// until SIGINT or SIGTERM. Prices are read with decimalSeparator. Returns the exit status, a
// failure's line on err. Makes the program's event loop, so that no other may be made.
int FollowScan(const TScanRequest& request, char decimalSeparator, std::string& err);

} // namespace quillon
