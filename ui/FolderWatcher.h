#pragma once

#include <chrono>
#include <map>

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "live/FileIdentity.h"

namespace quillon {

// Tells of each bar file of a folder (its *.csv files, the ending in any case) that has been
// added, rewritten or removed, once it has been left alone for FileSettleTime, so that a read then
// finds it whole: the terminal's indicator deletes its file and writes it anew, and a file that is
// gone for a moment is no file removed. The folder is watched for files that come, go or are
// renamed over, each file for its rewrites.
class TFolderWatcher : public QObject {
    Q_OBJECT

public:
    explicit TFolderWatcher(QObject* parent = nullptr);

    // Watches folder in place of any other, and tells at once of each bar file in it; a path that
    // is no folder, or none, watches nothing.
    void Watch(const QString& folder);
    const QString& Folder() const { return folder_; }
    // The bar files seen in the folder, those gone included until their going has settled.
    QStringList Files() const { return known_.keys(); }
    bool Knows(const QString& path) const { return known_.contains(path); }
    // Tells of the file again after delay, unless it is due sooner: for a file found held, whose
    // writer may let go of it without another change, and for every file when runs change.
    void SettleLater(const QString& path, std::chrono::milliseconds delay);

signals:
    // The file is there, and quiet.
    void Settled(const QString& path);
    // The file has been gone for FileSettleTime; it is known no more.
    void Removed(const QString& path);

private:
    using TClock = std::chrono::steady_clock;

    void FileChanged(const QString& path);
    void Rescan();
    void Watch(const QString& path, const TFileIdentity& identity);
    // Due FileSettleTime from now, whenever it was due before: it has just changed.
    void Restart(const QString& path);
    void StartTimer();
    void TellDue();

    QString folder_;
    QHash<QString, TFileIdentity> known_;
    std::map<QString, TClock::time_point> due_;
    QFileSystemWatcher watcher_;
    QTimer dueTimer_;
    // The folder's notices come in bursts; one listing answers a burst.
    QTimer rescan_;
};

} // namespace quillon
