#pragma once

#include <vector>

namespace quillon {

// The value after `step` in the label step sequence ..., 0.1, 0.2, 0.5, 1, 2, 5, 10, 20, ...
// (one, two or five times a power of ten). Requires a positive, finite step.
double NextLabelStep(double step);

// The smallest value of the sequence above range / (maxLabels + 1) that leaves at most
// `maxLabels` steps in the range. Requires a positive range; fewer than one label counts as one.
double LabelStep(double range, int maxLabels);

// Every whole multiple of `step` from `low` to `high`, both included. A multiple that misses an
// end only by the rounding of the division still counts.
std::vector<double> LabelValues(double low, double high, double step);

} // namespace quillon
