// "Marks at close": beside the chart's marks, worked out over the newest bars at once, the mark
// each bar showed when it was the newest, worked out off the window's thread by the live pipeline
// and kept there from run to run, so that a rewrite that adds a bar costs two runs, not N. The
// track records ride on them: the totals on the line of the marks at close, and the page "Track
// record", which asks for the whole file's too while it is shown.

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>

#include "chart/ChartFeed.h"
#include "chart/TChart.h"
#include "live/EightBitText.h"
#include "live/FilePath.h"
#include "ui/main/Unit1.h"
#include "ui/track/TrackRecordPage.h"

namespace quillon {

namespace {

// The pipeline's run and the run shown are of the same bars, line for line.
bool SameBars(const TRun& a, const TRun& b) {
    if (a.BarCount() != b.BarCount()) {
        return false;
    }
    for (int row = 0; row < a.BarCount(); ++row) {
        if (a.LineOfRow(row) != b.LineOfRow(row)) {
            return false;
        }
    }
    return true;
}

bool SameRun(const TRun& a, const TRun& b) {
    return a.Lag1() == b.Lag1() && a.Lag2() == b.Lag2() && SameBars(a, b);
}

} // namespace

void TForm1::MarksAtCloseClick() {
    AskForMarksAtClose();
    if (MarksAtClose->isChecked()) {
        AwaitMarksAtClose();
        return;
    }
    marksAtCloseWait_->stop();
    Chart1->Model().Marks().ClearPoints();
    MarksAtCloseLine->hide();
}

void TForm1::AskForMarksAtClose() {
    QSet<QString> paths;
    if (MarksAtClose->isChecked() && !sourceFilePath_.isEmpty()) {
        paths << WatchedSourcePath();
        if (NotifyTurns->isChecked()) {
            for (const std::string& ticked : watchList_->Model().Ticked()) {
                paths << PathText(ticked);
            }
        }
    }
    pipeline_.WorkOutMarksAtClose(paths);
    AskForTrackRecords();
}

void TForm1::AwaitMarksAtClose() {
    Chart1->Model().Marks().ClearPoints();
    MarksAtCloseLine->hide();
    if (!MarksAtClose->isChecked() || !shownRun_) {
        return;
    }
    marksAtCloseWait_->start();
    pipeline_.RunAgain(WatchedSourcePath());
}

void TForm1::ShowMarksAtClose(const TFileRun& fileRun) {
    if (!MarksAtClose->isChecked() || !fileRun.marksAtClose || !shownRun_ ||
        !SameBars(*shownRun_, *fileRun.run)) {
        return;
    }
    marksAtCloseWait_->stop();
    FeedMarksAtClose(*shownRun_, *fileRun.marksAtClose, Chart1->Model());
    SetChartLine(MarksAtCloseLine,
                 FromEightBit(MarksAtCloseSummary(*shownRun_, *fileRun.marksAtClose,
                                                  fileRun.trackRecords.get())));
    MarksAtCloseLine->show();
}

void TForm1::CreateTrackPage() {
    TrackPage = new TTrackRecordPage;
    PageControl1->addTab(TrackPage, QStringLiteral("Track record"));
}

QSet<QString> TForm1::ChosenFileRecords(bool wholeFile) const {
    const bool asked = wholeFile ? TrackPageShown() : TrackPageShown() || MarksAtClose->isChecked();
    if (!asked || sourceFilePath_.isEmpty()) {
        return {};
    }
    return {WatchedSourcePath()};
}

bool TForm1::TrackPageShown() const {
    return PageControl1->currentWidget() == TrackPage;
}

void TForm1::TrackPageChanged() {
    AskForTrackRecords();
    if (TrackPageShown()) {
        AwaitTrackRecords();
    } else {
        TrackPage->StopWorking();
    }
}

void TForm1::AwaitTrackRecords() {
    if (!TrackPageShown() || !shownRun_ || (trackRun_ && SameRun(*trackRun_, *shownRun_))) {
        return;
    }
    TrackPage->ShowWorking(0, 0);
    pipeline_.RunAgain(WatchedSourcePath());
}

void TForm1::ShowTrackRecords(const TFileRun& fileRun) {
    if (!fileRun.outcome.Completed()) {
        // The page keeps what it shows, and waits no more.
        TrackPage->StopWorking();
        return;
    }
    if (!fileRun.trackRecords || !fileRun.trackRecords->wholeFile || !shownRun_ ||
        !SameRun(*shownRun_, *fileRun.run)) {
        return;
    }
    TrackPage->ShowRecords(QFileInfo(fileRun.path).fileName(), *fileRun.run, *fileRun.trackRecords);
    trackRun_ = fileRun.run;
}

} // namespace quillon
