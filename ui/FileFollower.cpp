#include "ui/FileFollower.h"

#include <chrono>

#include <QFileInfo>

#include "bars/FileWriterSigns.h"

namespace quillon {

namespace {

// As long as the window's click may wait for a held file.
constexpr std::chrono::milliseconds RetryDelay{1000};

} // namespace

TFileFollower::TFileFollower(QObject* parent)
    : QObject(parent) {
    // A coarse timer may end a little early, when the reader would still take the file for one
    // being written.
    settle_.setTimerType(Qt::PreciseTimer);
    settle_.setSingleShot(true);
    settle_.setInterval(FileSettleTime);
    retry_.setSingleShot(true);
    retry_.setInterval(RetryDelay);
    connect(&settle_, &QTimer::timeout, this, &TFileFollower::Settled);
    connect(&retry_, &QTimer::timeout, this, &TFileFollower::Settled);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &TFileFollower::FileChanged);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &TFileFollower::FolderChanged);
}

void TFileFollower::Follow(const QString& path) {
    settle_.stop();
    retry_.stop();
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty()) {
        watcher_.removePaths(watched);
    }
    path_ = path;
    watched_.reset();
    if (path_.isEmpty()) {
        return;
    }
    const QString folder = QFileInfo(path_).absolutePath();
    if (QFileInfo::exists(folder)) {
        watcher_.addPath(folder);
    }
    WatchFile();
}

void TFileFollower::RetryLater() {
    if (!path_.isEmpty()) {
        retry_.start();
    }
}

void TFileFollower::WatchFile() {
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    watched_ = FileIdentityOf(path_);
    if (watched_) {
        watcher_.addPath(path_);
    }
}

void TFileFollower::FileChanged() {
    // A file deleted or renamed over is dropped by the watcher, or still watched under its old
    // identity: either way the file now at the path is the one to watch.
    if (watcher_.files().isEmpty() || FileIdentityOf(path_) != watched_) {
        WatchFile();
    }
    retry_.stop();
    settle_.start();
}

void TFileFollower::FolderChanged() {
    // Other files of the folder come and go too; only a change of the followed one counts.
    if (FileIdentityOf(path_) == watched_) {
        return;
    }
    WatchFile();
    retry_.stop();
    settle_.start();
}

} // namespace quillon
