#include <gtest/gtest.h>

#include "base/TimePattern.h"

namespace quillon {
namespace {

struct PatternCase {
    const char* name;
    const char* localePattern;
    const char* expected;
};

void PrintTo(const PatternCase& c, std::ostream* out) {
    *out << c.name;
}

class ClockTimePatternCases : public testing::TestWithParam<PatternCase> {};

TEST_P(ClockTimePatternCases, DropsTheZoneAndWidensMinutesAndSeconds) {
    EXPECT_EQ(ClockTimePattern(GetParam().localePattern), GetParam().expected);
}

// The long time patterns of a few locales as Qt reports them.
INSTANTIATE_TEST_SUITE_P(
    Locales, ClockTimePatternCases,
    testing::Values(PatternCase{"German", "HH:mm:ss t", "HH:mm:ss"},
                    PatternCase{"AmericanTwelveHour", "h:mm:ss AP t", "h:mm:ss AP"},
                    PatternCase{"ZoneFirst", "t HH:mm:ss", "HH:mm:ss"},
                    PatternCase{"KoreanOneDigitFields",
                                "AP h\xEC\x8B\x9C m\xEB\xB6\x84 s\xEC\xB4\x88 t",
                                "AP h\xEC\x8B\x9C mm\xEB\xB6\x84 ss\xEC\xB4\x88"},
                    PatternCase{"LongZoneInTheMiddle", "HH:mm:ss tttt 'Uhr'", "HH:mm:ss 'Uhr'"},
                    PatternCase{"QuotedLettersStay", "HH'h'mm't's", "HH'h'mm't'ss"},
                    PatternCase{"EscapedApostrophe", "h''mm t", "h''mm"},
                    PatternCase{"NoZone", "HH:mm:ss", "HH:mm:ss"}),
    [](const testing::TestParamInfo<PatternCase>& info) { return info.param.name; });

} // namespace
} // namespace quillon
