#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/TerminalFolder.h"
#include "ui/TextAfter.h"
#include "ui/TimePattern.h"

namespace quillon {
namespace {

TEST(TerminalFolderTest, FilesFolderLiesInTheWinePrefixFromTheSettingElseFromHome) {
    EXPECT_EQ(WinePrefix("/opt/mt4prefix", "/home/trader"), "/opt/mt4prefix");
    EXPECT_EQ(WinePrefix("", "/home/trader"), "/home/trader/.wine");
    EXPECT_EQ(WinePrefix(nullptr, "/home/trader"), "/home/trader/.wine");
#ifndef _WIN32
    EXPECT_EQ(TerminalFilesFolders("/home/trader/.wine"),
              (std::vector<std::string>{
                  "/home/trader/.wine/drive_c/Program Files/MetaTrader 4/experts/files",
                  "/home/trader/.wine/drive_c/Program Files (x86)/MetaTrader 4/experts/files"}));
#endif
}

TEST(TerminalFolderTest, DialogStartsInTheFirstTerminalFolderThatExistsElseAtTheSample) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"/usual", "/x86"}, "/usual"}, {{"/x86"}, "/x86"}, {{}, "/sample"}};
    for (const auto& [existing, expected] : cases) {
        const auto exists = [&existing](const std::string& folder) {
            return std::find(existing.begin(), existing.end(), folder) != existing.end();
        };
        EXPECT_EQ(InitialDialogFolder({"/usual", "/x86"}, "/sample", exists), expected);
    }
}

TEST(TextAfterTest, GivesThePartAfterTheFirstOccurrence) {
    const struct {
        const char* pattern;
        const char* subject;
        const char* expected;
    } cases[] = {
        {"experts\\", "C:\\Program Files\\MetaTrader 4\\experts\\files\\EURUSD60.csv",
         "files\\EURUSD60.csv"},
        {"experts\\", "D:\\data\\EURUSD60.csv", ""},
        {"experts\\", "C:\\MT4\\Experts\\files\\a.csv", ""}, // case-sensitive
        {"experts\\", "C:\\experts\\old\\experts\\files\\a.csv", "old\\experts\\files\\a.csv"},
        {"experts\\", "C:\\experts\\", ""},
        {"experts/", "experts/files/a.csv", "files/a.csv"},
        {"experts/", "/home/u/experts", ""},
        {"", "abc", ""}, // an empty pattern occurs nowhere
        {"x", "", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(TextAfter(c.pattern, c.subject), c.expected) << c.subject;
    }
#ifndef _WIN32
    EXPECT_EQ(
        TextAfter(ExpertsFolderPattern(), "/root/.wine/drive_c/MetaTrader 4/experts/files/a.csv"),
        "files/a.csv");
#endif
}

// Long time patterns of a few locales as Qt reports them: the zone goes with the blank that sets
// it off, minutes and seconds get two digits, quoted text stays.
TEST(ClockTimePatternTest, DropsTheZoneAndWidensMinutesAndSeconds) {
    const std::pair<const char*, const char*> cases[] = {
        {"HH:mm:ss t", "HH:mm:ss"},
        {"h:mm:ss AP t", "h:mm:ss AP"},
        {"t HH:mm:ss", "HH:mm:ss"},
        {"AP h\xEC\x8B\x9C m\xEB\xB6\x84 s\xEC\xB4\x88 t",
         "AP h\xEC\x8B\x9C mm\xEB\xB6\x84 ss\xEC\xB4\x88"},
        {"HH:mm:ss tttt 'Uhr'", "HH:mm:ss 'Uhr'"},
        {"HH'h'mm't's", "HH'h'mm't'ss"},
        {"h''mm t", "h''mm"},
        {"HH:mm:ss", "HH:mm:ss"}};
    for (const auto& [locale, expected] : cases) {
        EXPECT_EQ(ClockTimePattern(locale), expected) << locale;
    }
}

} // namespace
} // namespace quillon
