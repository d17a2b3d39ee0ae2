#include "ui/watch/WatchList.h"

#include <chrono>

#include <QFile>
#include <QFileInfo>

#include "bars/BarFiles.h"
#include "live/FilePath.h"

namespace quillon {

namespace {

// Results go into the table together, at most this often: the view repaints and sorts after each
// change, a full table in about 10 ms, which after each of 250 runs in a row would keep the
// window's thread busy from the first to the last.
constexpr std::chrono::milliseconds ShowInterval{50};

} // namespace

TWatchList::TWatchList(QObject* parent)
    : QObject(parent) {
    show_.setSingleShot(true);
    show_.setInterval(ShowInterval);
    connect(&show_, &QTimer::timeout, this, &TWatchList::ShowFinished);
}

void TWatchList::ListFolder(const QString& folder) {
    if (folder == folder_) {
        return;
    }
    folder_ = folder;
    model_.Clear();
    finished_.clear();
    runAgain_.clear();
    listedWhileShown_ = false;
    filled_ = false;
    if (!listed_.isEmpty()) {
        listed_.clear();
        if (showsTrack_) {
            emit TrackRecordFilesChanged({});
        }
    }
}

void TWatchList::ShowTrackRecords(bool shown) {
    if (shown == showsTrack_) {
        return;
    }
    showsTrack_ = shown;
    runAgain_.clear();
    listedWhileShown_ = false;
    if (!shown) {
        model_.DropTrackRecords();
    }
    emit TrackRecordFilesChanged(shown ? QStringList(listed_.begin(), listed_.end())
                                       : QStringList());
}

QSet<QString> TWatchList::TrackRecordFiles() const {
    return showsTrack_ ? listed_ : QSet<QString>();
}

bool TWatchList::Lists(const QString& path) const {
    const QFileInfo file(path);
    return file.absolutePath() == folder_ && IsBarFileName(PathBytes(file.fileName()));
}

void TWatchList::RunFinished(const TFileRun& fileRun) {
    // The chosen file is run whatever its name; a file of a folder no longer listed keeps no row.
    if (!Lists(fileRun.path)) {
        return;
    }
    TWatchEntry entry;
    entry.row = WatchRowOf(PathBytes(fileRun.path), *fileRun.run, fileRun.outcome);
    if (fileRun.outcome.Completed()) {
        const TRun& run = *fileRun.run;
        entry.close = run.Bars().BarClose[run.BarCount() - 1];
        if (showsTrack_ && fileRun.trackRecords) {
            entry.row.track = SummariesOf(*fileRun.trackRecords);
        }
    }
    if (!listed_.contains(fileRun.path)) {
        listed_.insert(fileRun.path);
        listedWhileShown_ = listedWhileShown_ || showsTrack_;
        // Its records were not asked for; a failed run is run again once the file has changed.
        if (showsTrack_ && fileRun.outcome.Completed() && !fileRun.trackRecords) {
            runAgain_ << fileRun.path;
        }
    }
    finished_.push_back(std::move(entry));
    if (!show_.isActive()) {
        show_.start();
    }
}

void TWatchList::FileRemoved(const QString& path) {
    const std::string file = PathBytes(path);
    std::erase_if(finished_, [&file](const TWatchEntry& entry) { return entry.row.path == file; });
    model_.Remove(file);
    runAgain_.removeAll(path);
    if (listed_.remove(path) && showsTrack_) {
        emit TrackRecordFilesChanged({});
    }
}

void TWatchList::CaughtUp() {
    if (show_.isActive()) {
        show_.stop();
        ShowFinished();
    }
    if (!filled_ && model_.rowCount() > 0) {
        filled_ = true;
        emit FirstFilled();
    }
}

void TWatchList::ShowFinished() {
    model_.Put(std::move(finished_));
    finished_.clear();
    if (listedWhileShown_) {
        listedWhileShown_ = false;
        QStringList runAgain;
        runAgain.swap(runAgain_);
        emit TrackRecordFilesChanged(runAgain);
    }
}

} // namespace quillon
