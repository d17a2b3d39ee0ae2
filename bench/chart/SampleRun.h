#pragma once

namespace quillon {

class TChartModel;

// Fills the model the way a Make-Waves run does, from a seeded random walk of `bars` bars: one
// candle per bar, from the fourth bar on two averages of the closes as the close waves (with
// lime and red spikes on the first where both rose or both fell) and two swings, set 1 % below
// the newest close, as the open waves. Same seed, same chart.
void FillSampleRun(TChartModel& model, int bars, unsigned seed);

} // namespace quillon
