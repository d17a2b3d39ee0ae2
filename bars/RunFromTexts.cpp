#include "bars/RunFromTexts.h"

#include <new>

#include "base/ErrorText.h"
#include "base/Types.h"

namespace quillon {

namespace {

// The engine meets a lag it cannot take with a floating-point fault or a range error, which tells
// the user nothing: the lag's limits are said instead. Empty for a lag the engine takes.
std::string LagLimitText(int lag, const char* box, int N) {
    if (lag >= 1 && lag <= HighestLag(N)) {
        return {};
    }
    const std::string named = std::string("the ") + box + " lag " + IntegerToText(lag);
    if (lag < 1 || lag > MatrixOrderCapacity) {
        return named + " is not from 1 to " + IntegerToText(MatrixOrderCapacity);
    }
    return named + " is above the " + IntegerToText(N) + " bars asked for";
}

} // namespace

std::string BarCountFailureText(const IntegerConversionError& error) {
    return error.Message() + " (Load bars to wave)";
}

TRunOutcome RunFromTexts(const TRunSettings& settings, TRun& run) {
    // The texts cannot change during a run, so the bar count is converted once.
    const int N = TextToInteger(settings.barCountText);
    run.ReadFile(settings.sourceFilePath, settings.read);
    if (run.ReadFailure() != TReadFailure::None) {
        // An empty path is no file of the user's: before any choice, the click says so.
        return {settings.sourceFilePath.empty() ? "no file chosen"
                                                : ReadFailureText(run.ReadFailure())};
    }
    // What can fail from here is the program's own errors (a bad line, a bad setting, a fault of
    // the computation) and storage that cannot be had; anything else would be a fault of the
    // program and is left to reach the user.
    try {
        run.LoadBars(N);
        // A lag that is no integer is said with the box it came from.
        std::string failure;
        const auto lag = [&failure](const std::string& text, const char* box) {
            try {
                return TextToInteger(text);
            } catch (const IntegerConversionError& error) {
                failure = error.Message() + " (" + box + ")";
                return 0;
            }
        };
        const int W1 = lag(settings.lag1Text, "W1");
        const int W2 = failure.empty() ? lag(settings.lag2Text, "W2") : 0;
        if (failure.empty()) {
            failure = LagLimitText(W1, "W1", N);
        }
        if (failure.empty()) {
            failure = LagLimitText(W2, "W2", N);
        }
        if (!failure.empty()) {
            return {failure};
        }
        run.WorkOutWaves(W1, W2);
        return {};
    } catch (const QuillonError& error) {
        return {RunFailureText(error, run, N)};
    } catch (const std::bad_alloc& error) {
        return {FailureText(error)};
    }
}

} // namespace quillon
