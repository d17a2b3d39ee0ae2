#include "ui/WatchList.h"

#include <chrono>
#include <string>

#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {

// As long as the window's click may wait for a held file, as in following.
constexpr std::chrono::milliseconds HeldRetryDelay{1000};
// Results go into the table together, at most this often: the view repaints and sorts after each
// change, a full table in about 10 ms, which after each of 250 runs in a row would keep the
// window's thread busy from the first to the last.
constexpr std::chrono::milliseconds ShowInterval{50};

bool SameRuns(const TRunSettings& a, const TRunSettings& b) {
    return a.barCountText == b.barCountText && a.lag1Text == b.lag1Text &&
           a.lag2Text == b.lag2Text && a.read.decimalSeparator == b.read.decimalSeparator;
}

} // namespace

TWatchList::TWatchList(QObject* parent)
    : QObject(parent) {
    connect(&watcher_, &TFolderWatcher::Settled, this, &TWatchList::FileSettled);
    connect(&watcher_, &TFolderWatcher::Removed, this, &TWatchList::FileRemoved);
    connect(&runner_, &TWatchRunner::Finished, this, &TWatchList::RunFinished);
    show_.setSingleShot(true);
    show_.setInterval(ShowInterval);
    connect(&show_, &QTimer::timeout, this, &TWatchList::ShowFinished);
}

void TWatchList::WatchFolderOf(const QString& chosenPath) {
    const QString folder = QFileInfo(chosenPath).absolutePath();
    if (folder == watcher_.Folder()) {
        return;
    }
    model_.Clear();
    finished_.clear();
    watcher_.Watch(folder);
}

void TWatchList::UseSettings(const TRunSettings& settings) {
    if (SameRuns(settings, runner_.Settings())) {
        return;
    }
    runner_.UseSettings(settings);
    for (const QString& path : watcher_.Files()) {
        watcher_.SettleLater(path, std::chrono::milliseconds(0));
    }
}

void TWatchList::FileSettled(const QString& path) {
    runner_.Request(path);
}

void TWatchList::FileRemoved(const QString& path) {
    const std::string file = QFile::encodeName(path).toStdString();
    std::erase_if(finished_, [&file](const TWatchEntry& entry) { return entry.row.path == file; });
    model_.Remove(file);
}

void TWatchList::RunFinished(const TWatchResult& result) {
    // A file gone, or of a folder no longer watched, keeps no row.
    const QString path = QFile::decodeName(QByteArray::fromStdString(result.entry.row.path));
    if (!watcher_.Knows(path)) {
        return;
    }
    if (result.held) {
        watcher_.SettleLater(path, HeldRetryDelay);
    }
    finished_.push_back(result.entry);
    if (!show_.isActive()) {
        show_.start();
    }
}

void TWatchList::ShowFinished() {
    for (TWatchEntry& entry : finished_) {
        model_.Put(std::move(entry));
    }
    finished_.clear();
}

} // namespace quillon
