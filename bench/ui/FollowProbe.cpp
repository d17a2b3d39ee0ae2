// Measures "Follow file" for its figures (not a test: it judges nothing). A writer thread
// rewrites a bar file of the terminal's 1,900 lines once a second, in one piece, each time with a
// new newest bar; the main window follows it at the default settings. It prints the latency from
// the writer's last byte to the chart repainted with that version (median and max over the first
// 50 rewrites), how many reads and runs each rewrite cost, the longest stretch the window's event
// loop was busy, and the processor time of the window (the process less the writer) over the whole
// run.
//
//   follow_probe [REWRITES [--at-close | --track-page]]
//       60 rewrites unless given: a minute; --at-close checks "Marks at close", --track-page shows
//       the "Track record" page in place of the chart (whose repaints then go unmeasured): the
//       cost of either is the difference it makes to the processor time a rewrite

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "bench/ui/TimedApplication.h"
#include "chart/TChart.h"
#include "tests/bars/BarTestFiles.h"
#include "ui/ApplicationForms.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::duration;
using Milliseconds = duration<double, std::milli>;

constexpr int TerminalFileLines = 1900;
constexpr int LatencyRewrites = 50;
constexpr int MostRewrites = 600;

std::chrono::microseconds CpuTime(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto time = [](const timeval& t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return time(usage.ru_utime) + time(usage.ru_stime);
}

// Lets the chart paint, then notes which version it showed and when it was done.
class RepaintWatch : public QObject {
public:
    std::function<void()> painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || painting_) {
            return false;
        }
        painting_ = true;
        QCoreApplication::sendEvent(watched, event);
        painting_ = false;
        painted();
        return true;
    }

private:
    bool painting_ = false;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    const int rewrites = std::clamp(argc > 1 ? std::atoi(argv[1]) : 60, 1, MostRewrites);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    quillon::TimedApplication application(argc, argv);
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("EURUSD60.csv"));
    const std::string file = path.toStdString();
    const std::vector<quillon::TGeneratedBar> bars =
        quillon::GenerateBars({.barCount = TerminalFileLines + rewrites});
    const auto version = [&bars](int k) {
        return quillon::BarFileText(
            std::vector(bars.begin() + k, bars.begin() + k + TerminalFileLines));
    };
    quillon::WriteQuietFile(file, version(0));

    // The live pipeline's runs of the file, each a read and a run; the watch list lists the file
    // too, and takes the same runs.
    std::atomic<int> runs{0};
    quillon::TApplicationForms forms(quillon::TDesktopServices{
        [path](QWidget*, const quillon::TOpenDialog&) { return std::optional(path); },
        [](QWidget*, const QString& text) {
            std::fprintf(stderr, "error box: %s\n", qPrintable(text));
        },
        {},
        [&runs](const QString& watched, const quillon::TRunSettings& settings) {
            ++runs;
            return quillon::RunWatchedFile(watched, settings);
        }});
    forms.Form1.show();
    QTest::mouseClick(forms.Form1.findChild<QPushButton*>(QStringLiteral("Button2")),
                      Qt::LeftButton);
    forms.Form1.findChild<QCheckBox*>(QStringLiteral("FollowFile"))->setChecked(true);
    const std::string option = argc > 2 ? argv[2] : "";
    if (option == "--at-close") {
        forms.Form1.findChild<QCheckBox*>(QStringLiteral("MarksAtClose"))->setChecked(true);
    } else if (option == "--track-page") {
        auto* pages = forms.Form1.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        pages->setCurrentIndex(pages->count() - 1);
    }
    auto* chart = forms.Form1.findChild<quillon::TChart*>(QStringLiteral("Chart1"));

    // Written by the writer: the rewrites done, and when each one's last byte went out.
    std::atomic<int> written{0};
    std::array<std::atomic<Clock::rep>, MostRewrites + 1> lastByte{};
    std::vector<double> latencies(static_cast<std::size_t>(rewrites) + 1, -1.0);
    RepaintWatch watch;
    watch.painted = [&] {
        const int k = written.load();
        const quillon::TCandle& newest = chart->Model().Series17().Candles().back();
        const quillon::TGeneratedBar& bar =
            bars[static_cast<std::size_t>(k + TerminalFileLines - 1)];
        double& latency = latencies[static_cast<std::size_t>(k)];
        if (k > 0 && latency < 0 && newest.close == quillon::PointsToPrice(bar.close) &&
            newest.open == quillon::PointsToPrice(bar.open)) {
            latency = Milliseconds(Clock::now() - Clock::time_point(Clock::duration(lastByte[k])))
                          .count();
        }
    };
    chart->installEventFilter(&watch);

    // The pipeline's first run of the file, at the choice, is not a rewrite's.
    QTest::qWait(500);
    const int runsAtStart = runs;
    std::chrono::microseconds writerCpu{};
    // The choice's own work, and with the Track record page the cold records of the whole file.
    const double busyAtStartMs = application.longestBusyMs;
    application.longestBusyMs = 0.0;
    const Clock::time_point start = Clock::now();
    const std::chrono::microseconds cpuAtStart = CpuTime(RUSAGE_SELF);
    std::thread writer([&] {
        for (int k = 1; k <= rewrites; ++k) {
            const std::string text = version(k);
            std::this_thread::sleep_until(start + std::chrono::seconds(k));
            std::FILE* out = std::fopen(file.c_str(), "wb");
            std::fwrite(text.data(), 1, text.size(), out);
            std::fflush(out);
            lastByte[static_cast<std::size_t>(k)] = Clock::now().time_since_epoch().count();
            std::fclose(out);
            written = k;
        }
        writerCpu = CpuTime(RUSAGE_THREAD);
    });
    // A second after the last rewrite the window has had its chance.
    QTimer::singleShot(std::chrono::seconds(rewrites + 1), &application, &QApplication::quit);
    application.exec();
    writer.join();
    const double wallMs = Milliseconds(Clock::now() - start).count();
    const double windowCpuMs = Milliseconds(CpuTime(RUSAGE_SELF) - cpuAtStart - writerCpu).count();

    std::vector<double> measured;
    for (int k = 1; k <= std::min(rewrites, LatencyRewrites); ++k) {
        if (latencies[static_cast<std::size_t>(k)] >= 0) {
            measured.push_back(latencies[static_cast<std::size_t>(k)]);
        }
    }
    const int missed = std::min(rewrites, LatencyRewrites) - static_cast<int>(measured.size());
    std::printf("last byte to chart repainted: median %.1f ms, max %.1f ms over %zu rewrites "
                "(%d never shown)\n",
                Median(measured),
                measured.empty() ? 0.0 : *std::max_element(measured.begin(), measured.end()),
                measured.size(), missed);
    std::printf("reads and runs of the file: %.2f a rewrite (%d for %d rewrites)\n",
                static_cast<double>(runs - runsAtStart) / rewrites, runs - runsAtStart, rewrites);
    std::printf("longest busy stretch of the event loop: %.1f ms (in the first half second from "
                "the choice: %.1f ms)\n",
                application.longestBusyMs, busyAtStartMs);
    std::printf("window's processor time: %.0f ms in %.1f s, %.2f %% of one core, %.1f ms a "
                "rewrite\n",
                windowCpuMs, wallMs / 1000.0, 100.0 * windowCpuMs / wallMs, windowCpuMs / rewrites);
    return 0;
}
