#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include "live/BarFileWatcher.h"
#include "live/RunPool.h"

namespace quillon {

// One watcher and one pool: every watched file is run once each time it has settled after being
// added or rewritten, off the window's thread, and each finished run goes to every subscriber,
// which may keep it. A file found held is run again HeldFileRetry later. The window's chart, its
// watch list and its notifier subscribe, and so does quillon-scan --follow.
class TLivePipeline : public QObject {
    Q_OBJECT

public:
    explicit TLivePipeline(TRunWork work = RunWatchedFile, QObject* parent = nullptr);

    // See TBarFileWatcher::Watch. A run of one of the files made just before, with the pipeline's
    // settings (the window's click at a choice), may be adopted as that file's run: it goes to the
    // subscribers in its place, so that the file is read and run once.
    void Watch(const QStringList& folders, const QStringList& files,
               const TFileRun* adopted = nullptr);
    // The settings of every run from now on: when they are not those of before, every known file
    // is run again with them.
    void UseSettings(const TRunSettings& settings);
    const TRunSettings& Settings() const;
    // See TRunPool::WorkOutMarksAtClose.
    void WorkOutMarksAtClose(const QSet<QString>& paths) { pool_.WorkOutMarksAtClose(paths); }
    // See TRunPool::WorkOutTrackRecords.
    void WorkOutTrackRecords(const QSet<QString>& loadedBars, const QSet<QString>& wholeFile) {
        pool_.WorkOutTrackRecords(loadedBars, wholeFile);
    }
    // Runs a known file again once it is quiet, as if it had been rewritten.
    void RunAgain(const QString& path);

signals:
    void RunFinished(const TFileRun& run);
    void FileRemoved(const QString& path);
    // See TRunPool::CaughtUp.
    void CaughtUp();
    // See TRunPool::Working.
    void Working(const QString& path, int done, int total);

private:
    void Finished(const TFileRun& run);

    TBarFileWatcher watcher_;
    // The files whose held run's retry is due.
    QSet<QString> heldRetries_;
    TRunPool pool_;
};

} // namespace quillon
