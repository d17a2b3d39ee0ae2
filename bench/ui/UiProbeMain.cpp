// Measures the windows as a user meets them, for the performance figures (not a test: it judges
// nothing). It shows the main window, chooses a bar file with N bars, then clicks
// "Make Waves !!!" at the default settings a number of times.
//
//   ui_probe BAR_FILE [N] [LAUNCH_NS]
//
// LAUNCH_NS, the wall clock in nanoseconds just before the probe was started
// ($(date +%s%N)), makes the start-up figure include loading the program. Run it under
// /usr/bin/time -v for the peak memory of the whole process.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "chart/TChart.h"
#include "ui/ApplicationForms.h"

namespace {

constexpr int ClickRepetitions = 21;

double MillisecondsSinceEpoch() {
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

// Marks when the window has painted for the first time.
class FirstPaintWatch : public QObject {
public:
    double paintedAtMs = 0.0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && paintedAtMs == 0.0) {
            paintedAtMs = MillisecondsSinceEpoch();
        }
        return QObject::eventFilter(watched, event);
    }
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    const double mainEnteredMs = MillisecondsSinceEpoch();
    if (argc < 2) {
        std::fputs("usage: ui_probe BAR_FILE [N] [LAUNCH_NS]\n", stderr);
        return 2;
    }
    const QString barFile = QString::fromLocal8Bit(argv[1]);
    const QString barCount = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("1000");
    const double launchedMs = argc > 3 ? std::stod(argv[3]) / 1e6 : mainEnteredMs;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication application(argc, argv);
    quillon::TApplicationForms forms(quillon::TDesktopServices{
        [barFile](QWidget*, const quillon::TOpenDialog&) { return std::optional(barFile); },
        [](QWidget*, const QString& text) {
            std::fprintf(stderr, "error box: %s\n", qPrintable(text));
        },
        {}});
    FirstPaintWatch watch;
    forms.Form1.installEventFilter(&watch);
    forms.Form1.show();
    while (watch.paintedAtMs == 0.0) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    std::printf("start to main window painted: %.1f ms (%.1f ms of it in main)\n",
                watch.paintedAtMs - launchedMs, watch.paintedAtMs - mainEnteredMs);

    auto* edit3 = forms.Form1.findChild<QLineEdit*>(QStringLiteral("Edit3"));
    auto* button1 = forms.Form1.findChild<QPushButton*>(QStringLiteral("Button1"));
    auto* button2 = forms.Form1.findChild<QPushButton*>(QStringLiteral("Button2"));
    auto* chart = forms.Form1.findChild<quillon::TChart*>(QStringLiteral("Chart1"));
    edit3->setText(barCount);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(button2, Qt::LeftButton);
    chart->repaint();
    std::printf("file selection with N = %s to chart painted: %.1f ms; %zu candles\n",
                qPrintable(barCount), clock.nsecsElapsed() / 1e6,
                chart->Model().Series17().Candles().size());

    edit3->setText(QStringLiteral("500"));
    std::vector<double> clicks;
    std::vector<double> runs;
    for (int i = 0; i < ClickRepetitions; ++i) {
        clock.restart();
        QTest::mouseClick(button1, Qt::LeftButton);
        runs.push_back(clock.nsecsElapsed() / 1e6);
        // What the event loop does next: paint the chart that the run has marked.
        chart->repaint();
        clicks.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("Make Waves click at the defaults to chart repainted: median %.2f ms, "
                "max %.2f ms over %d clicks (the run alone: median %.2f ms)\n",
                Median(clicks), *std::max_element(clicks.begin(), clicks.end()), ClickRepetitions,
                Median(runs));
    return 0;
}
