#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include "live/FileIdentity.h"

namespace quillon {

// Tells when a followed file has been rewritten and left alone for FileSettleTime, so that a
// read then finds it whole. The folder is watched as well as the file: a file deleted and created
// anew, or renamed over, is another file, which the watch on the old one never sees; one that is
// gone is waited for.
class TFileFollower : public QObject {
    Q_OBJECT

public:
    explicit TFileFollower(QObject* parent = nullptr);

    // Follows the file at path in place of any other; an empty path follows nothing.
    void Follow(const QString& path);
    const QString& Path() const { return path_; }
    // Settled once more a second from now, unless the file changes before: for a read that found
    // the file held, whose writer may let go of it without changing it again.
    void RetryLater();

signals:
    void Settled();

private:
    void FileChanged();
    void FolderChanged();
    void WatchFile();

    QString path_;
    TFileIdentity watched_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    QTimer retry_;
};

} // namespace quillon
