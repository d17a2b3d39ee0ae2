#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "tests/bars/BarTestFiles.h"
#include "base/ErrorText.h"
#include "bars/TerminalFolder.h"
#include "bars/TextAfter.h"
#include "base/TimePattern.h"

namespace quillon {
namespace {

TEST(ErrorBoxTextTest, FullStopOnlyAfterCharactersThatSortAfterIt) {
    for (const std::string message : {"Range check error", "x/", "caf\xc3\xa9"}) {
        EXPECT_EQ(ErrorBoxText(message), message + ".");
    }
    for (const std::string message : {"", "done.", "a-"}) {
        EXPECT_EQ(ErrorBoxText(message), message);
    }
}

// Long time patterns of a few locales as Qt reports them: the zone goes with the blank that sets
// it off, minutes and seconds get two digits, quoted text stays.
TEST(ClockTimePatternTest, DropsTheZoneAndWidensMinutesAndSeconds) {
    const std::pair<const char*, const char*> cases[] = {
        {"HH:mm:ss t", "HH:mm:ss"},
        {"t HH:mm:ss", "HH:mm:ss"},
        {"AP h\xEC\x8B\x9C m\xEB\xB6\x84 s\xEC\xB4\x88 t",
         "AP h\xEC\x8B\x9C mm\xEB\xB6\x84 ss\xEC\xB4\x88"},
        {"HH:mm:ss tttt 'Uhr'", "HH:mm:ss 'Uhr'"},
        {"HH'h'mm't's", "HH'h'mm't'ss"},
        {"h''mm t", "h''mm"},
    };
    for (const auto& [locale, expected] : cases) {
        EXPECT_EQ(ClockTimePattern(locale), expected) << locale;
    }
}

// Paths written with "/" and turned into the platform's own separator.
TEST(FileLabelTextTest, AfterTheFirstExpertsFolderElseFromTheFirstMql4Folder) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:/experts/old/experts/files/a.csv", "old/experts/files/a.csv"},
        {"C:/Experts/files/a.csv", ""},
        {"C:/MetaTrader 4/experts/", ""},
        {"C:/MQL4/experts/files/a.csv", "files/a.csv"},
        {"C:/Terminal/ABC/MQL4/Files/MQL4/EURUSD60.csv", "MQL4/Files/MQL4/EURUSD60.csv"},
        {"C:/mql4/Files/a.csv", ""},
        {"D:/data/MQL4.csv", ""},
    };
    const auto native = [](std::string path) {
        std::replace(path.begin(), path.end(), '/',
                     static_cast<char>(std::filesystem::path::preferred_separator));
        return path;
    };
    for (const auto& [path, label] : cases) {
        EXPECT_EQ(FileLabelText(native(path)), native(label)) << path;
    }
}

} // namespace
} // namespace quillon

namespace quillon {
namespace {

// A Wine prefix that gains a folder at each step; the times are hours before now.
TEST(InitialDialogFolderTest, TheFilesFolderOfEitherKindWrittenLast) {
    namespace fs = std::filesystem;
    const TTempDir temporary;
    const std::string prefix = temporary.Path("prefix");
    const std::string driveC = prefix + "/drive_c/";
    const std::string roaming = driveC + "users/alice/AppData/Roaming/MetaQuotes/Terminal/";
    const std::string older = driveC + "users/bob/Application Data/MetaQuotes/Terminal/";
    const struct {
        std::string folder, file;
        int hoursAgo;
        std::string expected;
    } steps[] = {
        {"", "", 0, "sample"},
        {roaming + "A1B2/MQL4/Files", "", 5, roaming + "A1B2/MQL4/Files"},
        {older + "C3D4/MQL4/Files", "", 3, older + "C3D4/MQL4/Files"},
        {driveC + "Program Files (x86)/MetaTrader 4/MQL4/Files", "", 4, older + "C3D4/MQL4/Files"},
        // A file rewritten in place leaves its folder's time as it was.
        {roaming + "A1B2/MQL4/Files", "EURUSD60.csv", 1, roaming + "A1B2/MQL4/Files"},
        // An old install's leftover loses to the folder written now, whatever its kind.
        {driveC + "Program Files/MetaTrader 4/experts/files", "", 9, roaming + "A1B2/MQL4/Files"},
        {driveC + "Program Files (x86)/MetaTrader 4/experts/files", "", 0,
         driveC + "Program Files (x86)/MetaTrader 4/experts/files"},
    };
    const auto hoursAgo = [](int hours) {
        return fs::file_time_type::clock::now() - std::chrono::hours(hours);
    };
    for (const auto& step : steps) {
        if (!step.folder.empty()) {
            fs::create_directories(step.folder);
            if (!step.file.empty()) {
                const fs::file_time_type folderTime = fs::last_write_time(step.folder);
                WriteTextFile(step.folder + "/" + step.file, "x");
                fs::last_write_time(step.folder + "/" + step.file, hoursAgo(step.hoursAgo));
                fs::last_write_time(step.folder, folderTime);
            } else {
                fs::last_write_time(step.folder, hoursAgo(step.hoursAgo));
            }
        }
        EXPECT_EQ(InitialDialogFolder(prefix, "sample"), step.expected) << step.folder;
    }
}

} // namespace
} // namespace quillon
