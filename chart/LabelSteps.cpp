#include "chart/LabelSteps.h"

#include <algorithm>
#include <cmath>

#include "base/CheckedFloat.h"

namespace quillon {

namespace {

// How far past an end a multiple may lie, in steps, and still count as within the range.
constexpr double MultipleTolerance = 1e-9;
// More labels than any screen holds: the step cannot be told apart from the range's magnitude, so
// no label can be placed.
constexpr double UnplaceableLabelCount = 100000.0;

} // namespace

double NextLabelStep(double step) {
    if (!(step > 0.0)) {
        throw FloatInvalidOperationError();
    }
    if (step >= 10.0) {
        return CheckedResult(10.0 * NextLabelStep(step / 10.0));
    }
    if (step >= 5.0) {
        return 10.0;
    }
    if (step >= 2.0) {
        return 5.0;
    }
    if (step >= 1.0) {
        return 2.0;
    }
    return NextLabelStep(CheckedResult(10.0 * step)) / 10.0;
}

double LabelStep(double range, int maxLabels) {
    const int labels = std::max(maxLabels, 1);
    double step = CheckedQuotient(range, labels + 1.0);
    while (std::round(CheckedQuotient(range, step)) > labels) {
        step = NextLabelStep(step);
    }
    return step;
}

std::vector<double> LabelValues(double low, double high, double step) {
    const double first = std::ceil(CheckedQuotient(low, step) - MultipleTolerance);
    const double last = std::floor(CheckedQuotient(high, step) + MultipleTolerance);
    std::vector<double> values;
    const double count = last - first + 1.0;
    if (!(count > 0.0) || count > UnplaceableLabelCount) {
        return values;
    }
    for (int k = 0; k < static_cast<int>(count); ++k) {
        values.push_back((first + k) * step);
    }
    return values;
}

} // namespace quillon
