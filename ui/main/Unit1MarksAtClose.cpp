// "Marks at close": beside the chart's marks, worked out over the newest bars at once, the mark
// each bar showed when it was the newest, worked out off the window's thread by the live pipeline
// and kept there from run to run, so that a rewrite that adds a bar costs two runs, not N.

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include "chart/ChartFeed.h"
#include "chart/TChart.h"
#include "live/EightBitText.h"
#include "ui/main/Unit1.h"

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
                paths << QFile::decodeName(QByteArray::fromStdString(ticked));
            }
        }
    }
    pipeline_.WorkOutMarksAtClose(paths);
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
    MarksAtCloseLine->setText(FromEightBit(MarksAtCloseSummary(*shownRun_, *fileRun.marksAtClose)));
    MarksAtCloseLine->adjustSize();
    MarksAtCloseLine->show();
}

} // namespace quillon
