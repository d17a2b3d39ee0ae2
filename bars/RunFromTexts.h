#pragma once

#include <string>

#include "bars/Run.h"
#include "base/Errors.h"
#include "base/IntegerText.h"
#include "base/Types.h"

namespace quillon {

// The edit boxes' texts and the chosen file, as the window hands them to a run, with how to read.
struct TRunSettings {
    std::string barCountText = IntegerToText(DefaultBarCount); // Edit3
    std::string lag1Text = IntegerToText(DefaultLag1);         // Edit1, W1
    std::string lag2Text = IntegerToText(DefaultLag2);         // Edit2, W2
    std::string sourceFilePath;
    TReadSettings read;
};

// How a run ended: whole, or why not in words that a user can act on ("no such file", "only 100
// lines, fewer than the 500 bars asked for", "'abc' is not a valid integer value (W1)").
struct TRunOutcome {
    std::string failure;
    bool Completed() const { return failure.empty(); }
};

// The largest lag a run of N bars takes: the covariance matrix's order, and not above the bars.
constexpr int HighestLag(int N) {
    return N < MatrixOrderCapacity ? N : MatrixOrderCapacity;
}

// A bar count that is not an integer, in the same words as a lag: the box it came from named.
std::string BarCountFailureText(const IntegerConversionError& error);

// One run from the edit boxes' texts, its steps in the window's order: the bar count converted
// (its IntegerConversionError escapes, before anything is read, for the caller to show or to say
// in words), the file read, the newest N bars loaded, then W1 and W2 converted and the four waves
// worked out. Any failure after the bar count ends the run and is returned in words; what the run
// holds then is of no use to anyone.
TRunOutcome RunFromTexts(const TRunSettings& settings, TRun& run);

} // namespace quillon
