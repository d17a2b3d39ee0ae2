#include "ui/watch/WatchList.h"

#include <chrono>

#include <QFile>
#include <QFileInfo>

#include "bars/BarFiles.h"

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
}

bool TWatchList::Lists(const QString& path) const {
    const QFileInfo file(path);
    return file.absolutePath() == folder_ &&
           IsBarFileName(QFile::encodeName(file.fileName()).toStdString());
}

void TWatchList::RunFinished(const TFileRun& fileRun) {
    // The chosen file is run whatever its name; a file of a folder no longer listed keeps no row.
    if (!Lists(fileRun.path)) {
        return;
    }
    TWatchEntry entry;
    entry.row =
        WatchRowOf(QFile::encodeName(fileRun.path).toStdString(), *fileRun.run, fileRun.outcome);
    if (fileRun.outcome.Completed()) {
        const TRun& run = *fileRun.run;
        entry.close = run.Bars().BarClose[run.BarCount() - 1];
    }
    finished_.push_back(std::move(entry));
    if (!show_.isActive()) {
        show_.start();
    }
}

void TWatchList::FileRemoved(const QString& path) {
    const std::string file = QFile::encodeName(path).toStdString();
    std::erase_if(finished_, [&file](const TWatchEntry& entry) { return entry.row.path == file; });
    model_.Remove(file);
}

void TWatchList::CaughtUp() {
    if (show_.isActive()) {
        show_.stop();
        ShowFinished();
    }
}

void TWatchList::ShowFinished() {
    model_.Put(std::move(finished_));
    finished_.clear();
}

} // namespace quillon
