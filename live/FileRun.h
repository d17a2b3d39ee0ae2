#pragma once

#include <memory>

#include <QString>

#include "bars/MarksAtClose.h"
#include "bars/Run.h"
#include "bars/RunFromTexts.h"
#include "bars/TrackRecord.h"

namespace quillon {

// One finished run of a watched file, handed over whole: its storage is its own and never changes
// after the hand-over, so that every subscriber may keep it and read it on its own thread.
struct TFileRun {
    QString path;
    // Of use when the outcome is complete, its read failure aside; never null: a run that could
    // not even get its storage hands over an empty one.
    std::shared_ptr<const TRun> run;
    TRunOutcome outcome;
    // The read found the file held or being written: its writer may let go without changing it.
    bool held = false;
    // The marks at close of the run's bars, for a complete run of a file whose marks at close
    // were asked for; none otherwise.
    std::shared_ptr<const TMarksAtClose> marksAtClose;
    // The track records of a complete run of a file whose records were asked for (the whole
    // file's among them where that was asked for); none otherwise.
    std::shared_ptr<const TTrackRecords> trackRecords;
};

} // namespace quillon
