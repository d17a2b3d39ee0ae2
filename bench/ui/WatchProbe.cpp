// Measures the watch list for its figures (not a test: it judges nothing). A folder holds 252 bar
// files, 28 currency pairs by the terminal's 9 periods, each of 1,900 lines as quillon-make-bars
// writes them (its generator, a seed a file). The main window chooses one of them and lists them
// all; then, in each sweep, a writer thread rewrites every file in one go, each with a new newest
// bar, as the terminal's indicators would at once. The window shows the list, 900 x 700 pixels,
// unless --tabsheet1 is given. For the listing and each sweep it prints the
// time from the choice, or the first change, to the last row shown with its file's newest bar,
// and the longest stretch the window's event loop was busy meanwhile.
//
//   watch_probe [SWEEPS [--tabsheet1]]    3 sweeps unless given

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <QAbstractItemModel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "bench/ui/TimedApplication.h"
#include "tests/bars/BarTestFiles.h"
#include "ui/ApplicationForms.h"
#include "ui/watch/WatchListModel.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int TerminalFileLines = 1900;
constexpr int MostSweeps = 20;
constexpr auto GiveUpAfter = std::chrono::seconds(60);
// Room for about 40 rows: each change of the list repaints what shows of it.
constexpr QSize ShownListSize(900, 700);

struct TBarFile {
    std::string path;
    std::vector<quillon::TGeneratedBar> bars;
};

std::vector<TBarFile> MakeFolder(const QTemporaryDir& folder, int sweeps) {
    const char* currencies[] = {"EUR", "USD", "GBP", "JPY", "CHF", "CAD", "AUD", "NZD"};
    std::vector<TBarFile> files;
    for (std::size_t first = 0; first < std::size(currencies); ++first) {
        for (std::size_t second = first + 1; second < std::size(currencies); ++second) {
            for (int period : {1, 5, 15, 30, 60, 240, 1440, 10080, 43200}) {
                const std::string name = std::string(currencies[first]) + currencies[second] +
                                         std::to_string(period) + ".csv";
                TBarFile file{
                    folder.filePath(QString::fromStdString(name)).toStdString(),
                    quillon::GenerateBars({.barCount = TerminalFileLines + sweeps,
                                           .seed = static_cast<std::uint64_t>(files.size()) + 1,
                                           .periodMinutes = period})};
                files.push_back(std::move(file));
            }
        }
    }
    return files;
}

// Version k of a file: its lines k to k + 1,899.
std::string Version(const TBarFile& file, int k) {
    return quillon::BarFileText(
        std::vector(file.bars.begin() + k, file.bars.begin() + k + TerminalFileLines));
}

// Waits, handling events, until every file's row shows the newest bar of version k; the time it
// took, or a negative one after giving up.
double UntilAllShow(const QAbstractItemModel& rows, const std::vector<TBarFile>& files, int k,
                    Clock::time_point since) {
    std::set<QString> waiting;
    for (const TBarFile& file : files) {
        const quillon::TGeneratedBar& newest = file.bars[std::size_t(k + TerminalFileLines - 1)];
        waiting.insert(QString::fromStdString(file.path + ' ' + newest.date + ' ' + newest.time));
    }
    const auto shown = [&rows](int row, int column) {
        return rows.index(row, column).data().toString();
    };
    // The rows are looked at only after they change: looking after every event took the window's
    // thread from the runs as much as the window's own work.
    bool changed = true;
    const auto note = [&changed] { changed = true; };
    const QMetaObject::Connection inserted =
        QObject::connect(&rows, &QAbstractItemModel::rowsInserted, note);
    const QMetaObject::Connection updated =
        QObject::connect(&rows, &QAbstractItemModel::dataChanged, note);
    // Waits for events, not polls: processEvents with a time ignores WaitForMoreEvents, and its
    // spinning took a third of the processor from the runs. The tick bounds each wait.
    QTimer tick;
    tick.start(50);
    while (!waiting.empty() && Clock::now() - since < GiveUpAfter) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!std::exchange(changed, false)) {
            continue;
        }
        for (int row = 0; row < rows.rowCount(); ++row) {
            waiting.erase(rows.index(row, 0).data(quillon::TWatchListModel::PathRole).toString() +
                          ' ' + shown(row, quillon::TWatchListModel::DateColumn) + ' ' +
                          shown(row, quillon::TWatchListModel::TimeColumn));
        }
    }
    QObject::disconnect(inserted);
    QObject::disconnect(updated);
    return waiting.empty() ? Milliseconds(Clock::now() - since).count() : -1.0;
}

void Report(const char* what, double ms, double longestBusyMs) {
    if (ms < 0) {
        std::printf("%s: not all rows shown within %lld s\n", what,
                    static_cast<long long>(GiveUpAfter.count()));
    } else {
        std::printf("%s: %.0f ms, event loop busy at most %.1f ms\n", what, ms, longestBusyMs);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const int sweeps = std::clamp(argc > 1 ? std::atoi(argv[1]) : 3, 1, MostSweeps);
    const bool onTabSheet1 = argc > 2 && std::string(argv[2]) == "--tabsheet1";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    quillon::TimedApplication application(argc, argv);
    const QTemporaryDir folder;
    const std::vector<TBarFile> files = MakeFolder(folder, sweeps);
    for (const TBarFile& file : files) {
        quillon::WriteQuietFile(file.path, Version(file, 0));
    }
    const QString chosen = QString::fromStdString(files.front().path);
    quillon::TApplicationForms forms(quillon::TDesktopServices{
        [chosen](QWidget*, const quillon::TOpenDialog&) { return std::optional(chosen); },
        [](QWidget*, const QString& text) {
            std::fprintf(stderr, "error box: %s\n", qPrintable(text));
        },
        {}});
    forms.Form1.show();
    if (!onTabSheet1) {
        forms.Form1.findChild<QTabWidget*>(QStringLiteral("PageControl1"))
            ->setCurrentWidget(forms.Form1.findChild<QWidget*>(QStringLiteral("WatchPage")));
        forms.Form1.resize(ShownListSize);
    }
    // Its first paint is the window's, not the list's.
    if (!QTest::qWaitForWindowExposed(&forms.Form1)) {
        std::fputs("the window never showed\n", stderr);
        return 1;
    }
    QTest::qWait(100);
    const QAbstractItemModel& rows =
        *forms.Form1.findChild<QTableView*>(QStringLiteral("WatchList"))->model();
    std::printf("%zu files of %d lines, %d processors\n", files.size(), TerminalFileLines,
                QThread::idealThreadCount());

    // The choice's own run of the chosen file on the window's thread is the click's, not the
    // list's: the busy stretches are counted from its end.
    Clock::time_point start = Clock::now();
    QTest::mouseClick(forms.Form1.findChild<QPushButton*>(QStringLiteral("Button2")),
                      Qt::LeftButton);
    application.longestBusyMs = 0.0;
    const double listingMs = UntilAllShow(rows, files, 0, start);
    Report("listing, from the choice to the last row", listingMs, application.longestBusyMs);

    for (int k = 1; k <= sweeps; ++k) {
        application.longestBusyMs = 0.0;
        start = Clock::now();
        std::thread writer([&files, k] {
            for (const TBarFile& file : files) {
                quillon::WriteTextFile(file.path, Version(file, k));
            }
        });
        const double ms = UntilAllShow(rows, files, k, start);
        writer.join();
        const std::string what =
            "sweep " + std::to_string(k) + ", from the first change to the last row updated";
        Report(what.c_str(), ms, application.longestBusyMs);
    }
    return 0;
}
