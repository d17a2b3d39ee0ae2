// Following the chosen file: while "Follow file" is checked, every rewrite of the file that has
// settled starts a run as a click would, except that it never holds the window up, keeps the
// user's zoom and does not report the same bad bar count at every rewrite.

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

#include "base/Errors.h"
#include "chart/TChart.h"
#include "ui/LocaleText.h"
#include "ui/Unit1.h"

namespace quillon {

namespace {

// Between the file's name and the time of the last followed run on the chart.
constexpr int FollowLabelGap = 8;

} // namespace

void TForm1::FollowSourceFile() {
    // A time shown belongs to the file followed before.
    Label15->hide();
    follower_.Follow(CheckBox2->isChecked() ? sourceFilePath_ : QString());
}

void TForm1::FollowerSettled() {
    // The read neither waits for the file nor pauses after a failure: the follower tells when the
    // file next settles.
    const TRunSettings settings = RunSettings();
    bool complete = false;
    try {
        complete = MakeWavesRun(settings, run_, Chart1->Model(), TZoomOnRefill::Keep);
    } catch (const IntegerConversionError&) {
        if (reportedBarCountText_ == Edit3->text()) {
            return;
        }
        reportedBarCountText_ = Edit3->text();
        throw;
    }
    // A writer may let go of the file without changing it again.
    if (run_.ReadFailure() == TReadFailure::HeldOrBeingWritten) {
        follower_.RetryLater();
    }
    if (!complete) {
        return;
    }
    reportedBarCountText_.reset();
    RunCompleted();
    Label15->setText(QStringLiteral("followed ") +
                     LongTimeText(QLocale(), QDateTime::currentDateTime().time()));
    Label15->adjustSize();
    Label15->move(Label1->geometry().right() + 1 + FollowLabelGap, Label1->y());
    Label15->show();
}

} // namespace quillon
