#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "base/Errors.h"
#include "chart/LabelSteps.h"
#include "chart/NumberFormat.h"

namespace quillon {
namespace {

const TNumberSeparators PointAndComma{".", ","};

void ExpectFormats(const char* pattern,
                   std::initializer_list<std::pair<double, const char*>> cases) {
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(FormatNumber(value, pattern, PointAndComma), expected) << value << " " << pattern;
    }
}

TEST(NumberFormatTest, Patterns) {
    // The price labels: "#" places write nothing for zeros at either end.
    ExpectFormats("#####.####",
                  {{1.23456, "1.2346"}, {2, "2"}, {0.5, ".5"}, {0, ""}, {-1.5, "-1.5"}});
    ExpectFormats("#####.####", {{1.2100000000000002, "1.21"}, {9.99999, "10"}, {-0.00004, ""}});
    ExpectFormats(
        "#,##0.###",
        {{1234567.0005, "1,234,567.001"}, {-1234.5, "-1,234.5"}, {999.9996, "1,000"}, {0, "0"}});
    // Halves away from zero, as the value reads in decimal.
    ExpectFormats("#####.####", {{1.00005, "1.0001"}, {1.00004999, "1"}});
    ExpectFormats("0", {{2.5, "3"}, {-2.5, "-3"}, {-0.4, "0"}});
    ExpectFormats("0.##", {{0.125, "0.13"}});
    ExpectFormats("0.00", {{1.5, "1.50"}, {2.675, "2.68"}});
    ExpectFormats("0,000", {{5, "0,005"}});
    // More digits than places, literals, and patterns without digit places.
    ExpectFormats("#", {{1e20, "100000000000000000000"}});
    ExpectFormats("$#,##0.00 USD", {{1234.5, "$1,234.50 USD"}});
    ExpectFormats(".##", {{12.5, "12.5"}});
    ExpectFormats("dd.MM.yyyy", {{17, "ddMMyyyy"}, {-17, "-ddMMyyyy"}});
}

TEST(NumberFormatTest, UsersSeparatorsAndNonFiniteValues) {
    EXPECT_EQ(FormatNumber(0.5, "#####.####", {",", "."}), ",5");
    // Some locales separate with characters of more than one byte.
    EXPECT_EQ(FormatNumber(1234567.25, "#,##0.###", {",", "\u202f"}), "1\u202f234\u202f567,25");
    EXPECT_THROW(FormatNumber(std::numeric_limits<double>::infinity(), "0", PointAndComma),
                 FloatOverflowError);
    EXPECT_THROW(FormatNumber(std::numeric_limits<double>::quiet_NaN(), "0", PointAndComma),
                 FloatInvalidOperationError);
}

TEST(LabelStepsTest, StepsRunOneTwoFive) {
    const std::pair<double, double> next[] = {{0.2, 0.5},   {0.5, 1},   {1, 2},      {2, 5},
                                              {5, 10},      {20, 50},   {1.5, 2},    {7, 10},
                                              {0.03, 0.05}, {450, 500}, {1e-5, 2e-5}};
    for (const auto& [step, expected] : next) {
        EXPECT_DOUBLE_EQ(NextLabelStep(step), expected) << step;
    }
    // The smallest step that leaves at most maxLabels steps; room for none still gets one.
    const std::tuple<double, int, double> cases[] = {{100, 10, 10},  {1000, 3, 500},  {7, 1, 5},
                                                     {80.44, 20, 5}, {0.3, 40, 0.01}, {10, 0, 10}};
    for (const auto& [range, maxLabels, step] : cases) {
        EXPECT_DOUBLE_EQ(LabelStep(range, maxLabels), step) << range << " " << maxLabels;
    }
    EXPECT_EQ(LabelValues(-3, 7, 5), (std::vector<double>{0, 5}));
    EXPECT_EQ(LabelValues(-5, 5, 5), (std::vector<double>{-5, 0, 5}));
    EXPECT_EQ(LabelValues(1, 4, 5), std::vector<double>{});
}

TEST(LabelStepsTest, TenLabelsFromOnePointTwoZeroZeroFive) {
    const double step = LabelStep(1.25 - 1.2005, 10);
    EXPECT_DOUBLE_EQ(step, 0.005);
    std::vector<std::string> texts;
    for (const double value : LabelValues(1.2005, 1.25, step)) {
        texts.push_back(FormatNumber(value, "#####.####", PointAndComma));
    }
    const std::vector<std::string> expected{"1.205", "1.21",  "1.215", "1.22",  "1.225",
                                            "1.23",  "1.235", "1.24",  "1.245", "1.25"};
    EXPECT_EQ(texts, expected);
}

} // namespace
} // namespace quillon
