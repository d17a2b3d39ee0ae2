#include <gtest/gtest.h>

#include <string>

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
    EXPECT_EQ(TerminalFilesFolder("/home/trader/.wine"),
              "/home/trader/.wine/drive_c/Program Files/MetaTrader 4/experts/files");
#endif
}

TEST(TerminalFolderTest, DialogStartsInTheTerminalFolderOnlyWhenItExists) {
    std::string asked;
    const auto exists = [&asked](const std::string& folder) {
        asked = folder;
        return true;
    };
    EXPECT_EQ(InitialDialogFolder("/terminal", "/sample", exists), "/terminal");
    EXPECT_EQ(asked, "/terminal");
    EXPECT_EQ(InitialDialogFolder("/terminal", "/sample", [](const std::string&) { return false; }),
              "/sample");
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
