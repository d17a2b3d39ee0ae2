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
    TRunSettings fileSettings = settings;
    fileSettings.sourceFilePath = path;
    // No pause and no settle wait: the folder watcher tells when a file has settled.
    fileSettings.read = TReadSettings{settings.read.decimalSeparator};
    const auto run = std::make_unique<TRun>();
    // The pool already works the files side by side, one a thread.
    run->SetWaveThreads(1);
    TRunOutcome outcome;
    try {
        outcome = RunFromTexts(fileSettings, *run);
    } catch (const IntegerConversionError& error) {
        outcome.failure = BarCountFailureText(error);
    } catch (const std::exception& error) {
        // Off the window's thread nothing may escape: it would end the program.
        outcome.failure = error.what();
    }
    result.entry.row = WatchRowOf(path, *run, outcome);
    result.held = run->ReadFailure() == TReadFailure::HeldOrBeingWritten;
    if (outcome.Completed()) {
        result.entry.close = run->Bars().BarClose[run->BarCount() - 1];
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
