#include "ui/FolderWatcher.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "bars/BarFiles.h"
#include "bars/FileWriterSigns.h"

namespace quillon {

namespace {

// The folder's bar files by the rule quillon-scan lists a folder by; none when the folder cannot
// be listed.
QStringList BarFilesIn(const QString& folder) {
    QStringList paths;
    const QDir dir(folder);
    std::error_code error;
    for (const std::string& name : BarFileNames(QFile::encodeName(folder).toStdString(), error)) {
        paths << dir.filePath(QFile::decodeName(QByteArray::fromStdString(name)));
    }
    return paths;
}

} // namespace

TFolderWatcher::TFolderWatcher(QObject* parent)
    : QObject(parent) {
    // A coarse timer may end a little early, when the reader would still take the file for one
    // being written.
    dueTimer_.setTimerType(Qt::PreciseTimer);
    dueTimer_.setSingleShot(true);
    rescan_.setSingleShot(true);
    rescan_.setInterval(0);
    connect(&dueTimer_, &QTimer::timeout, this, &TFolderWatcher::TellDue);
    connect(&rescan_, &QTimer::timeout, this, &TFolderWatcher::Rescan);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &TFolderWatcher::FileChanged);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &rescan_,
            qOverload<>(&QTimer::start));
}

void TFolderWatcher::Watch(const QString& folder) {
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty()) {
        watcher_.removePaths(watched);
    }
    known_.clear();
    due_.clear();
    dueTimer_.stop();
    rescan_.stop();
    folder_ = folder;
    if (!QFileInfo(folder_).isDir()) {
        return;
    }
    watcher_.addPath(folder_);
    for (const QString& path : BarFilesIn(folder_)) {
        Watch(path, FileIdentityOf(path));
        due_[path] = TClock::now();
    }
    StartTimer();
}

void TFolderWatcher::Watch(const QString& path, const TFileIdentity& identity) {
    known_[path] = identity;
    if (identity) {
        watcher_.addPath(path);
    }
}

void TFolderWatcher::SettleLater(const QString& path, std::chrono::milliseconds delay) {
    if (!known_.contains(path) || due_.count(path) != 0) {
        return;
    }
    due_[path] = TClock::now() + delay;
    StartTimer();
}

void TFolderWatcher::Restart(const QString& path) {
    due_[path] = TClock::now() + FileSettleTime;
    StartTimer();
}

void TFolderWatcher::FileChanged(const QString& path) {
    if (!known_.contains(path)) {
        return;
    }
    // A file deleted or renamed over is dropped by the watcher, or still watched under its old
    // identity: either way the file now at the path is the one to watch.
    const TFileIdentity identity = FileIdentityOf(path);
    if (identity != known_.value(path) || !watcher_.files().contains(path)) {
        watcher_.removePath(path);
        Watch(path, identity);
    }
    Restart(path);
}

void TFolderWatcher::Rescan() {
    const QStringList present = BarFilesIn(folder_);
    const QStringList watchedList = watcher_.files();
    const QSet<QString> watched(watchedList.begin(), watchedList.end());
    for (const QString& path : present) {
        const TFileIdentity identity = FileIdentityOf(path);
        const auto seen = known_.constFind(path);
        if (seen == known_.constEnd() || *seen != identity || !watched.contains(path)) {
            watcher_.removePath(path);
            Watch(path, identity);
            Restart(path);
        }
    }
    const QSet<QString> stillThere(present.begin(), present.end());
    for (auto file = known_.begin(); file != known_.end(); ++file) {
        if (file.value() && !stillThere.contains(file.key())) {
            file.value().reset();
            Restart(file.key());
        }
    }
}

void TFolderWatcher::StartTimer() {
    if (due_.empty()) {
        dueTimer_.stop();
        return;
    }
    const auto soonest = std::min_element(
        due_.begin(), due_.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(soonest->second - TClock::now());
    dueTimer_.start(std::max(wait, std::chrono::milliseconds(0)));
}

void TFolderWatcher::TellDue() {
    const TClock::time_point now = TClock::now();
    std::vector<QString> due;
    for (auto file = due_.begin(); file != due_.end();) {
        if (file->second <= now) {
            due.push_back(file->first);
            file = due_.erase(file);
        } else {
            ++file;
        }
    }
    StartTimer();
    // Whoever is told may ask for a file to be told of again.
    for (const QString& path : due) {
        if (FileIdentityOf(path)) {
            emit Settled(path);
        } else if (known_.remove(path) != 0) {
            emit Removed(path);
        }
    }
}

} // namespace quillon
