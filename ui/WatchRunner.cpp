#include "ui/WatchRunner.h"

#include <exception>
#include <memory>

#include <QFile>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include "base/Errors.h"

namespace quillon {

namespace {

// The engine keeps its arrays on the stack, about 2 MB at its deepest call: the main thread's
// room, which a pool thread need not have by default.
constexpr uint PoolThreadStackSize = 8u << 20;

} // namespace

TWatchResult WatchRun(const std::string& path, const TRunSettings& settings) {
    TWatchResult result;
    TWatchRow& row = result.entry.row;
    try {
        const TRunNumbers numbers{TextToInteger(settings.barCountText),
                                  TextToInteger(settings.lag1Text),
                                  TextToInteger(settings.lag2Text)};
        // No pause and no settle wait: the folder watcher tells when a file has settled.
        const TReadSettings read{settings.read.decimalSeparator};
        const auto run = std::make_unique<TRun>();
        // The pool already works the files side by side, one a thread.
        run->SetWaveThreads(1);
        row = WatchRowOf(path, numbers, read, *run);
        result.held = run->ReadFailure() == TReadFailure::HeldOrBeingWritten;
        if (row.failure.empty()) {
            result.entry.close = run->Bars().BarClose[run->BarCount() - 1];
        }
    } catch (const QuillonError& error) {
        row.failure = error.Message();
    } catch (const std::exception& error) {
        row.failure = error.what();
    }
    if (row.path.empty()) {
        row.path = path;
        row.symbolPeriod = SymbolPeriodOf(path);
    }
    return result;
}

TWatchRunner::TWatchRunner(QObject* parent)
    : QObject(parent) {
    pool_.setStackSize(PoolThreadStackSize);
}

TWatchRunner::~TWatchRunner() {
    pool_.clear();
    pool_.waitForDone();
}

void TWatchRunner::UseSettings(const TRunSettings& settings) {
    settings_ = settings;
    ++generation_;
}

void TWatchRunner::Request(const QString& path) {
    const auto running = running_.find(path);
    if (running != running_.end()) {
        running.value() = true;
        return;
    }
    Start(path);
}

void TWatchRunner::Start(const QString& path) {
    running_.insert(path, false);
    auto* watcher = new QFutureWatcher<TWatchResult>(this);
    const std::uint64_t generation = generation_;
    connect(watcher, &QFutureWatcher<TWatchResult>::finished, this,
            [this, watcher, path, generation] {
                watcher->deleteLater();
                const TWatchResult result = watcher->result();
                if (running_.take(path)) {
                    Start(path);
                }
                if (generation == generation_) {
                    emit Finished(result);
                }
            });
    watcher->setFuture(
        QtConcurrent::run(&pool_, WatchRun, QFile::encodeName(path).toStdString(), settings_));
}

} // namespace quillon
