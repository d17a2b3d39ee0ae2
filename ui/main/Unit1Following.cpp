// Following the chosen file: while "Follow file" is checked, the chart takes each run of the file
// that the live pipeline finishes after a rewrite has settled, as a click would show it, except
// that it keeps the user's zoom. The watch list shows the same run in the file's row.

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include "chart/ChartFeed.h"
#include "chart/TChart.h"
#include "live/FilePath.h"
#include "ui/main/Unit1.h"

namespace quillon {

QString TForm1::WatchedSourcePath() const {
    // The name the pipeline gives the file when it lists its folder, so that the file is watched
    // and run once.
    return sourceFilePath_.isEmpty() ? QString() : QFileInfo(sourceFilePath_).absoluteFilePath();
}

void TForm1::FollowFileClick() {
    // A time shown belongs to following; a failure stays said until a run completes.
    if (!runStatusIsFailure_) {
        ShowRunStatus(QString(), false);
    }
}

void TForm1::LiveRunFinished(const TFileRun& fileRun) {
    const bool chosen = !sourceFilePath_.isEmpty() && fileRun.path == WatchedSourcePath();
    if (chosen && FollowFile->isChecked()) {
        if (fileRun.outcome.Completed()) {
            FeedChart(*fileRun.run, Chart1->Model(), TZoomOnRefill::Keep);
            Chart1->Model().Marks().ClearPoints();
            MarksAtCloseLine->hide();
        }
        RunEnded(fileRun.run, fileRun.outcome, true);
    }
    if (chosen && fileRun.outcome.Completed()) {
        ShowMarksAtClose(fileRun);
    }
    if (chosen) {
        ShowTrackRecords(fileRun);
    }
    if (fileRun.outcome.Completed() &&
        (chosen || watchList_->Model().Notifies(PathBytes(fileRun.path)))) {
        AnnounceTurn(fileRun.path, *fileRun.run, fileRun.marksAtClose);
    }
}

} // namespace quillon
