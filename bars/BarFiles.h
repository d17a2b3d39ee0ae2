#pragma once

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quillon {

// Which entries of a folder are bar files, and the one order of their names: the window's watch
// list and quillon-scan list a folder by these alone.

// A bar file's name: it ends in ".csv", the ending in any case ("X.CSV"), and it is not hidden
// (it does not start with a point).
bool IsBarFileName(std::string_view name);

// The names of the bar files of folder, in BarFileNameLess order: the entries with a bar file's
// name that are regular files or symbolic links to one. A subfolder, a link to a folder, a broken
// link, a pipe or a device is none, whatever its name, and subfolders are not entered. When the
// folder cannot be listed, no names, and error says why.
std::vector<std::string> BarFileNames(const std::string& folder, std::error_code& error);

// The one order of bar file names: byte order, each byte an unsigned number ("B.csv", "Z.csv",
// "a.csv", then names with bytes above 127), which is Unicode's order for UTF-8 names. Not the
// user's collation: the same on every machine, in every locale.
bool BarFileNameLess(std::string_view a, std::string_view b);

} // namespace quillon
