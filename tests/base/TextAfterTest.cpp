#include <gtest/gtest.h>

#include "base/TextAfter.h"

namespace quillon {
namespace {

struct TextAfterCase {
    const char* name;
    const char* pattern;
    const char* subject;
    const char* expected;
};

void PrintTo(const TextAfterCase& c, std::ostream* out) {
    *out << c.name;
}

class TextAfterCases : public testing::TestWithParam<TextAfterCase> {};

TEST_P(TextAfterCases, GivesThePartAfterTheFirstOccurrence) {
    EXPECT_EQ(TextAfter(GetParam().pattern, GetParam().subject), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TextAfterCases,
    testing::Values(
        TextAfterCase{"TerminalFolder", "experts\\",
                      "C:\\Program Files\\MetaTrader 4\\experts\\files\\EURUSD60.csv",
                      "files\\EURUSD60.csv"},
        TextAfterCase{"NoOccurrence", "experts\\", "D:\\data\\EURUSD60.csv", ""},
        TextAfterCase{"CaseSensitive", "experts\\", "C:\\MT4\\Experts\\files\\a.csv", ""},
        TextAfterCase{"FirstOccurrenceCounts", "experts\\",
                      "C:\\experts\\old\\experts\\files\\a.csv", "old\\experts\\files\\a.csv"},
        TextAfterCase{"OccurrenceEndsSubject", "experts\\", "C:\\experts\\", ""},
        TextAfterCase{"AtTheStart", "experts/", "experts/files/a.csv", "files/a.csv"},
        TextAfterCase{"WithoutSeparator", "experts/", "/home/u/experts", ""},
        TextAfterCase{"EmptyPattern", "", "abc", ""}, TextAfterCase{"EmptySubject", "x", "", ""}),
    [](const testing::TestParamInfo<TextAfterCase>& info) { return info.param.name; });

TEST(ExpertsFolderPatternTest, EndsWithThisPlatformsSeparator) {
#ifdef _WIN32
    EXPECT_EQ(ExpertsFolderPattern(), "experts\\");
#else
    EXPECT_EQ(ExpertsFolderPattern(), "experts/");
    EXPECT_EQ(
        TextAfter(ExpertsFolderPattern(),
                  "/root/.wine/drive_c/Program Files/MetaTrader 4/experts/files/EURUSD60.csv"),
        "files/EURUSD60.csv");
#endif
}

} // namespace
} // namespace quillon
