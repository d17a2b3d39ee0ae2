#include <gtest/gtest.h>

#include <limits>

#include "base/CheckedFloat.h"
#include "base/CheckedInt.h"
#include "base/ErrorText.h"
#include "base/Types.h"

namespace quillon {
namespace {

template <typename Error, typename Action>
void ExpectError(Action action, const char* message) {
    try {
        action();
        ADD_FAILURE() << "no error, expected: " << message;
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), message);
    }
}

TEST(CheckedArrayTest, IndexOutsideTheCapacityRaisesTheRangeError) {
    TSeries series;
    series[0] = 1.5;
    series[999] = 2.5;
    EXPECT_EQ(series[0], 1.5);
    EXPECT_EQ(series[999], 2.5);
    ExpectError<RangeCheckError>([&] { series[1000] = 0; }, "Range check error");
    ExpectError<RangeCheckError>([&] { series[-1] = 0; }, "Range check error");

    TSquareMatrix matrix;
    matrix[100][100] = 3.0;
    EXPECT_EQ(matrix[100][100], 3.0);
    ExpectError<RangeCheckError>([&] { matrix[0][101] = 0; }, "Range check error");
    ExpectError<RangeCheckError>([&] { matrix[101][0] = 0; }, "Range check error");
}

TEST(CheckedArrayTest, StartsZeroedAndSlicesAreCheckedAsAWhole) {
    const TSeries series;
    EXPECT_EQ(series[500], 0.0);
    EXPECT_EQ(series.Slice(990, 10).size(), 10u);
    EXPECT_EQ(series.Slice(1000, 0).size(), 0u);
    EXPECT_THROW(series.Slice(991, 10), RangeCheckError);
    EXPECT_THROW(series.Slice(-1, 2), RangeCheckError);
    EXPECT_THROW(series.Slice(0, -1), RangeCheckError);
}

TEST(CheckedIntTest, OverflowAtBothEndsOfTheRange) {
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(CheckedAdd(Max - 1, 1), Max);
    EXPECT_EQ(CheckedSubtract(Min + 1, 1), Min);
    ExpectError<IntegerOverflowError>([] { CheckedAdd(Max, 1); }, "Integer overflow");
    ExpectError<IntegerOverflowError>([] { CheckedSubtract(Min, 1); }, "Integer overflow");
    EXPECT_EQ(CheckedMultiply(2147483, 1000), 2147483000);
    ExpectError<IntegerOverflowError>([] { CheckedMultiply(2147484, 1000); }, "Integer overflow");
    ExpectError<IntegerOverflowError>([] { CheckedMultiply(-2147484, 1000); }, "Integer overflow");
}

TEST(CheckedFloatTest, FaultsBecomeTheirErrors) {
    EXPECT_EQ(CheckedQuotient(1.0, 4.0), 0.25);
    ExpectError<FloatDivideByZeroError>([] { CheckedQuotient(1.0, 0.0); },
                                        "Floating point division by zero");
    ExpectError<FloatDivideByZeroError>([] { CheckedQuotient(-1.0, -0.0); },
                                        "Floating point division by zero");
    ExpectError<FloatInvalidOperationError>([] { CheckedQuotient(0.0, 0.0); },
                                            "Invalid floating point operation");
    ExpectError<FloatOverflowError>([] { CheckedResult(1e308 * 10.0); }, "Floating point overflow");
    ExpectError<FloatOverflowError>([] { CheckedQuotient(1e300, 1e-300); },
                                    "Floating point overflow");
    ExpectError<FloatInvalidOperationError>([] { CheckedSquareRoot(-1.0); },
                                            "Invalid floating point operation");
    // Underflow stays silent.
    EXPECT_EQ(CheckedResult(1e-300 * 1e-300), 0.0);
    EXPECT_EQ(CheckedSquareRoot(16.0), 4.0);
}

TEST(ErrorBoxTextTest, FullStopOnlyAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(ErrorBoxText("Range check error"), "Range check error.");
    EXPECT_EQ(ErrorBoxText("'' is not a valid integer value"), "'' is not a valid integer value.");
    EXPECT_EQ(ErrorBoxText(""), "");
    EXPECT_EQ(ErrorBoxText("done."), "done.");
    EXPECT_EQ(ErrorBoxText("a!"), "a!");
    EXPECT_EQ(ErrorBoxText("a-"), "a-");
    EXPECT_EQ(ErrorBoxText("x/"), "x/.");
    EXPECT_EQ(ErrorBoxText("caf\xc3\xa9"), "caf\xc3\xa9.");
}

} // namespace
} // namespace quillon
