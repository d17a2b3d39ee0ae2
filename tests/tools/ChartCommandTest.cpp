#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include "chart/ChartFeed.h"
#include "chart/MakeWavesRun.h"
#include "chart/TChart.h"
#include "chart/WindowFont.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/chart/PixelCount.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

const std::string ChartProgram = QUILLON_CHART_PROGRAM;
const std::string SampleFile = QUILLON_SAMPLE_BAR_FILE;
// No display of any kind and no platform named: the tool finds its own way to paint.
const std::vector<std::string> NoDisplay{"-u", "DISPLAY",        "-u", "WAYLAND_DISPLAY",
                                         "-u", "QT_QPA_PLATFORM"};

// The window's chart after the window's own run on the sample file, at `size`, with its marks at
// close if asked.
QImage WindowChart(const char* barCount, const char* lag1, const char* lag2, QSize size,
                   bool atClose = false) {
    TChart chart;
    UseWindowFont(chart);
    chart.resize(size);
    TRun run;
    MakeWavesRun({barCount, lag1, lag2, SampleFile, {}}, run, chart.Model());
    if (atClose) {
        FeedMarksAtClose(run, MarksAtClose(run), chart.Model());
    }
    return chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class ChartCommandTest : public testing::Test {
protected:
    // The tool on the sample file with the options after OUT.
    TProcessResult RunTool(const std::string& out, const std::vector<std::string>& options = {}) {
        std::vector<std::string> args{SampleFile, "-o", out};
        args.insert(args.end(), options.begin(), options.end());
        return RunProcess(ChartProgram, args, NoDisplay);
    }
    std::string Path(const std::string& name) const { return dir_.Path(name); }

    TTempDir dir_;
};

// The defaults, and a short run at another size written to standard output. The window's own
// painting is probed pixel by pixel in the chart's tests; here it must not be blank.
TEST_F(ChartCommandTest, ThePictureIsTheWindowsChartPixelForPixel) {
    const TProcessResult written = RunTool(Path("chart.png"));
    EXPECT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(written.err + written.out, "");
    const QImage picture =
        QImage(QString::fromStdString(Path("chart.png"))).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(picture == WindowChart("500", "39", "16", QSize(800, 600)));
    EXPECT_GT(CountPixels(picture, picture.rect(), QColor(Qt::red)), 500) << "falling bodies";
    const TProcessResult piped =
        RunTool("-", {"--bars", "60", "--w1=20", "--w2", "10", "--size", "640x480"});
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    const QImage shortRun = QImage::fromData(QByteArray::fromStdString(piped.out), "PNG");
    EXPECT_TRUE(shortRun.convertToFormat(QImage::Format_RGB32) ==
                WindowChart("60", "20", "10", QSize(640, 480)));
    // The README's picture; copied into docs/ by hand, as the window's screenshot is.
    ASSERT_TRUE(QDir().mkpath(QUILLON_SCREENSHOT_DIR));
    QFile::remove(QUILLON_SCREENSHOT_DIR "/quillon-chart.png");
    EXPECT_TRUE(QFile::copy(QString::fromStdString(Path("chart.png")),
                            QUILLON_SCREENSHOT_DIR "/quillon-chart.png"));
}

// Under the line at the top, the window's chart with its marks at close, which add lime triangles
// to the spikes; the line is there, in pixels the chart alone does not have.
TEST_F(ChartCommandTest, AtCloseAddsTheMarksAtCloseAndTheirLine) {
    const TProcessResult result = RunTool(Path("marks.png"), {"--at-close"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const QImage picture =
        QImage(QString::fromStdString(Path("marks.png"))).convertToFormat(QImage::Format_RGB32);
    const QImage plain = WindowChart("500", "39", "16", QSize(800, 600));
    const QRect line(0, 0, 800, 16), below(0, 16, 800, 584);
    EXPECT_TRUE(picture.copy(below) ==
                WindowChart("500", "39", "16", QSize(800, 600), true).copy(below));
    EXPECT_GT(CountPixels(picture, below, QColor(Qt::green)),
              CountPixels(plain, below, QColor(Qt::green)) + 100);
    const auto dark = [](QColor pixel) { return pixel.lightness() < 100; };
    EXPECT_GT(CountPixels(picture, line, dark), CountPixels(plain, line, dark) + 100);
    ASSERT_TRUE(QDir().mkpath(QUILLON_SCREENSHOT_DIR));
    QFile::remove(QUILLON_SCREENSHOT_DIR "/marks-at-close.png");
    EXPECT_TRUE(QFile::copy(QString::fromStdString(Path("marks.png")),
                            QUILLON_SCREENSHOT_DIR "/marks-at-close.png"));
}

// --track draws the track record instead of the candles: the three records' lines in their looks
// (the whole file's too) and no candle's red body. The README's picture.
TEST_F(ChartCommandTest, TrackDrawsTheRecordsInsteadOfTheCandles) {
    const TProcessResult result = RunTool(Path("record.png"), {"--track"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const QImage picture =
        QImage(QString::fromStdString(Path("record.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(800, 600));
    const QRect all = picture.rect();
    EXPECT_GT(CountPixels(picture, all, QColor(0, 0, 255)), 500) << "in the chart";
    EXPECT_GT(CountPixels(picture, all, QColor(220, 0, 0)), 500) << "at close";
    EXPECT_GT(CountPixels(picture, all, QColor(0, 140, 0)), 500) << "whole file";
    EXPECT_EQ(CountPixels(picture, all, QColor(Qt::red)), 0);
    ASSERT_TRUE(QDir().mkpath(QUILLON_SCREENSHOT_DIR));
    QFile::remove(QUILLON_SCREENSHOT_DIR "/track-record.png");
    EXPECT_TRUE(QFile::copy(QString::fromStdString(Path("record.png")),
                            QUILLON_SCREENSHOT_DIR "/track-record.png"));
}

// Lines and text as vectors, one outlined body per candle, at the least size --size takes.
TEST_F(ChartCommandTest, TheSvgDrawsOneBodyPerCandle) {
    const TProcessResult result =
        RunTool(Path("chart.svg"), {"--bars", "60", "--w1=20", "--w2", "10", "--size", "200x150"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const QSvgRenderer renderer(QString::fromStdString(Path("chart.svg")));
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, 200, 150));
    QFile file(QString::fromStdString(Path("chart.svg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    EXPECT_EQ(svg.count("<rect vector-effect=\"non-scaling-stroke\""), 60);
    EXPECT_GT(svg.count("<text"), 2) << "price labels, as text";
    EXPECT_GT(svg.count("<polyline"), 5 * 57);
}

} // namespace
} // namespace quillon

// The picture of the window's chart is painted here on the offscreen platform. Numbers are read and
// written in the C locale by this process and by the tool, and neither writes under the real home.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C");
    const QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("XDG_CACHE_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
