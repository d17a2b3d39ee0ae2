#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/CheckedFloat.h"
#include "base/CheckedInt.h"
#include "base/IntegerText.h"
#include "base/PriceText.h"
#include "base/Types.h"

namespace quillon {
namespace {

// The message of the program's error that call raises, or "" when it returns.
std::string MessageOf(const std::function<void()>& call) try {
    call();
    return "";
} catch (const QuillonError& error) {
    return error.what();
}

// Checked indices, slices, arithmetic and price ranges: faults raise their errors, underflow not.
TEST(CheckedConventionsTest, FaultsBecomeTheirErrors) {
    TSeries series;
    TSquareMatrix matrix;
    series[999] = 2.5;
    matrix[100][100] = 3.0;
    EXPECT_EQ(series[999] + series[0] + matrix[100][100], 5.5); // starts zeroed
    EXPECT_EQ(series.Slice(990, 10).size() + series.Slice(1000, 0).size(), 10u);
    EXPECT_EQ(CheckedAdd(INT32_MAX - 1, 1) + CheckedSubtract(INT32_MIN + 1, 1), -1);
    EXPECT_EQ(CheckedMultiply(2147483, 1000), 2147483000);
    EXPECT_EQ(CheckedResult(1e-300 * 1e-300), 0.0);
    const std::pair<std::string, std::vector<std::function<void()>>> faults[] = {
        {"Range check error",
         {[&] { series[1000] = 0; }, [&] { series[-1] = 0; }, [&] { matrix[0][101] = 0; },
          [&] { matrix[101][0] = 0; }, [&] { series.Slice(991, 10); }, [&] { series.Slice(-1, 2); },
          [&] { series.Slice(0, -1); }}},
        {"Integer overflow",
         {[] { CheckedAdd(INT32_MAX, 1); }, [] { CheckedSubtract(INT32_MIN, 1); },
          [] { CheckedMultiply(2147484, 1000); }, [] { CheckedMultiply(-2147484, 1000); }}},
        {"Floating point division by zero",
         {[] { CheckedQuotient(1.0, 0.0); }, [] { CheckedQuotient(-1.0, -0.0); }}},
        {"Invalid floating point operation",
         {[] { CheckedQuotient(0.0, 0.0); }, [] { CheckedSquareRoot(-1.0); }}},
        {"Floating point overflow",
         {[] { CheckedResult(1e308 * 10.0); }, [] { CheckedQuotient(1e300, 1e-300); },
          [] { TextToPrice("1e309", '.'); }, [] { TextToPrice("-1e309", '.'); },
          [] { TextToPrice("1e99999", '.'); }}}};
    for (const auto& [error, calls] : faults) {
        for (const auto& call : calls) {
            EXPECT_EQ(MessageOf(call), error);
        }
    }
}

TEST(IntegerTextTest, ReadsBlanksSignAndDecimalOrHexadecimalDigits) {
    const std::pair<std::int32_t, std::vector<const char*>> accepted[] = {
        {16, {"$10", "x10", "X10", "0x10", "0X10", "+16", " 016", "000000000000000000016"}},
        {-16, {"-$10", "   -16"}},
        {255, {"0XfF", "$Ff"}},
        {2147483647, {"2147483647", "$7FFFFFFF"}},
        {-2147483647 - 1, {"-2147483648", "-$80000000"}}};
    for (const auto& [value, texts] : accepted) {
        for (const char* text : texts) {
            EXPECT_EQ(TextToInteger(text), value) << text;
        }
    }
    for (const std::string text :
         {"", " ", "7 ", "+", "-", "$", "0x", "--1", "2147483648", "-2147483649", "$80000000",
          "99999999999999999999", "\t7", "$G", "12a", "0x-1"}) {
        EXPECT_EQ(MessageOf([&] { TextToInteger(text); }),
                  "'" + text + "' is not a valid integer value");
    }
}

TEST(PriceTextTest, ReadsTheShapesTheTerminalWritesWithTheSeparatorPassedIn) {
    const std::pair<double, std::vector<const char*>> accepted[] = {
        {1.5, {"1.5", "+1.5", "  1.5  ", "1.50", "15e-1", "0.15E1", ".15e+1", "15.e-1"}},
        {-0.5, {"  -0.5  ", "-.5"}},
        {87.0, {"87", "87.", "8.7E1"}},
        {1e308, {"1e308"}},
        {0.0, {"1e-400", "1e-99999"}},
        {5e-324, {"5e-324"}},
        // The Double nearest to the digits, however many there are.
        {0.1, {"0.1000000000000000055511151231257827"}},
        {1.1, {"1.10000000000000000000000000000000000000001"}}};
    for (const auto& [value, texts] : accepted) {
        for (const char* text : texts) {
            EXPECT_EQ(TextToPrice(text, '.'), value) << text;
        }
    }
    // The separator is the one passed in: the shapes below are read with a comma.
    EXPECT_EQ(TextToPrice("1,2310", ','), 1.2310);
    for (const std::string text : {"", " ", "-", ",", "e5", "1e", "1e+", "nan", "inf", "1,2,3",
                                   "1 2", "0x10", "1.000,5", "\t1", "1,5f", "--1", "1.2310"}) {
        EXPECT_EQ(MessageOf([&] { TextToPrice(text, ','); }),
                  "'" + text + "' is not a valid floating point value");
    }
}

} // namespace
} // namespace quillon
