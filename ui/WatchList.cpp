#include "ui/WatchList.h"

#include <chrono>

#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {

// As long as the window's click may wait for a held file, as in following.
constexpr std::chrono::milliseconds HeldRetryDelay{1000};

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
}

void TWatchList::WatchFolderOf(const QString& chosenPath) {
    const QString folder = QFileInfo(chosenPath).absolutePath();
    if (folder == watcher_.Folder()) {
        return;
    }
    model_.Clear();
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
    model_.Remove(QFile::encodeName(path).toStdString());
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
    model_.Put(result.entry);
}

} // namespace quillon
