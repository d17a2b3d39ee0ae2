#include "ui/TerminalFolder.h"

namespace quillon {

namespace {

// The terminal's own folder name is ours to choose; this is the name its installer suggests.
constexpr const char* TerminalFolderName = "MetaTrader 4";

} // namespace

std::string TerminalFilesFolder(const std::string& winePrefix) {
#ifdef _WIN32
    (void)winePrefix;
    return std::string("C:\\Program Files\\") + TerminalFolderName + "\\experts\\files";
#else
    return winePrefix + "/drive_c/Program Files/" + TerminalFolderName + "/experts/files";
#endif
}

std::string WinePrefix(const char* winePrefixSetting, const char* home) {
    if (winePrefixSetting != nullptr && *winePrefixSetting != '\0') {
        return winePrefixSetting;
    }
    return std::string(home != nullptr ? home : "") + "/.wine";
}

std::string InitialDialogFolder(const std::string& terminalFilesFolder,
                                const std::string& sampleFolder,
                                const std::function<bool(const std::string&)>& folderExists) {
    return folderExists(terminalFilesFolder) ? terminalFilesFolder : sampleFolder;
}

} // namespace quillon
