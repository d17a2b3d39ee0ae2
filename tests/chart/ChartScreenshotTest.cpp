#include <gtest/gtest.h>

#include <QDir>

#include "ChartTestSupport.h"
#include "SampleRun.h"

namespace quillon {
namespace {

// Renders a run over a random walk and leaves the picture in the build folder for a person to
// look at; checks that what a run shows is there.
TEST(ChartScreenshotTest, RandomWalkRun) {
    TChart chart;
    chart.SetNumberSeparators(TNumberSeparators{".", ","});
    FillSampleRun(chart.Model(), 400, 7);
    const QImage image = RenderedChart(chart, QSize(1200, 700));
    int rising = 0, falling = 0, lime = 0, red = 0, white = 0;
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            const QColor pixel = image.pixelColor(column, row);
            lime += pixel == QColor(0, 255, 0) ? 1 : 0;
            red += pixel == QColor(255, 0, 0) ? 1 : 0;
            white += pixel == QColor(255, 255, 255) ? 1 : 0;
        }
    }
    for (const TCandle& candle : chart.Model().Series17().Candles()) {
        (candle.close > candle.open ? rising : falling) += 1;
    }
    EXPECT_GT(rising, 100);
    EXPECT_GT(falling, 100);
    EXPECT_GT(lime, 20);
    EXPECT_GT(red, 1000);
    EXPECT_GT(white, 1000);

    const QString folder = QStringLiteral(QUILLON_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/chart.png";
    ASSERT_TRUE(image.save(path));
    EXPECT_EQ(QImage(path).size(), image.size());
}

} // namespace
} // namespace quillon
