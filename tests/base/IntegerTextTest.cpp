#include <gtest/gtest.h>

#include "base/Errors.h"
#include "base/IntegerText.h"

namespace quillon {
namespace {

struct Accepted {
    const char* text;
    std::int32_t value;
};

class IntegerTextAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(IntegerTextAccepts, Text) {
    EXPECT_EQ(TextToInteger(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    DecimalHexSignsAndBlanks, IntegerTextAccepts,
    testing::Values(Accepted{"39", 39}, Accepted{" 007", 7}, Accepted{"   -1", -1},
                    Accepted{"+5", 5}, Accepted{"$10", 16}, Accepted{"x1f", 31},
                    Accepted{"X1F", 31}, Accepted{"0x10", 16}, Accepted{"0XfF", 255},
                    Accepted{"-$10", -16}, Accepted{"2147483647", 2147483647},
                    Accepted{"-2147483648", -2147483647 - 1}, Accepted{"$7FFFFFFF", 2147483647},
                    Accepted{"-$80000000", -2147483647 - 1}, Accepted{"0", 0}, Accepted{"-0", 0},
                    Accepted{"000000000000000000012", 12}));

class IntegerTextRejects : public testing::TestWithParam<const char*> {};

TEST_P(IntegerTextRejects, WithTheTextInTheMessage) {
    const std::string text = GetParam();
    try {
        TextToInteger(text);
        ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const IntegerConversionError& error) {
        EXPECT_EQ(error.what(), "'" + text + "' is not a valid integer value");
    }
}

INSTANTIATE_TEST_SUITE_P(NotIntegers, IntegerTextRejects,
                         testing::Values("", " ", "abc", "7 ", "1.5", "+", "-", "$", "0x", "--1",
                                         "+-1", "1e3", "2147483648", "-2147483649", "$80000000",
                                         "99999999999999999999", "\t7", "$G", "12a", "0x-1"));

TEST(IntegerTextTest, WritesPlainDecimal) {
    EXPECT_EQ(IntegerToText(40), "40");
    EXPECT_EQ(IntegerToText(-1), "-1");
    EXPECT_EQ(IntegerToText(0), "0");
    EXPECT_EQ(IntegerToText(-2147483647 - 1), "-2147483648");
}

} // namespace
} // namespace quillon
