#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>

#include "bars/MarksAtCloseCache.h"
#include "bars/RunFromTexts.h"
#include "live/FileRun.h"

namespace quillon {

// The work of one run off the window's thread: the file at path with settings' texts and decimal
// separator (its path and waits are not looked at). Called on several threads at once; never
// raises.
using TRunWork = std::function<TFileRun(const QString& path, const TRunSettings& settings)>;
// The program's run of a watched file: RunFromTexts with WatchedRead, in storage of its own, its
// waves on the one pool thread; a bar count that is no integer is the run's failure.
TFileRun RunWatchedFile(const QString& path, const TRunSettings& settings);

// How long closing a pool waits for the runs under way: closing the window must not wait for a
// run that hangs.
inline constexpr std::chrono::milliseconds CloseWait{1000};

// Runs files off the window's thread, at most one run of a file at a time: a file asked for
// during its run is run again after it. Finished runs come back on the thread that made the pool.
class TRunPool : public QObject {
    Q_OBJECT

public:
    explicit TRunPool(TRunWork work = RunWatchedFile, QObject* parent = nullptr);
    // Waits at most CloseWait for the runs under way (a read can hang on a stalled network
    // mount); those still going are left behind, and what they give is dropped.
    ~TRunPool() override;

    // Runs started from now on take these settings; runs started before give no result.
    void UseSettings(const TRunSettings& settings);
    const TRunSettings& Settings() const;
    void Request(const QString& path);
    // Whether no run is under way or asked for.
    bool Idle() const { return running_.isEmpty(); }
    // The files whose runs from now on also work out the marks at close of their bars, each file
    // keeping its marks from one run to the next so that a rewrite that adds a bar works out two
    // runs, not N. The marks of the other files are let go.
    void WorkOutMarksAtClose(const QSet<QString>& paths);
    // The files whose runs from now on also work out their track records, with the marks at close
    // they need (kept as above): over the loaded bars for `loadedBars`, and the whole file's as
    // well for `wholeFile`. The records of the other files are no longer worked out.
    void WorkOutTrackRecords(const QSet<QString>& loadedBars, const QSet<QString>& wholeFile);

signals:
    void Finished(const TFileRun& run);
    // After the finished runs handed over last, when no run is under way or asked for: a batch of
    // files is through, and what waits to show its results can show them now.
    void CaughtUp();
    // While a file's marks at close are worked out: how many of its runs are done, of how many;
    // a few times a second at most, and once more when all are done.
    void Working(const QString& path, int done, int total);
    // From a pool thread: finished runs wait to be taken on the pool's own thread.
    void Handed(QPrivateSignal);

private:
    // The jobs for the pool's threads and the runs they hand back, and whether there is still a
    // pool to hand them to.
    struct THandOver;
    class TProgressTeller;
    class TRunner;
    // Which track records a run works out beside its marks at close.
    enum class TRecordsAsked { None, LoadedBars, WholeFile };

    void Start(const QString& path);
    void TakeFinished();

    // Counts the settings taken, so that a result tells which it was worked out with.
    std::uint64_t generation_ = 0;
    // The files being run, each with whether it is asked for again.
    QHash<QString, bool> running_;
    // The keepers for the files that any of the sets below names, the others let go.
    void KeepMarksAtClose();

    // The files whose marks at close are asked for, and whose records, over the loaded bars or
    // the whole file.
    QSet<QString> marksAtClose_;
    QSet<QString> loadedBarRecords_;
    QSet<QString> wholeFileRecords_;
    // The marks at close kept for each of those files; one run of a file at a time uses its
    // keeper.
    QHash<QString, std::shared_ptr<TMarksAtCloseCache>> keepers_;
    TRunSettings settings_;
    std::shared_ptr<THandOver> handOver_;
    // Handed over in place of a run that could not get its storage, made while there was room.
    const std::shared_ptr<const TRun> noRun_;
    // Not a child: deleting it waits for every run, however long one hangs.
    std::unique_ptr<QThreadPool> pool_;
    // The pool's.
    TRunner* runner_;
};

} // namespace quillon
