// Following the chosen file: while "Follow file" is checked, every rewrite of the file that has
// settled starts a run as a click would, except that it never holds the window up, keeps the
// user's zoom and does not report the same bad bar count at every rewrite.

#include <QCheckBox>
#include <QLineEdit>

#include "base/Errors.h"
#include "chart/MakeWavesRun.h"
#include "chart/TChart.h"
#include "ui/Unit1.h"

namespace quillon {

void TForm1::FollowSourceFile() {
    // A time shown belongs to the file followed before; a failure stays said until a run
    // completes.
    if (!runStatusIsFailure_) {
        ShowRunStatus(QString(), false);
    }
    follower_.Follow(CheckBox2->isChecked() ? sourceFilePath_ : QString());
}

void TForm1::FollowerSettled() {
    // The read neither waits for the file nor pauses after a failure: the follower tells when the
    // file next settles.
    const TRunSettings settings = RunSettings();
    const auto run = std::make_shared<TRun>();
    TRunOutcome outcome;
    try {
        outcome = MakeWavesRun(settings, *run, Chart1->Model(), TZoomOnRefill::Keep);
    } catch (const IntegerConversionError& error) {
        RunEnded(run, {BarCountFailureText(error)}, true);
        if (reportedBarCountText_ == Edit3->text()) {
            return;
        }
        reportedBarCountText_ = Edit3->text();
        throw;
    }
    // A writer may let go of the file without changing it again.
    if (run->ReadFailure() == TReadFailure::HeldOrBeingWritten) {
        follower_.RetryLater();
    }
    if (outcome.Completed()) {
        reportedBarCountText_.reset();
    }
    RunEnded(run, outcome, true);
}

} // namespace quillon
