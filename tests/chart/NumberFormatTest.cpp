#include <gtest/gtest.h>

#include <limits>

#include "base/Errors.h"
#include "chart/NumberFormat.h"

namespace quillon {
namespace {

struct TFormatCase {
    double value;
    const char* pattern;
    const char* expected;
};

const TNumberSeparators PointAndComma{".", ","};

template <std::size_t Count>
void ExpectFormats(const TFormatCase (&cases)[Count]) {
    for (const TFormatCase& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, c.pattern, PointAndComma), c.expected)
            << c.value << " " << c.pattern;
    }
}

TEST(NumberFormatTest, AxisLabelPattern) {
    const TFormatCase cases[] = {
        {1.23456, "#####.####", "1.2346"},
        {1.2, "#####.####", "1.2"},
        {2, "#####.####", "2"},
        {0.5, "#####.####", ".5"},
        {123456.7, "#####.####", "123456.7"},
        {0, "#####.####", ""},
        {0.00004, "#####.####", ""},
        {1.205, "#####.####", "1.205"},
        {1.2100000000000002, "#####.####", "1.21"},
        {9.99999, "#####.####", "10"},
        {-1.5, "#####.####", "-1.5"},
        {-0.00004, "#####.####", ""},
    };
    ExpectFormats(cases);
}

TEST(NumberFormatTest, ThousandsAndForcedZeros) {
    const TFormatCase cases[] = {
        {17, "#,##0.###", "17"},
        {1234.5, "#,##0.###", "1,234.5"},
        {0, "#,##0.###", "0"},
        {0.25, "#,##0.###", "0.25"},
        {1234567.0005, "#,##0.###", "1,234,567.001"},
        {-1234.5, "#,##0.###", "-1,234.5"},
        {999.9996, "#,##0.###", "1,000"},
        {1.5, "0.00", "1.50"},
        {42, "00000", "00042"},
        {5, "0,000", "0,005"},
        {1.231, "0.#####", "1.231"},
        {1.23104, "0.#####", "1.23104"},
    };
    ExpectFormats(cases);
}

TEST(NumberFormatTest, HalvesRoundAwayFromZero) {
    const TFormatCase cases[] = {
        {0.5, "0", "1"},
        {1.5, "0", "2"},
        {2.5, "0", "3"},
        {-2.5, "0", "-3"},
        {-0.5, "0", "-1"},
        {0.49, "0", "0"},
        {-0.4, "0", "0"},
        {0.125, "0.##", "0.13"},
        // Written as a decimal half, stored a hair below it: rounds as written.
        {2.675, "0.00", "2.68"},
        {1.00005, "#####.####", "1.0001"},
        {1.00004999, "#####.####", "1"},
    };
    ExpectFormats(cases);
}

TEST(NumberFormatTest, DigitsBeyondThePlacesAndLiterals) {
    const TFormatCase cases[] = {
        {123, "#", "123"},
        {0, "#", ""},
        {1e20, "#", "100000000000000000000"},
        {1234.5, "$#,##0.00 USD", "$1,234.50 USD"},
        {7.25, "[0.0]", "[7.3]"},
        {12.5, ".##", "12.5"},
    };
    ExpectFormats(cases);
}

TEST(NumberFormatTest, PatternWithoutDigitPlacesWritesNoDigits) {
    EXPECT_EQ(FormatNumber(1.2345, "dd.MM.yyyy", PointAndComma), "ddMMyyyy");
    EXPECT_EQ(FormatNumber(17, "dd.MM.yyyy", PointAndComma), "ddMMyyyy");
    EXPECT_EQ(FormatNumber(-17, "dd.MM.yyyy", PointAndComma), "-ddMMyyyy");
    EXPECT_EQ(FormatNumber(0, "", PointAndComma), "");
}

TEST(NumberFormatTest, UsersSeparators) {
    const TNumberSeparators german{",", "."};
    EXPECT_EQ(FormatNumber(1234.5, "#,##0.###", german), "1.234,5");
    EXPECT_EQ(FormatNumber(0.5, "#####.####", german), ",5");
    // Some locales separate with characters of more than one byte.
    const TNumberSeparators french{",", "\u202f"};
    EXPECT_EQ(FormatNumber(1234567.25, "#,##0.###", french), "1\u202f234\u202f567,25");
}

TEST(NumberFormatTest, NonFiniteValuesAreFloatingPointErrors) {
    EXPECT_THROW(FormatNumber(std::numeric_limits<double>::infinity(), "0", PointAndComma),
                 FloatOverflowError);
    EXPECT_THROW(FormatNumber(std::numeric_limits<double>::quiet_NaN(), "0", PointAndComma),
                 FloatInvalidOperationError);
}

} // namespace
} // namespace quillon
