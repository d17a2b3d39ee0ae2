#include <gtest/gtest.h>

#include <string>

#include "ui/ErrorText.h"
#include "ui/TimePattern.h"

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

} // namespace
} // namespace quillon
