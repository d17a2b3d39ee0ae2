#include <gtest/gtest.h>

#include "base/Errors.h"
#include "base/PriceText.h"

namespace quillon {
namespace {

TEST(PriceTextTest, ReadsTheShapesTheTerminalWrites) {
    EXPECT_EQ(TextToPrice("1.2310", '.'), 1.2310);
    EXPECT_EQ(TextToPrice("1.23456", '.'), 1.23456);
    EXPECT_EQ(TextToPrice("  -0.5  ", '.'), -0.5);
    EXPECT_EQ(TextToPrice("+12", '.'), 12.0);
    EXPECT_EQ(TextToPrice("12.", '.'), 12.0);
    EXPECT_EQ(TextToPrice(".5", '.'), 0.5);
    EXPECT_EQ(TextToPrice("1.5E3", '.'), 1500.0);
    EXPECT_EQ(TextToPrice("15e-1", '.'), 1.5);
    EXPECT_EQ(TextToPrice("1e+2", '.'), 100.0);
    EXPECT_EQ(TextToPrice("87", '.'), 87.0);
}

TEST(PriceTextTest, TheSeparatorIsTheOnePassedIn) {
    EXPECT_EQ(TextToPrice("1,2310", ','), 1.2310);
    EXPECT_THROW(TextToPrice("1.2310", ','), PriceConversionError);
    EXPECT_THROW(TextToPrice("1,2310", '.'), PriceConversionError);
}

TEST(PriceTextTest, RejectsOtherShapesWithTheTextInTheMessage) {
    for (const char* text : {"", " ", "-", ".", "e5", "1e", "1e+", "nan", "inf", "1.2.3", "1 2",
                             "0x10", "1,000.5", "\t1", "1.5f", "--1"}) {
        try {
            TextToPrice(text, '.');
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const PriceConversionError& error) {
            EXPECT_EQ(error.what(),
                      "'" + std::string(text) + "' is not a valid floating point value");
        }
    }
}

TEST(PriceTextTest, MagnitudesBeyondTheDoubleRange) {
    EXPECT_EQ(TextToPrice("1e308", '.'), 1e308);
    EXPECT_THROW(TextToPrice("1e309", '.'), FloatOverflowError);
    EXPECT_THROW(TextToPrice("-1e309", '.'), FloatOverflowError);
    EXPECT_THROW(TextToPrice("1e99999", '.'), FloatOverflowError);
    EXPECT_EQ(TextToPrice("1e-400", '.'), 0.0);
    EXPECT_EQ(TextToPrice("1e-99999", '.'), 0.0);
    EXPECT_GT(TextToPrice("5e-324", '.'), 0.0);
}

TEST(PriceTextTest, NearestDoubleForLongDigitStrings) {
    EXPECT_EQ(TextToPrice("0.1000000000000000055511151231257827", '.'), 0.1);
    EXPECT_EQ(TextToPrice("1.10000000000000000000000000000000000000001", '.'), 1.1);
}

} // namespace
} // namespace quillon
