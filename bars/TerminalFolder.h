#pragma once

#include <string>
#include <vector>

namespace quillon {

// Where the MetaTrader 4 terminal kept the files its scripts write, the bar file among them, before
// its build 600, in the order to look: on Windows a fixed path under Program Files; elsewhere the
// terminal runs under Wine, and the same folder lies in the Wine prefix's drive_c, under Program
// Files or, in a 64-bit prefix, under Program Files (x86).
std::vector<std::string> TerminalFilesFolders(const std::string& winePrefix);

// Where terminals from build 600 on keep those files, of the folders that exist in the Wine
// prefix: MQL4/Files in each terminal's data folder, which the terminal names by a hash under
// every user's AppData/Roaming/MetaQuotes/Terminal (Application Data in older prefixes), and
// MQL4/Files beside a terminal that runs portable, under either Program Files.
std::vector<std::string> DataFilesFolders(const std::string& winePrefix);

// The Wine prefix: winePrefixSetting (the WINEPREFIX that Wine itself honours) when it is set
// and not empty, else the .wine folder in home.
std::string WinePrefix(const char* winePrefixSetting, const char* home);

// The open dialog starts in the folder, of TerminalFilesFolders and DataFilesFolders that exist,
// written most recently (the folder or a file in it): where the terminal that the user runs now
// writes its files when several are installed, old or new; the first in that order on a tie.
// Without any, it starts in the folder of the sample bar file that comes with the program, so a
// new user finds a file at once.
std::string InitialDialogFolder(const std::string& winePrefix, const std::string& sampleFolder);

} // namespace quillon
