#include "live/LivePipeline.h"

#include <chrono>

#include <QDir>

#include "bars/ReadPolicy.h"

namespace quillon {

namespace {

bool SameRuns(const TRunSettings& a, const TRunSettings& b) {
    return a.barCountText == b.barCountText && a.lag1Text == b.lag1Text &&
           a.lag2Text == b.lag2Text && a.read.decimalSeparator == b.read.decimalSeparator;
}

} // namespace

TLivePipeline::TLivePipeline(TRunWork work, QObject* parent)
    : QObject(parent)
    , pool_(std::move(work)) {
    connect(&watcher_, &TBarFileWatcher::Settled, &pool_, &TRunPool::Request);
    connect(&watcher_, &TBarFileWatcher::Removed, this, &TLivePipeline::FileRemoved);
    connect(&pool_, &TRunPool::Finished, this, &TLivePipeline::Finished);
    connect(&pool_, &TRunPool::CaughtUp, this, &TLivePipeline::CaughtUp);
    // Told from a pool thread: queued to this one.
    connect(&pool_, &TRunPool::Working, this, &TLivePipeline::Working, Qt::QueuedConnection);
}

void TLivePipeline::Watch(const QStringList& folders, const QStringList& files,
                          const TFileRun* adopted) {
    const QString path = adopted ? QDir::cleanPath(adopted->path) : QString();
    watcher_.Watch(folders, files, adopted ? QSet<QString>{path} : QSet<QString>());
    if (adopted && watcher_.Knows(path)) {
        TFileRun run = *adopted;
        run.path = path;
        // Handed over as the pool's runs are: after the caller is through, on the event loop.
        QMetaObject::invokeMethod(
            this,
            [this, run = std::move(run)] {
                Finished(run);
                // Nothing else to run: a batch of files is through, as the pool would say.
                if (pool_.Idle() && !watcher_.AnyDue()) {
                    emit CaughtUp();
                }
            },
            Qt::QueuedConnection);
    }
}

void TLivePipeline::UseSettings(const TRunSettings& settings) {
    if (SameRuns(settings, pool_.Settings())) {
        return;
    }
    pool_.UseSettings(settings);
    // Through the watcher, so that a file being rewritten is run once it is quiet.
    for (const QString& path : watcher_.Files()) {
        watcher_.SettleLater(path, std::chrono::milliseconds(0));
    }
}

void TLivePipeline::RunAgain(const QString& path) {
    // Asked for, it is no retry that a run coming through makes needless.
    heldRetries_.remove(path);
    watcher_.SettleLater(path, std::chrono::milliseconds(0));
}

const TRunSettings& TLivePipeline::Settings() const {
    return pool_.Settings();
}

void TLivePipeline::Finished(const TFileRun& run) {
    // A file gone, or no longer watched, is told of no more.
    if (!watcher_.Knows(run.path)) {
        return;
    }
    if (run.held) {
        watcher_.SettleLater(run.path, HeldFileRetry);
        heldRetries_.insert(run.path);
    } else if (heldRetries_.remove(run.path)) {
        // A run that came through after the held one read the file since: the retry would read it
        // once more for nothing.
        watcher_.CancelLater(run.path);
    }
    emit RunFinished(run);
}

} // namespace quillon
