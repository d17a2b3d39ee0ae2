// The pipeline on a folder that a terminal keeps rewriting: each change of a file gives one run of
// it, however the file was written, and closing never waits for a run that hangs.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "bars/ReadPolicy.h"
#include "live/LivePipeline.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

// Counts the runs of each file, on whichever thread they are worked out: those that read the
// file, and those that found it held or still being written, which a slow machine can meet at any
// rewrite and which the pipeline retries.
struct TRunCounts {
    std::mutex mutex;
    QHash<QString, int> runs;
    QHash<QString, int> held;
};

class LivePipelineTest : public testing::Test {
protected:
    QString PathOf(const char* name) const { return folder_.filePath(QString::fromUtf8(name)); }
    std::string FileOf(const char* name) const {
        return QFile::encodeName(PathOf(name)).toStdString();
    }
    int Runs(const char* name) {
        const std::lock_guard lock(counts_->mutex);
        return counts_->runs.value(PathOf(name));
    }
    int Held(const char* name) {
        const std::lock_guard lock(counts_->mutex);
        return counts_->held.value(PathOf(name));
    }
    // Exactly `runs` runs of the file by now, and none more once everything has settled.
    bool RunsSettleAt(const char* name, int runs) {
        const bool reached = QTest::qWaitFor([&] { return Runs(name) >= runs; }, 5000);
        QTest::qWait(400);
        return reached && Runs(name) == runs;
    }

    QTemporaryDir folder_;
    std::shared_ptr<TRunCounts> counts_ = std::make_shared<TRunCounts>();
    TLivePipeline pipeline_{[counts = counts_](const QString& path, const TRunSettings& settings) {
        TFileRun run = RunWatchedFile(path, settings);
        const std::lock_guard lock(counts->mutex);
        ++(run.held ? counts->held : counts->runs)[path];
        return run;
    }};
};

TEST_F(LivePipelineTest, EachSettledChangeOfAFileIsRunOnce) {
    ASSERT_TRUE(folder_.isValid());
    WriteQuietFile(FileOf("EURUSD60.csv"), BarFileText(TBarFileSettings{.seed = 1}));
    WriteQuietFile(FileOf("GBPUSD15.csv"), BarFileText(TBarFileSettings{.seed = 2}));
    QSignalSpy finished(&pipeline_, &TLivePipeline::RunFinished);
    QSignalSpy removed(&pipeline_, &TLivePipeline::FileRemoved);
    // Caught up once both files are through, not between them.
    std::vector<qsizetype> caughtUpAfter;
    QObject::connect(&pipeline_, &TLivePipeline::CaughtUp,
                     [&] { caughtUpAfter.push_back(finished.size()); });
    pipeline_.Watch({folder_.path()}, {PathOf("EURUSD60.csv")});
    EXPECT_TRUE(RunsSettleAt("EURUSD60.csv", 1));
    EXPECT_TRUE(RunsSettleAt("GBPUSD15.csv", 1));
    ASSERT_EQ(finished.size(), 2);
    EXPECT_EQ(caughtUpAfter, std::vector<qsizetype>{2});
    EXPECT_TRUE(finished[0][0].value<TFileRun>().outcome.Completed());

    WriteTextFile(FileOf("EURUSD60.csv"), BarFileText(TBarFileSettings{.seed = 3}));
    EXPECT_TRUE(RunsSettleAt("EURUSD60.csv", 2));
    ASSERT_EQ(::unlink(FileOf("EURUSD60.csv").c_str()), 0);
    QTest::qWait(30);
    WriteTextFile(FileOf("EURUSD60.csv"), BarFileText(TBarFileSettings{.seed = 4}));
    EXPECT_TRUE(RunsSettleAt("EURUSD60.csv", 3));
    WriteTextFile(FileOf("GBPUSD15.tmp"), BarFileText(TBarFileSettings{.seed = 5}));
    ASSERT_EQ(std::rename(FileOf("GBPUSD15.tmp").c_str(), FileOf("GBPUSD15.csv").c_str()), 0);
    EXPECT_TRUE(RunsSettleAt("GBPUSD15.csv", 2));
    WriteTextFile(FileOf("AUDCAD5.csv"), BarFileText(TBarFileSettings{.seed = 6}));
    EXPECT_TRUE(RunsSettleAt("AUDCAD5.csv", 1));
    EXPECT_EQ(Runs("GBPUSD15.tmp"), 0);
    EXPECT_TRUE(removed.isEmpty());
    ASSERT_EQ(::unlink(FileOf("GBPUSD15.csv").c_str()), 0);
    ASSERT_TRUE(removed.wait(5000));
    EXPECT_EQ(removed[0][0].toString(), PathOf("GBPUSD15.csv"));
    EXPECT_EQ(Runs("GBPUSD15.csv"), 2);

    // Held past settling, then let go without a change: run again a retry's wait later.
    finished.clear();
    const int heldBefore = Held("EURUSD60.csv");
    const int holder = ::open(FileOf("EURUSD60.csv").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    WriteTextFile(FileOf("EURUSD60.csv"), BarFileText(TBarFileSettings{.seed = 7}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Held("EURUSD60.csv") > heldBefore; }, 5000));
    QElapsedTimer sinceHeldRun;
    sinceHeldRun.start();
    QTest::qWait(200);
    ::close(holder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Runs("EURUSD60.csv") == 4; }, 5000));
    EXPECT_GE(sinceHeldRun.elapsed(), HeldFileRetry.count() - 100);
    EXPECT_TRUE(RunsSettleAt("EURUSD60.csv", 4));
    EXPECT_TRUE(finished[0][0].value<TFileRun>().held);
    const TFileRun retried = finished.last()[0].value<TFileRun>();
    EXPECT_TRUE(retried.outcome.Completed()) << retried.outcome.failure;

    // Other settings run every known file again with them; the same settings run nothing.
    TRunSettings settings;
    settings.barCountText = "600";
    pipeline_.UseSettings(settings);
    EXPECT_TRUE(RunsSettleAt("AUDCAD5.csv", 2));
    pipeline_.UseSettings(settings);
    EXPECT_TRUE(RunsSettleAt("EURUSD60.csv", 5));
    EXPECT_EQ(finished.last()[0].value<TFileRun>().run->BarCount(), 600);
}

// A file whose whole record is asked for comes with the records that a cold computation gives,
// and the share of its marks at close done is told, the last time as all.
TEST_F(LivePipelineTest, RecordsComeWithTheRunAndTheShareDoneIsTold) {
    ASSERT_TRUE(folder_.isValid());
    WriteQuietFile(FileOf("EURUSD60.csv"), BarFileText(TBarFileSettings{.barCount = 700}));
    QSignalSpy finished(&pipeline_, &TLivePipeline::RunFinished);
    QSignalSpy working(&pipeline_, &TLivePipeline::Working);
    pipeline_.WorkOutTrackRecords({}, {PathOf("EURUSD60.csv")});
    pipeline_.Watch({}, {PathOf("EURUSD60.csv")});
    ASSERT_TRUE(finished.wait(10000));
    const TFileRun fileRun = finished[0][0].value<TFileRun>();
    ASSERT_TRUE(fileRun.trackRecords && fileRun.trackRecords->wholeFile);
    const TMarksAtClose whole = WholeFileMarksAtClose(*fileRun.run);
    const TTrackRecords cold =
        TrackRecordsOf(*fileRun.run, LoadedBarsPart(*fileRun.run, whole), &whole);
    EXPECT_EQ(fileRun.trackRecords->wholeFile->summary.points, cold.wholeFile->summary.points);
    EXPECT_EQ(fileRun.trackRecords->wholeFile->trades.size(), cold.wholeFile->trades.size());
    EXPECT_EQ(fileRun.trackRecords->atClose.summary.points, cold.atClose.summary.points);
    EXPECT_EQ(*fileRun.marksAtClose, LoadedBarsPart(*fileRun.run, whole));
    QTest::qWait(50);
    ASSERT_FALSE(working.isEmpty());
    EXPECT_EQ(working.last()[1].toInt(), 201);
    EXPECT_EQ(working.last()[2].toInt(), 201);
}

// A file rewritten while its run finds it held is run again at once, after that run; the retry
// that the held run asked for is then dropped, not made a second later for nothing.
TEST(LivePipelineRetryTest, ARunAfterAHeldOneDropsItsRetry) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("EURUSD60.csv"));
    WriteQuietFile(QFile::encodeName(path).toStdString(), BarFileText(TBarFileSettings{}));
    std::mutex mutex;
    std::condition_variable letGo;
    bool rewritten = false;
    std::atomic<int> runs = 0;
    TLivePipeline pipeline([&](const QString& file, const TRunSettings& settings) {
        TFileRun run = RunWatchedFile(file, settings);
        if (runs++ == 0) {
            std::unique_lock lock(mutex);
            letGo.wait(lock, [&] { return rewritten; });
            run.held = true;
        }
        return run;
    });
    QSignalSpy finished(&pipeline, &TLivePipeline::RunFinished);
    pipeline.Watch({}, {path});
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs == 1; }, 5000));
    WriteTextFile(QFile::encodeName(path).toStdString(), BarFileText(TBarFileSettings{.seed = 2}));
    QTest::qWait(300); // settled, and asked for again while its run goes on
    {
        const std::lock_guard lock(mutex);
        rewritten = true;
    }
    letGo.notify_all();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.size() == 2; }, 5000));
    QTest::qWait(static_cast<int>(HeldFileRetry.count()) + 500);
    EXPECT_EQ(runs, 2);
}

// A rewrite during a run: the run of the old bytes comes first, and the last run handed over is
// the one of the new bytes, never the old one after it.
TEST(LivePipelineRetryTest, ARewriteDuringARunIsShownAfterIt) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("EURUSD60.csv"));
    const std::string file = QFile::encodeName(path).toStdString();
    const std::vector<TGeneratedBar> bars = GenerateBars({.barCount = 601});
    WriteQuietFile(file, BarFileText(std::vector(bars.begin(), bars.end() - 1)));
    std::atomic<int> runs = 0;
    std::atomic<bool> rewritten = false;
    TLivePipeline pipeline([&](const QString& watched, const TRunSettings& settings) {
        TFileRun run = RunWatchedFile(watched, settings);
        if (runs++ == 0) {
            while (!rewritten) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
        return run;
    });
    QSignalSpy finished(&pipeline, &TLivePipeline::RunFinished);
    pipeline.Watch({}, {path});
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs == 1; }, 5000));
    WriteTextFile(file, BarFileText(std::vector(bars.begin() + 1, bars.end())));
    QTest::qWait(300);
    rewritten = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.size() == 2; }, 5000));
    QTest::qWait(300);
    ASSERT_EQ(finished.size(), 2);
    const auto newest = [&](int k) {
        const TRun& run = *finished[k][0].value<TFileRun>().run;
        return run.Bars().BarClose[run.BarCount() - 1];
    };
    EXPECT_EQ(newest(0), PointsToPrice(bars[599].close));
    EXPECT_EQ(newest(1), PointsToPrice(bars[600].close));
}

// A run that could not even get its storage is a failed run with an empty run, never a null one.
TEST(RunPoolTest, ARunWithoutStorageHandsOverAnEmptyRun) {
    TRunPool pool([](const QString&, const TRunSettings&) -> TFileRun { throw std::bad_alloc(); });
    QSignalSpy finished(&pool, &TRunPool::Finished);
    pool.Request(QStringLiteral("EURUSD60.csv"));
    ASSERT_TRUE(finished.wait(5000));
    const TFileRun run = finished[0][0].value<TFileRun>();
    EXPECT_FALSE(run.outcome.Completed());
    ASSERT_TRUE(run.run);
    EXPECT_EQ(run.run->BarCount(), 0);
}

TEST(LivePipelineCloseTest, ClosesWithinASecondWhileARunHangs) {
    struct TGate {
        std::mutex mutex;
        std::condition_variable changed;
        bool started = false, released = false, ended = false;
    };
    const auto gate = std::make_shared<TGate>();
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    WriteQuietFile(QFile::encodeName(folder.filePath("EURUSD60.csv")).toStdString(),
                   BarFileText(TBarFileSettings{}));
    QElapsedTimer closing;
    {
        TLivePipeline pipeline([gate](const QString& path, const TRunSettings& settings) {
            std::unique_lock lock(gate->mutex);
            gate->started = true;
            gate->changed.wait_for(lock, std::chrono::seconds(5), [&] { return gate->released; });
            TFileRun run = RunWatchedFile(path, settings);
            gate->ended = true;
            gate->changed.notify_all();
            return run;
        });
        pipeline.Watch({folder.path()}, {});
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const std::lock_guard lock(gate->mutex);
                return gate->started;
            },
            5000));
        closing.start();
    }
    EXPECT_LT(closing.elapsed(), 1200);
    std::unique_lock lock(gate->mutex);
    gate->released = true;
    gate->changed.notify_all();
    EXPECT_TRUE(gate->changed.wait_for(lock, std::chrono::seconds(5), [&] { return gate->ended; }));
    lock.unlock();
    // The run hands its result over to nobody, after which the program goes on.
    QTest::qWait(200);
}

} // namespace
} // namespace quillon
