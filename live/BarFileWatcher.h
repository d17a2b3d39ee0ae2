#pragma once

#include <chrono>
#include <map>

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "live/FileIdentity.h"

namespace quillon {

// Tells of each watched file that has been added, rewritten or removed, once it has been left
// alone for FileSettleTime, so that a read then finds it whole. The terminal's indicator deletes
// its file and writes it anew, and a file that is gone for a moment is no file removed. Watched
// are the bar files of some folders (BarFilesIn), those that come later included, and some files
// named by themselves, whatever their names; each folder is watched for files that come, go or
// are renamed over, each file for its rewrites.
class TBarFileWatcher : public QObject {
    Q_OBJECT

public:
    explicit TBarFileWatcher(QObject* parent = nullptr);

    // Watches these in place of what it watched before, and tells at once of each file there; a
    // folder that is not there is not watched, a file that is not there is waited for. Paths are
    // told as QDir::cleanPath gives them, a folder's files as the folder's path, '/', the name.
    // The files in toldAlready are watched without being told of now: their state is known.
    void Watch(const QStringList& folders, const QStringList& files,
               const QSet<QString>& toldAlready = {});
    // The files known, sorted: there, or gone until their going has settled.
    QStringList Files() const;
    bool Knows(const QString& path) const { return known_.contains(path); }
    // Whether a file is due to be told of.
    bool AnyDue() const { return !due_.empty(); }
    // Tells of a known file again after delay, unless it is due already: a file due is being
    // rewritten, and will be told of once it is quiet.
    void SettleLater(const QString& path, std::chrono::milliseconds delay);
    // Drops the telling that SettleLater asked for, unless the file has changed since, or it has
    // been told.
    void CancelLater(const QString& path);

signals:
    // The file is there, and quiet.
    void Settled(const QString& path);
    // The file has been gone for FileSettleTime; it is known no more (a file named by itself
    // stays watched, and is told of again when it comes back).
    void Removed(const QString& path);

private:
    using TClock = std::chrono::steady_clock;

    void FileChanged(const QString& path);
    void Rescan();
    // The files there now, each with its identity: the folders' bar files and the named files.
    QHash<QString, TFileIdentity> Present() const;
    void Track(const QString& path, const TFileIdentity& identity);
    // Due FileSettleTime from now, whenever it was due before: it has just changed.
    void Restart(const QString& path);
    void StartTimer();
    void TellDue();

    QStringList folders_;
    QStringList named_;
    QHash<QString, TFileIdentity> known_;
    std::map<QString, TClock::time_point> due_;
    // The files due by SettleLater alone.
    QSet<QString> later_;
    QFileSystemWatcher watcher_;
    QTimer dueTimer_;
    // The folders' notices come in bursts; one listing answers a burst.
    QTimer rescan_;
};

} // namespace quillon
