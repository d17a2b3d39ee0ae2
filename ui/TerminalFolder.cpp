#include "ui/TerminalFolder.h"

namespace quillon {

namespace {

// The terminal's own folder name is ours to choose; this is the name its installer suggests.
constexpr const char* TerminalFolderName = "MetaTrader 4";

} // namespace

std::vector<std::string> TerminalFilesFolders(const std::string& winePrefix) {
#ifdef _WIN32
    (void)winePrefix;
    return {std::string("C:\\Program Files\\") + TerminalFolderName + "\\experts\\files"};
#else
    // A 64-bit prefix puts the terminal, a 32-bit program, under "Program Files (x86)".
    std::vector<std::string> folders;
    for (const char* programFiles : {"Program Files", "Program Files (x86)"}) {
        folders.push_back(winePrefix + "/drive_c/" + programFiles + "/" + TerminalFolderName +
                          "/experts/files");
    }
    return folders;
#endif
}

std::string WinePrefix(const char* winePrefixSetting, const char* home) {
    if (winePrefixSetting != nullptr && *winePrefixSetting != '\0') {
        return winePrefixSetting;
    }
    return std::string(home != nullptr ? home : "") + "/.wine";
}

std::string InitialDialogFolder(const std::vector<std::string>& terminalFilesFolders,
                                const std::string& sampleFolder,
                                const std::function<bool(const std::string&)>& folderExists) {
    for (const std::string& folder : terminalFilesFolders) {
        if (folderExists(folder)) {
            return folder;
        }
    }
    return sampleFolder;
}

} // namespace quillon
