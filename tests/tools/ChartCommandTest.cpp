#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <tuple>

#include "chart/Candles.h"
#include "chart/MakeWavesRun.h"
#include "chart/TChart.h"
#include "chart/WindowFont.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/chart/PixelCount.h"
#include "tests/tools/RunProcess.h"
#include "tools/ChartOptions.h"

namespace quillon {
namespace {

const std::string ChartProgram = QUILLON_CHART_PROGRAM;
const std::string SampleFile = QUILLON_SAMPLE_BAR_FILE;
// No display of any kind and no platform named: the tool finds its own way to paint.
const std::vector<std::string> NoDisplay{"-u", "DISPLAY",        "-u", "WAYLAND_DISPLAY",
                                         "-u", "QT_QPA_PLATFORM"};
const std::vector<std::string> ShortRun{"--bars", "60", "--w1=20", "--w2", "10"};

// The window's chart after the window's own run on the sample file, at `size`.
struct TWindowChart {
    TChart chart;
    TRun run;

    TWindowChart(const char* barCount, const char* lag1, const char* lag2, QSize size) {
        UseWindowFont(chart);
        chart.resize(size);
        MakeWavesRun({barCount, lag1, lag2, SampleFile, {}}, run, chart.Model());
    }
    QImage Grab() { return chart.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

QImage WindowChart(const char* barCount, const char* lag1, const char* lag2, QSize size) {
    return TWindowChart(barCount, lag1, lag2, size).Grab();
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
    std::vector<std::string> options = ShortRun;
    options.insert(options.end(), {"--size", "640x480"});
    const TProcessResult piped = RunTool("-", options);
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

// Probes at the places the chart's layout gives: the tallest falling body red and the tallest
// rising one white, the second close wave blue wherever no candle covers it, and the labels' band,
// dark text without any series colour, left of the plot.
TEST_F(ChartCommandTest, CandlesWaveAndLabelsStandWhereTheLayoutPutsThem) {
    ASSERT_EQ(RunTool(Path("short.png"), ShortRun).exitCode, 0);
    const QImage picture(QString::fromStdString(Path("short.png")));
    TWindowChart window("60", "20", "10", QSize(800, 600));
    const TChartLayout layout = window.chart.Layout(window.chart.rect());
    ASSERT_TRUE(layout.HasScales());
    const std::vector<TCandle>& candles = window.chart.Model().Series17().Candles();
    for (const double sign : {-1.0, 1.0}) {
        const TCandle& tallest = *std::max_element(
            candles.begin(), candles.end(), [sign](const TCandle& a, const TCandle& b) {
                return sign * (a.close - a.open) < sign * (b.close - b.open);
            });
        const TCandleGeometry g = CandleGeometryOf(tallest, *layout.x, *layout.y);
        const QRect inside(QPoint(g.bodyLeft + 1, g.BodyTop() + 1),
                           QPoint(g.bodyRight - 1, g.BodyBottom() - 1));
        ASSERT_GT(inside.height(), 2);
        const QColor fill = sign < 0 ? Qt::red : Qt::white;
        EXPECT_GT(CountPixels(picture, inside, fill) * 2, inside.width() * inside.height());
    }
    int free = 0, blue = 0;
    for (const TLinePoint& point : window.chart.Model().LineSeries4().Points()) {
        const int column = layout.x->Pixel(point.x), row = layout.y->Pixel(point.y);
        if (!CandleAt(candles, *layout.x, *layout.y, column, row)) {
            ++free;
            blue += picture.pixelColor(column, row) == QColor(Qt::blue);
        }
    }
    EXPECT_GE(free, 10);
    EXPECT_GE(blue * 10, free * 9) << free;
    const QRect band(0, 0, layout.plot.left - TickLength, picture.height());
    EXPECT_GT(CountPixels(picture, band, [](QColor c) { return c.lightness() < 100; }), 50);
    EXPECT_EQ(CountPixels(picture, band, [](QColor c) { return c.saturation() > 0; }), 0);
}

// Lines and text as vectors, one outlined body per candle.
TEST_F(ChartCommandTest, TheSvgDrawsOneBodyPerCandle) {
    EXPECT_EQ(RunTool(Path("chart.svg"), ShortRun).exitCode, 0);
    const QSvgRenderer renderer(QString::fromStdString(Path("chart.svg")));
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, 800, 600));
    QFile file(QString::fromStdString(Path("chart.svg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    EXPECT_EQ(svg.count("<rect vector-effect=\"non-scaling-stroke\""), 60);
    EXPECT_GT(svg.count("<text"), 5);
    EXPECT_GT(svg.count("<polyline"), 5 * 57);
}

// Usage errors name the fault before the usage; other failures give their reason with the path,
// and no file is left behind.
TEST_F(ChartCommandTest, FailuresTellWhyAndLeaveNothingBehind) {
    ASSERT_TRUE(std::filesystem::create_directory(Path("taken.png")));
    const std::string out = Path("chart.png"), cannot = "cannot write " + Path(""),
                      size = ": not WIDTHxHEIGHT from 200x150 to 8000x8000";
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{Path("missing.csv"), "-o", out},
         1,
         "cannot read " + Path("missing.csv") + ": no such file\n"},
        {{SampleFile, "-o", out, "--bars", "0"}, 2, "--bars 0: not an integer from 1 to 1000"},
        {{SampleFile, "-o", out, "--size", "199x150"}, 2, "--size 199x150" + size},
        {{SampleFile, "-o", out, "--size=800x8001"}, 2, "--size 800x8001" + size},
        {{SampleFile, "-o", out, "--size", "800*600"}, 2, "--size 800*600" + size},
        {{SampleFile, "-o", "a.jpg"}, 2, "-o a.jpg: not a .png or .svg name, nor -"},
        {{SampleFile}, 2, "no -o OUT given"},
        {{SampleFile, "-o", Path("no/a.png")}, 1, cannot + "no/a.png: No such file or directory\n"},
        {{SampleFile, "--output", Path("taken.png")},
         1,
         cannot + "taken.png: Filename refers to a directory\n"},
    };
    for (const auto& [args, status, err] : cases) {
        const TProcessResult result = RunProcess(ChartProgram, args, NoDisplay);
        EXPECT_EQ(result.exitCode, status) << err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, status == 2 ? "quillon-chart: " + err + "\n" + ChartUsage() : err);
    }
    EXPECT_EQ(
        QDir(QString::fromStdString(Path(""))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
        QStringList{"taken.png"});
    const TProcessResult help = RunProcess(ChartProgram, {"--help"}, NoDisplay);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, ChartUsage());
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
