#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSvgRenderer>
#include <QTemporaryDir>

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

class ChartCommandTest : public testing::Test {
protected:
    // The tool on the sample file with the options after OUT.
    TProcessResult RunTool(const std::string& out, const std::vector<std::string>& options = {}) {
        std::vector<std::string> args{SampleFile, "-o", out};
        args.insert(args.end(), options.begin(), options.end());
        return RunProcess(ChartProgram, args, NoDisplay);
    }
    std::string Path(const std::string& name) const { return dir_.Path(name); }
    static QImage Picture(const std::string& path) {
        return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    }
    // The picture written to `name` is the README's picture of that name in docs/, pixel for
    // pixel, as painted with the fonts that make deps installs (DejaVu). A change to the painting
    // made on purpose takes the new picture from the screenshots folder into docs/.
    void ExpectTheReadmesPicture(const std::string& name) {
        EXPECT_TRUE(Picture(Path(name)) == Picture(QUILLON_DOCS_DIR "/" + name)) << name;
        ASSERT_TRUE(QDir().mkpath(QUILLON_SCREENSHOT_DIR));
        const QString copy = QStringLiteral(QUILLON_SCREENSHOT_DIR "/") + name.c_str();
        QFile::remove(copy);
        EXPECT_TRUE(QFile::copy(QString::fromStdString(Path(name)), copy));
    }

    TTempDir dir_;
};

// The defaults, the window's chart at 800 x 600; a short run at another size written to standard
// output.
TEST_F(ChartCommandTest, TheDefaultPictureIsTheReadmes) {
    const TProcessResult written = RunTool(Path("quillon-chart.png"));
    EXPECT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(written.err + written.out, "");
    ExpectTheReadmesPicture("quillon-chart.png");
    const TProcessResult piped =
        RunTool("-", {"--bars", "60", "--w1=20", "--w2", "10", "--size", "640x480"});
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    const QImage shortRun = QImage::fromData(QByteArray::fromStdString(piped.out), "PNG");
    EXPECT_EQ(shortRun.size(), QSize(640, 480));
    EXPECT_GT(CountPixels(shortRun, shortRun.rect(), QColor(Qt::red)), 100) << "falling bodies";
}

// The chart with the marks at close and their line; the track record instead of the candles.
TEST_F(ChartCommandTest, AtCloseAndTrackPicturesAreTheReadmes) {
    for (const auto& [option, name] : {std::pair("--at-close", "marks-at-close.png"),
                                       std::pair("--track", "track-record.png")}) {
        const TProcessResult result = RunTool(Path(name), {option});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        ExpectTheReadmesPicture(name);
    }
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

// The pictures are read here on the offscreen platform. The tool reads and writes numbers in the C
// locale, and neither writes under the real home.
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
