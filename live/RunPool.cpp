#include "live/RunPool.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <mutex>
#include <utility>
#include <vector>

#include <QElapsedTimer>
#include <QFile>
#include <QRunnable>

#include "bars/ReadPolicy.h"
#include "base/ErrorText.h"
#include "base/Errors.h"
#include "live/FilePath.h"

namespace quillon {

namespace {

// The engine keeps its arrays on the stack, about 2 MB at its deepest call: the main thread's
// room, which a pool thread need not have by default.
constexpr uint PoolThreadStackSize = 8u << 20;

// How often the share done of a file's marks at close is told: often enough to see it move, seldom
// enough to cost the window nothing.
constexpr std::chrono::milliseconds ProgressInterval{100};

// Whatever the work raises is its run's failure: let out of a pool thread it would end the
// program, and its file would never be run again.
TFileRun Guarded(const TRunWork& work, const QString& path, const TRunSettings& settings) {
    try {
        return work(path, settings);
    } catch (const std::exception& error) {
        TFileRun failed;
        failed.outcome.failure = FailureText(error);
        return failed;
    }
}

} // namespace

// Shared by the pool and each of its runs, so that a run left behind by a pool that is gone
// still has somewhere to put its result, and learns that nobody takes it.
struct TRunPool::THandOver {
    struct TJob {
        QString path;
        TRunSettings settings;
        std::uint64_t generation = 0;
        // The file's keeper of its marks at close, when they are asked for.
        std::shared_ptr<TMarksAtCloseCache> marksAtClose;
        TRecordsAsked records = TRecordsAsked::None;
    };
    struct TFinished {
        TFileRun run;
        std::uint64_t generation = 0;
    };

    explicit THandOver(TRunWork runWork)
        : work(std::move(runWork)) {}

    const TRunWork work;
    std::mutex mutex;
    // None once the pool is gone.
    TRunPool* pool = nullptr;
    // One for each start of the runner, oldest first.
    std::deque<TJob> jobs;
    std::vector<TFinished> finished;
};

// Tells the pool, from the threads that work out a file's marks at close, how far they are: at
// most every ProgressInterval, and once when all are done.
class TRunPool::TProgressTeller {
public:
    TProgressTeller(std::shared_ptr<TRunPool::THandOver> handOver, QString path)
        : handOver_(std::move(handOver))
        , path_(std::move(path)) {}

    void Tell(std::size_t done, std::size_t total) {
        const std::lock_guard lock(mutex_);
        total_ = total;
        done_ = std::max(done_, done);
        if (!told_.isValid() || told_.elapsed() >= ProgressInterval.count()) {
            told_.start();
            Emit(done_, total_);
        }
    }
    void Done() {
        const std::lock_guard lock(mutex_);
        if (told_.isValid()) {
            Emit(total_, total_);
        }
    }

private:
    void Emit(std::size_t done, std::size_t total) {
        const std::lock_guard lock(handOver_->mutex);
        if (handOver_->pool != nullptr) {
            emit handOver_->pool->Working(path_, static_cast<int>(done), static_cast<int>(total));
        }
    }

    const std::shared_ptr<TRunPool::THandOver> handOver_;
    const QString path_;
    std::mutex mutex_;
    QElapsedTimer told_;
    std::size_t done_ = 0;
    std::size_t total_ = 0;
};

// Each start of it runs the oldest job. It is made once, before the pool has any thread, and
// what a run is given goes through the hand-over's mutex: Qt's pool orders its queue by means
// that ThreadSanitizer does not see, since Qt is not built for it. A child of the pool's, so that
// it lives exactly as long as the pool, which may be left behind.
class TRunPool::TRunner : public QObject, public QRunnable {
public:
    TRunner(std::shared_ptr<THandOver> handOver, QThreadPool* pool)
        : QObject(pool)
        , handOver_(std::move(handOver))
        , pool_(*pool) {
        setAutoDelete(false);
    }

    void run() override {
        THandOver& handOver = *handOver_;
        THandOver::TJob job;
        {
            const std::lock_guard lock(handOver.mutex);
            if (handOver.jobs.empty()) {
                return;
            }
            job = std::move(handOver.jobs.front());
            handOver.jobs.pop_front();
        }
        TFileRun run = Guarded(handOver.work, job.path, job.settings);
        run.path = job.path;
        if (job.marksAtClose && run.run && run.outcome.Completed()) {
            WorkOutMarks(job, run);
        }
        const std::lock_guard lock(handOver.mutex);
        if (handOver.pool == nullptr) {
            return;
        }
        handOver.finished.push_back({std::move(run), job.generation});
        // The pool cannot go while the lock is held; one call takes whatever is there by then.
        if (handOver.finished.size() == 1) {
            emit handOver.pool->Handed(TRunPool::QPrivateSignal());
        }
    }

private:
    void WorkOutMarks(const THandOver::TJob& job, TFileRun& run) {
        const bool wholeFile = job.records == TRecordsAsked::WholeFile;
        TProgressTeller teller(handOver_, job.path);
        try {
            // One budget of threads: a job's marks at close take its own thread and those that no
            // other job holds, so that two jobs on two processors start no more than two.
            const int idle = pool_.maxThreadCount() - pool_.activeThreadCount();
            const TMarksAtClose& marks = job.marksAtClose->Update(
                *run.run, static_cast<unsigned>(std::max(0, idle) + 1),
                wholeFile ? TMarksAtCloseCache::TScope::WholeFile
                          : TMarksAtCloseCache::TScope::LoadedBars,
                [&teller](std::size_t done, std::size_t total) { teller.Tell(done, total); });
            auto loaded = std::make_shared<TMarksAtClose>(
                wholeFile ? LoadedBarsPart(*run.run, marks) : marks);
            if (job.records != TRecordsAsked::None) {
                run.trackRecords = std::make_shared<TTrackRecords>(
                    TrackRecordsOf(*run.run, *loaded, wholeFile ? &marks : nullptr));
            }
            run.marksAtClose = std::move(loaded);
        } catch (const std::exception&) {
            // Out of memory, or records beyond a whole number of points: the run is shown
            // without them, and the keeper starts afresh.
            run.trackRecords.reset();
        }
        teller.Done();
    }

    const std::shared_ptr<THandOver> handOver_;
    // The pool this runner belongs to; QThreadPool's counts may be read from any thread.
    const QThreadPool& pool_;
};

TFileRun RunWatchedFile(const QString& path, const TRunSettings& settings) {
    TFileRun result;
    result.path = path;
    std::shared_ptr<TRun> run;
    try {
        run = std::make_shared<TRun>();
        result.run = run;
        // The pool already works the files side by side, one a thread.
        run->SetWaveThreads(1);
        TRunSettings fileSettings = settings;
        fileSettings.sourceFilePath = PathBytes(path);
        fileSettings.read = WatchedRead(settings.read.decimalSeparator);
        result.outcome = RunFromTexts(fileSettings, *run);
    } catch (const IntegerConversionError& error) {
        result.outcome.failure = BarCountFailureText(error);
    } catch (const std::exception& error) {
        // Nothing may leave a pool thread: it would end the program.
        result.outcome.failure = FailureText(error);
    }
    result.held = run && run->ReadFailure() == TReadFailure::HeldOrBeingWritten;
    return result;
}

TRunPool::TRunPool(TRunWork work, QObject* parent)
    : QObject(parent)
    , handOver_(std::make_shared<THandOver>(std::move(work)))
    , noRun_(std::make_shared<const TRun>())
    , pool_(std::make_unique<QThreadPool>())
    , runner_(new TRunner(handOver_, pool_.get())) {
    handOver_->pool = this;
    pool_->setStackSize(PoolThreadStackSize);
    connect(this, &TRunPool::Handed, this, &TRunPool::TakeFinished, Qt::QueuedConnection);
}

TRunPool::~TRunPool() {
    {
        const std::lock_guard lock(handOver_->mutex);
        handOver_->pool = nullptr;
    }
    pool_->clear();
    if (!pool_->waitForDone(static_cast<int>(CloseWait.count()))) {
        // A run hangs, and deleting the pool would wait for it just as long: the pool is left to
        // the runs under way and never freed, and with it the runner and the hand-over, which
        // hold all that the runs work with.
        pool_.release();
    }
}

void TRunPool::UseSettings(const TRunSettings& settings) {
    settings_ = settings;
    ++generation_;
}

const TRunSettings& TRunPool::Settings() const {
    return settings_;
}

void TRunPool::Request(const QString& path) {
    const auto running = running_.find(path);
    if (running != running_.end()) {
        running.value() = true;
        return;
    }
    Start(path);
}

void TRunPool::Start(const QString& path) {
    running_.insert(path, false);
    const TRecordsAsked records = wholeFileRecords_.contains(path)   ? TRecordsAsked::WholeFile
                                  : loadedBarRecords_.contains(path) ? TRecordsAsked::LoadedBars
                                                                     : TRecordsAsked::None;
    {
        const std::lock_guard lock(handOver_->mutex);
        handOver_->jobs.push_back({path, settings_, generation_, keepers_.value(path), records});
    }
    pool_->start(runner_);
}

void TRunPool::WorkOutMarksAtClose(const QSet<QString>& paths) {
    marksAtClose_ = paths;
    KeepMarksAtClose();
}

void TRunPool::WorkOutTrackRecords(const QSet<QString>& loadedBars,
                                   const QSet<QString>& wholeFile) {
    loadedBarRecords_ = loadedBars;
    wholeFileRecords_ = wholeFile;
    KeepMarksAtClose();
}

void TRunPool::KeepMarksAtClose() {
    const QSet<QString> wanted = marksAtClose_ | loadedBarRecords_ | wholeFileRecords_;
    for (auto kept = keepers_.begin(); kept != keepers_.end();) {
        kept = wanted.contains(kept.key()) ? std::next(kept) : keepers_.erase(kept);
    }
    for (const QString& path : wanted) {
        if (!keepers_.contains(path)) {
            keepers_.insert(path, std::make_shared<TMarksAtCloseCache>());
        }
    }
}

void TRunPool::TakeFinished() {
    std::vector<THandOver::TFinished> finished;
    {
        const std::lock_guard lock(handOver_->mutex);
        finished.swap(handOver_->finished);
    }
    for (THandOver::TFinished& each : finished) {
        if (running_.take(each.run.path)) {
            Start(each.run.path);
        }
        if (!each.run.run) {
            each.run.run = noRun_;
        }
        // A subscriber may take other settings, which drops the rest.
        if (each.generation == generation_) {
            emit Finished(each.run);
        }
    }
    if (running_.isEmpty() && !finished.empty()) {
        emit CaughtUp();
    }
}

} // namespace quillon
