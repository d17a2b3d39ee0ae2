#include "chart/ChartFeed.h"

#include <cmath>
#include <optional>

#include "bars/RecordText.h"
#include "base/CheckedArray.h"
#include "base/CheckedFloat.h"
#include "base/IntegerText.h"

namespace quillon {

namespace {

// A mark's spike stands this far off the wave, as a fraction of the wave's value.
constexpr double TickSize = 0.001;
// The open waves are drawn this many times their size...
constexpr double OpenWaveScale = 3.0;
// ...around a base line this fraction of the newest close below it, just under the newest
// candles.
constexpr double OpenWaveOffset = 0.01;

// The seven series a run refills, in the order it clears them.
struct TRunSeries {
    TLineSeries& closeLine;
    TLineSeries& spare;
    TLineSeries& closeWave1;
    TLineSeries& closeWave2;
    TCandleSeries& candles;
    TLineSeries& openWave1;
    TLineSeries& openWave2;

    explicit TRunSeries(TChartModel& chart)
        : closeLine(chart.LineSeries1())
        , spare(chart.LineSeries2())
        , closeWave1(chart.LineSeries3())
        , closeWave2(chart.LineSeries4())
        , candles(chart.Series17())
        , openWave1(chart.Series18())
        , openWave2(chart.Series19()) {}

    void ClearAll() {
        closeLine.ClearPoints();
        spare.ClearPoints();
        closeWave1.ClearPoints();
        closeWave2.ClearPoints();
        candles.ClearPoints();
        openWave1.ClearPoints();
        openWave2.ClearPoints();
    }
};

// The wave points of row i: the first close wave twice (a spike up to lime or down to red at a
// mark, else on the wave), the second close wave, and the open waves scaled to lie around a line
// just under the newest close p.
void FeedWaveRow(const TRunWaves& waves, int i, double p, TRunSeries& series) {
    const TPointColor plain;
    const TTick mark = TickAt(waves, i);
    const double x = i;
    const double w = waves.CloseWave1()[i];
    if (mark == TTick::Up) {
        series.closeWave1.AppendPoint(x, CheckedResult(w + TickSize * w), "", clLime);
    } else {
        series.closeWave1.AppendPoint(x, w, "", plain);
    }
    if (mark == TTick::Down) {
        series.closeWave1.AppendPoint(x, CheckedResult(w - TickSize * w), "", clRed);
    } else {
        series.closeWave1.AppendPoint(x, w, "", plain);
    }
    series.closeWave2.AppendPoint(x, waves.CloseWave2()[i], "", plain);
    series.openWave1.AppendPoint(
        x, CheckedResult(OpenWaveScale * waves.OpenWave1()[i] + p - OpenWaveOffset * p), "", plain);
    series.openWave2.AppendPoint(
        x, CheckedResult(OpenWaveScale * waves.OpenWave2()[i] + p - OpenWaveOffset * p), "", plain);
}

} // namespace

void FeedChart(const TRun& run, TChartModel& chart, TZoomOnRefill zoom) {
    FeedChart(run.Bars(), run.Waves(), run.BarCount(), chart, zoom);
}

void FeedChart(const TBarTable& bars, const TRunWaves& waves, int N, TChartModel& chart,
               TZoomOnRefill zoom) {
    if (zoom == TZoomOnRefill::Reset) {
        chart.ResetZoom();
    }
    TRunSeries series(chart);
    series.ClearAll();
    for (int i = 0; i < N; ++i) {
        if (CarriesTick(i)) {
            FeedWaveRow(waves, i, bars.BarClose[N - 1], series);
        }
        series.candles.AppendCandle(bars.BarOpen[i], bars.BarHigh[i], bars.BarLow[i],
                                    bars.BarClose[i]);
    }
}

void FeedMarksAtClose(const TRun& run, const TMarksAtClose& marks, TChartModel& chart) {
    TMarkSeries& layer = chart.Marks();
    layer.ClearPoints();
    const TBarTable& bars = run.Bars();
    const int size = static_cast<int>(marks.size());
    for (int row = 0; row < run.BarCount(); ++row) {
        const TMarkAtClose& mark = marks[static_cast<std::size_t>(CheckedIndex(row, size))];
        if (mark == TTick::Up) {
            layer.AppendMark(row, bars.BarLow[row], true);
        } else if (mark == TTick::Down) {
            layer.AppendMark(row, bars.BarHigh[row], false);
        }
    }
}

std::string MarksAtCloseSummary(const TRun& run, const TMarksAtClose& marks,
                                const TTrackRecords* records) {
    const std::optional<double> percent = AgreementOf(run, marks).Percent();
    if (!percent) {
        return "marks at close: none yet";
    }
    const TTurnCounts turns = CountTurns(run, marks);
    // A share from 0 to 100: its rounding always fits an int.
    std::string line = "marks at close: " + IntegerToText(static_cast<int>(std::lround(*percent))) +
                       " % agree with the chart; turns: " + IntegerToText(turns.atClose) +
                       " at close, " + IntegerToText(turns.shown) + " in the chart";
    if (records != nullptr) {
        const TRecordSummary& atClose = records->atClose.summary;
        line += "; traded at close " + PointsText(atClose.points) + " points in " +
                IntegerToText(atClose.trades) + (atClose.trades == 1 ? " trade" : " trades") +
                "; in the chart " + PointsText(records->chart.summary.points) + " in " +
                IntegerToText(records->chart.summary.trades);
    }
    return line;
}

} // namespace quillon
