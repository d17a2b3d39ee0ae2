#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quillon {

// Where the MetaTrader 4 terminal keeps the files its scripts write, the bar file among them, in
// the order to look: on Windows a fixed path under Program Files; elsewhere the terminal runs
// under Wine, and the same folder lies in the Wine prefix's drive_c, under Program Files or, in
// a 64-bit prefix, under Program Files (x86).
std::vector<std::string> TerminalFilesFolders(const std::string& winePrefix);

// The Wine prefix: winePrefixSetting (the WINEPREFIX that Wine itself honours) when it is set
// and not empty, else the .wine folder in home.
std::string WinePrefix(const char* winePrefixSetting, const char* home);

// The open dialog starts in the first of the terminal's files folders that exists, and otherwise
// in the folder of the sample bar file that comes with the program, so a new user finds a file
// at once.
std::string InitialDialogFolder(const std::vector<std::string>& terminalFilesFolders,
                                const std::string& sampleFolder,
                                const std::function<bool(const std::string&)>& folderExists);

} // namespace quillon
