#pragma once

#include <array>

#include "bars/BarData.h"
#include "base/Types.h"

namespace quillon {

// The four waves of a run, entry i belonging to bar row i.
class TRunWaves {
public:
    const TSeries& CloseWave1() const { return waves_[0]; }
    const TSeries& CloseWave2() const { return waves_[1]; }
    const TSeries& OpenWave1() const { return waves_[2]; }
    const TSeries& OpenWave2() const { return waves_[3]; }

private:
    friend void WorkOutWaves(const TBarTable& bars, int N, int W1, int W2, TRunWaves& waves,
                             unsigned maxThreads);
    friend void WorkOutCloseWaves(const TBarTable& bars, int N, int W1, int W2, TRunWaves& waves,
                                  unsigned maxThreads);
    std::array<TSeries, 4> waves_;
};

// Each wave is worked out with this many leading components.
inline constexpr int WaveComponentsWorkedOut = 5;
// The close waves are the leading component (a smoothed copy of the closes), the open waves the
// second (an oscillation around zero).
inline constexpr int CloseWaveComponent = 0;
inline constexpr int OpenWaveComponent = 1;

// CloseWave1, CloseWave2, OpenWave1, OpenWave2 of the first N bars with the lags W1 and W2, on at
// most maxThreads threads (0: one a processor; see WaveComponents). The error of the first of
// them that fails is raised, in that order.
void WorkOutWaves(const TBarTable& bars, int N, int W1, int W2, TRunWaves& waves,
                  unsigned maxThreads = 0);

// CloseWave1 and CloseWave2 alone, the two that decide the marks, by the same engine calls as
// WorkOutWaves makes for them, so that they come out bit for bit as WorkOutWaves's; the open
// waves are left as they were. For the many runs whose marks alone are wanted, at half the work.
void WorkOutCloseWaves(const TBarTable& bars, int N, int W1, int W2, TRunWaves& waves,
                       unsigned maxThreads = 0);

// Which way both close waves went over the step from row - 2 to row - 1; Up or Down only when they
// agree strictly. Shown from the first row that has three rows before it.
enum class TTick { None, Up, Down };
inline constexpr int FirstTickRow = 3;
// Whether bar row `row` can carry a mark: the rows before FirstTickRow carry none, in the chart,
// its spikes and the marks at close alike.
constexpr bool CarriesTick(int row) {
    return row >= FirstTickRow;
}
TTick TickAt(const TRunWaves& waves, int row);
// The same rule on the two close waves' values at the step's two ends.
TTick TickOf(double before1, double last1, double before2, double last2);

} // namespace quillon
