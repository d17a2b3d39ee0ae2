#include "bars/TerminalFolder.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

namespace {

// The terminal's own folder name is ours to choose; this is the name its installer suggests.
constexpr const char* TerminalFolderName = "MetaTrader 4";

// The subfolders of folder, none when it cannot be listed.
std::vector<fs::path> Subfolders(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_directory(error)) {
            found.push_back(entry->path());
        }
    }
    return found;
}

// The latest modification of the folder or of anything in it, none when it is not a folder: a
// file rewritten in place leaves the folder's own time alone.
std::optional<fs::file_time_type> LastWritten(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return std::nullopt;
    }
    std::optional<fs::file_time_type> latest = fs::last_write_time(folder, error);
    if (error) {
        return std::nullopt;
    }
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code entryError;
        const fs::file_time_type written = entry->last_write_time(entryError);
        if (!entryError && written > *latest) {
            latest = written;
        }
    }
    return latest;
}

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

std::vector<std::string> DataFilesFolders(const std::string& winePrefix) {
    const fs::path driveC = fs::path(winePrefix) / "drive_c";
    std::vector<fs::path> candidates;
    for (const fs::path& user : Subfolders(driveC / "users")) {
        for (const char* appData : {"AppData/Roaming", "Application Data"}) {
            for (const fs::path& dataFolder :
                 Subfolders(user / appData / "MetaQuotes" / "Terminal")) {
                candidates.push_back(dataFolder / "MQL4" / "Files");
            }
        }
    }
    for (const char* programFiles : {"Program Files", "Program Files (x86)"}) {
        candidates.push_back(driveC / programFiles / TerminalFolderName / "MQL4" / "Files");
    }
    std::vector<std::string> folders;
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        if (fs::is_directory(candidate, error)) {
            folders.push_back(candidate.string());
        }
    }
    return folders;
}

std::string WinePrefix(const char* winePrefixSetting, const char* home) {
    if (winePrefixSetting != nullptr && *winePrefixSetting != '\0') {
        return winePrefixSetting;
    }
    return std::string(home != nullptr ? home : "") + "/.wine";
}

std::string InitialDialogFolder(const std::string& winePrefix, const std::string& sampleFolder) {
    // Both kinds compete on time alone: a leftover folder of an old install must not beat the
    // folder that the terminal in use writes now. A tie keeps the order of the lists.
    std::vector<std::string> candidates = TerminalFilesFolders(winePrefix);
    const std::vector<std::string> dataFolders = DataFilesFolders(winePrefix);
    candidates.insert(candidates.end(), dataFolders.begin(), dataFolders.end());
    std::string newest = sampleFolder;
    std::optional<fs::file_time_type> newestWritten;
    for (const std::string& folder : candidates) {
        const std::optional<fs::file_time_type> written = LastWritten(folder);
        if (written && (!newestWritten || *written > *newestWritten)) {
            newest = folder;
            newestWritten = written;
        }
    }
    return newest;
}

} // namespace quillon
