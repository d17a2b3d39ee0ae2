#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/LabelSteps.h"
#include "chart/NumberFormat.h"

namespace quillon {
namespace {

TEST(LabelStepsTest, NextStepRunsOneTwoFive) {
    const std::pair<double, double> cases[] = {
        {0.1, 0.2},      {0.2, 0.5}, {0.5, 1},   {1, 2},       {2, 5},  {5, 10},
        {10, 20},        {20, 50},   {50, 100},  {1.5, 2},     {7, 10}, {0.03, 0.05},
        {0.0045, 0.005}, {0.99, 1},  {450, 500}, {1e-5, 2e-5},
    };
    for (const auto& [step, next] : cases) {
        EXPECT_DOUBLE_EQ(NextLabelStep(step), next) << step;
    }
}

TEST(LabelStepsTest, StepIsTheSmallestThatLeavesAtMostTheLabelsThatFit) {
    struct TCase {
        double range;
        int maxLabels;
        double step;
    };
    const TCase cases[] = {
        {0.0495, 10, 0.005},
        {100, 10, 10},
        {1, 10, 0.1},
        {1000, 3, 500},
        {7, 1, 5},
        {80.44, 20, 5},
        {0.3, 40, 0.01},
        // Room for no label at all still gets one step.
        {10, 0, 10},
    };
    for (const TCase& c : cases) {
        EXPECT_DOUBLE_EQ(LabelStep(c.range, c.maxLabels), c.step) << c.range << " " << c.maxLabels;
    }
}

TEST(LabelStepsTest, TenLabelsFromOnePointTwoZeroZeroFive) {
    const double step = LabelStep(1.25 - 1.2005, 10);
    EXPECT_DOUBLE_EQ(step, 0.005);
    std::vector<std::string> texts;
    for (const double value : LabelValues(1.2005, 1.25, step)) {
        texts.push_back(FormatNumber(value, "#####.####", TNumberSeparators{}));
    }
    const std::vector<std::string> expected{"1.205", "1.21",  "1.215", "1.22",  "1.225",
                                            "1.23",  "1.235", "1.24",  "1.245", "1.25"};
    EXPECT_EQ(texts, expected);
}

TEST(LabelStepsTest, ValuesAreTheMultiplesWithinTheRange) {
    EXPECT_EQ(LabelValues(-3, 7, 5), (std::vector<double>{0, 5}));
    EXPECT_EQ(LabelValues(-5, 5, 5), (std::vector<double>{-5, 0, 5}));
    EXPECT_EQ(LabelValues(1, 4, 5), std::vector<double>{});
}

} // namespace
} // namespace quillon
