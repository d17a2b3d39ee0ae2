#include "live/BarFileWatcher.h"

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
#include "live/FilePath.h"

namespace quillon {

namespace {

// The folder's bar files by the one rule that quillon-scan lists a folder by too; none when the
// folder cannot be listed.
QStringList BarFilesIn(const QString& folder) {
    QStringList paths;
    std::error_code error;
    for (const std::string& name : BarFileNames(PathBytes(folder), error)) {
        paths << QDir::cleanPath(folder + u'/' + PathText(name));
    }
    return paths;
}

} // namespace

TBarFileWatcher::TBarFileWatcher(QObject* parent)
    : QObject(parent) {
    // A coarse timer may end a little early, when the reader would still take the file for one
    // being written.
    dueTimer_.setTimerType(Qt::PreciseTimer);
    dueTimer_.setSingleShot(true);
    rescan_.setSingleShot(true);
    rescan_.setInterval(0);
    connect(&dueTimer_, &QTimer::timeout, this, &TBarFileWatcher::TellDue);
    connect(&rescan_, &QTimer::timeout, this, &TBarFileWatcher::Rescan);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &TBarFileWatcher::FileChanged);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &rescan_,
            qOverload<>(&QTimer::start));
}

void TBarFileWatcher::Watch(const QStringList& folders, const QStringList& files,
                            const QSet<QString>& toldAlready) {
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty()) {
        watcher_.removePaths(watched);
    }
    folders_.clear();
    named_.clear();
    known_.clear();
    due_.clear();
    dueTimer_.stop();
    rescan_.stop();
    for (const QString& folder : folders) {
        const QString path = QDir::cleanPath(folder);
        if (QFileInfo(path).isDir() && !folders_.contains(path)) {
            folders_ << path;
        }
    }
    // A named file's folder tells when the file comes, goes or is renamed over.
    QStringList directories = folders_;
    for (const QString& file : files) {
        const QString path = QDir::cleanPath(file);
        if (path.isEmpty() || named_.contains(path)) {
            continue;
        }
        named_ << path;
        const QString folder = QFileInfo(path).path();
        if (!directories.contains(folder) && QFileInfo(folder).isDir()) {
            directories << folder;
        }
    }
    if (!directories.isEmpty()) {
        watcher_.addPaths(directories);
    }
    const QHash<QString, TFileIdentity> present = Present();
    for (auto file = present.begin(); file != present.end(); ++file) {
        Track(file.key(), file.value());
        if (!toldAlready.contains(file.key())) {
            due_[file.key()] = TClock::now();
        }
        later_.remove(file.key());
    }
    StartTimer();
}

QStringList TBarFileWatcher::Files() const {
    QStringList files = known_.keys();
    files.sort();
    return files;
}

QHash<QString, TFileIdentity> TBarFileWatcher::Present() const {
    QHash<QString, TFileIdentity> present;
    const auto add = [&present](const QString& path) {
        // Gone between the listing and now: it is told of when it comes back.
        if (const TFileIdentity identity = FileIdentityOf(path)) {
            present.insert(path, identity);
        }
    };
    for (const QString& folder : folders_) {
        for (const QString& path : BarFilesIn(folder)) {
            add(path);
        }
    }
    for (const QString& path : named_) {
        add(path);
    }
    return present;
}

void TBarFileWatcher::Track(const QString& path, const TFileIdentity& identity) {
    known_[path] = identity;
    if (identity) {
        watcher_.addPath(path);
    }
}

void TBarFileWatcher::SettleLater(const QString& path, std::chrono::milliseconds delay) {
    if (!known_.contains(path) || due_.count(path) != 0) {
        return;
    }
    due_[path] = TClock::now() + delay;
    later_.insert(path);
    StartTimer();
}

void TBarFileWatcher::CancelLater(const QString& path) {
    if (later_.remove(path)) {
        due_.erase(path);
    }
}

void TBarFileWatcher::Restart(const QString& path) {
    due_[path] = TClock::now() + FileSettleTime;
    later_.remove(path);
    StartTimer();
}

void TBarFileWatcher::FileChanged(const QString& path) {
    if (!known_.contains(path)) {
        return;
    }
    // A file deleted or renamed over is dropped by the watcher, or still watched under its old
    // identity: either way the file now at the path is the one to watch.
    const TFileIdentity identity = FileIdentityOf(path);
    if (identity != known_.value(path) || !watcher_.files().contains(path)) {
        watcher_.removePath(path);
        Track(path, identity);
    }
    Restart(path);
}

void TBarFileWatcher::Rescan() {
    const QHash<QString, TFileIdentity> present = Present();
    const QStringList watchedList = watcher_.files();
    const QSet<QString> watched(watchedList.begin(), watchedList.end());
    for (auto file = present.begin(); file != present.end(); ++file) {
        const auto seen = known_.constFind(file.key());
        if (seen == known_.constEnd() || *seen != file.value() || !watched.contains(file.key())) {
            watcher_.removePath(file.key());
            Track(file.key(), file.value());
            Restart(file.key());
        }
    }
    for (auto file = known_.begin(); file != known_.end(); ++file) {
        if (file.value() && !present.contains(file.key())) {
            file.value().reset();
            Restart(file.key());
        }
    }
}

void TBarFileWatcher::StartTimer() {
    if (due_.empty()) {
        dueTimer_.stop();
        return;
    }
    const auto soonest = std::min_element(
        due_.begin(), due_.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(soonest->second - TClock::now());
    dueTimer_.start(std::max(wait, std::chrono::milliseconds(0)));
}

void TBarFileWatcher::TellDue() {
    const TClock::time_point now = TClock::now();
    std::vector<QString> due;
    for (auto file = due_.begin(); file != due_.end();) {
        if (file->second <= now) {
            due.push_back(file->first);
            later_.remove(file->first);
            file = due_.erase(file);
        } else {
            ++file;
        }
    }
    StartTimer();
    // Whoever is told may ask for a file to be told of again, or watch other files.
    for (const QString& path : due) {
        if (!known_.contains(path)) {
            continue;
        }
        if (FileIdentityOf(path)) {
            emit Settled(path);
        } else {
            known_.remove(path);
            emit Removed(path);
        }
    }
}

} // namespace quillon
