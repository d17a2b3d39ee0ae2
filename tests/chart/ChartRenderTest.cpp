#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "chart/Candles.h"

namespace quillon {
namespace {

const QSize ImageSize(400, 300);

// Four candles at x 0..3, rising, falling, rising, falling; the waves at x between them so
// that their pixels are not hidden by candles, except where a test wants them crossing one.
class ChartRenderTest : public testing::Test {
protected:
    void SetUp() override {
        chart_.SetNumberSeparators(TNumberSeparators{".", ","});
        TChartModel& model = chart_.Model();
        ClearAllSeries(model);
        model.Series17().AppendCandle(1.10, 1.22, 1.06, 1.18);
        model.Series17().AppendCandle(1.18, 1.20, 1.04, 1.10);
        model.Series17().AppendCandle(1.12, 1.17, 1.11, 1.16);
        model.Series17().AppendCandle(1.16, 1.17, 1.11, 1.12);
        TLineSeries& wave = model.LineSeries3();
        wave.AppendPoint(0.5, 1.13, "", std::nullopt);
        wave.AppendPoint(1.5, 1.19, "", clLime);
        wave.AppendPoint(1.5, 1.13, "", std::nullopt);
        wave.AppendPoint(2.5, 1.13, "", std::nullopt);
        wave.AppendPoint(2.5, 1.07, "", clRed);
        wave.AppendPoint(3.5, 1.13, "", std::nullopt);
        // On the pixel of the one before: no segment, so the pixel keeps the blue.
        wave.AppendPoint(3.5, 1.13, "", clRed);
        // Under the candles, which paint over it.
        model.LineSeries4().AppendPoint(0, 1.15, "", std::nullopt);
        model.LineSeries4().AppendPoint(3, 1.15, "", std::nullopt);
        // Over the candles.
        model.Series18().AppendPoint(0, 1.14, "", std::nullopt);
        model.Series18().AppendPoint(3, 1.14, "", std::nullopt);
        image_ = RenderedChart(chart_, ImageSize);
        layout_ = chart_.Layout(image_.rect(), &image_);
        ASSERT_TRUE(layout_.HasScales());
    }

    int Column(double x) const { return layout_.x->Pixel(x); }
    int Row(double y) const { return layout_.y->Pixel(y); }
    QColor At(int column, int row) const { return image_.pixelColor(column, row); }
    TCandleGeometry Candle(int index) const {
        return CandleGeometryOf(chart_.Model().Series17().Candles()[index], *layout_.x, *layout_.y);
    }
    // Whether the colour shows within one pixel of (column, row).
    bool ShowsNear(int column, int row, const QColor& color) const {
        for (int dc = -1; dc <= 1; ++dc) {
            for (int dr = -1; dr <= 1; ++dr) {
                if (At(column + dc, row + dr) == color) {
                    return true;
                }
            }
        }
        return false;
    }

    TChart chart_;
    QImage image_;
    TChartLayout layout_;
};

TEST_F(ChartRenderTest, CandleBodiesOutlinesAndHighLowLines) {
    const QColor white(Qt::white), red(Qt::red), black(Qt::black);
    const TCandleGeometry rising = Candle(0);
    const TCandleGeometry falling = Candle(1);
    EXPECT_EQ(At(rising.column + 1, Row(1.17)), white);
    EXPECT_EQ(At(rising.column, Row(1.17)), white) << "the body covers the high-low line";
    EXPECT_EQ(At(falling.column - 1, Row(1.17)), red);
    for (const TCandleGeometry& g : {rising, falling}) {
        EXPECT_EQ(At(g.bodyLeft, Row(1.16)), black);
        EXPECT_EQ(At(g.bodyRight, Row(1.16)), black);
        EXPECT_EQ(At(g.column, g.BodyTop()), black);
        EXPECT_EQ(At(g.column, g.BodyBottom()), black);
        EXPECT_EQ(At(g.column, g.BodyTop() - 3), black) << "high-low line above the body";
        EXPECT_EQ(At(g.column, g.BodyBottom() + 3), black) << "high-low line below the body";
        EXPECT_NE(At(g.column + 1, g.BodyTop() - 3), black) << "the line is one pixel wide";
    }
}

TEST_F(ChartRenderTest, SpikesOnTheCloseWave) {
    const QColor lime(0, 255, 0), red(Qt::red), blue(Qt::blue);
    // The segment leading up into the lime point is lime, the way back down blue.
    EXPECT_TRUE(ShowsNear(Column(1.25), Row(1.175), lime));
    EXPECT_EQ(At(Column(1.5), Row(1.16)), blue);
    // The red point hangs below the wave on a red segment.
    EXPECT_EQ(At(Column(2.5), Row(1.10)), red);
    EXPECT_TRUE(ShowsNear(Column(3.0), Row(1.10), blue));
    EXPECT_EQ(At(Column(3.5), Row(1.13)), blue) << "no segment between points on one pixel";
}

TEST_F(ChartRenderTest, CandlesOverTheCloseWavesAndOpenWavesOverTheCandles) {
    const TCandleGeometry falling = Candle(1);
    EXPECT_EQ(At(falling.column + 1, Row(1.15)), QColor(Qt::red));
    EXPECT_EQ(At(falling.column + 1, Row(1.14)), QColor(Qt::white));
    EXPECT_EQ(At(Column(0.5), Row(1.15)), QColor(Qt::blue));
    EXPECT_EQ(At(Column(0.5), Row(1.14)), QColor(Qt::white));
}

TEST_F(ChartRenderTest, GridLiesBehindTheCandles) {
    const TCandleGeometry falling = Candle(1);
    const TAxisLabel* crossing = nullptr;
    for (const TAxisLabel& label : layout_.labels) {
        const bool insideBody =
            label.row > falling.BodyTop() + 1 && label.row < falling.BodyBottom() - 1;
        if (insideBody && std::abs(label.row - Row(1.14)) > 1 &&
            std::abs(label.row - Row(1.15)) > 1) {
            crossing = &label;
        }
    }
    ASSERT_NE(crossing, nullptr);
    EXPECT_EQ(At(falling.column + 1, crossing->row), QColor(Qt::red));
    int gridPixels = 0;
    for (int column = falling.bodyRight + 3; column < Candle(2).bodyLeft - 2; ++column) {
        const QColor pixel = At(column, crossing->row);
        const bool grey = pixel.red() == pixel.green() && pixel.green() == pixel.blue();
        if (grey && pixel != chart_.palette().color(QPalette::Button) && pixel.red() > 64 &&
            pixel.red() < 200) {
            ++gridPixels;
        }
    }
    EXPECT_GT(gridPixels, 3) << "the grid shows between the candles";
}

TEST_F(ChartRenderTest, TitleBandAndLabelsLeftOfThePlot) {
    const QColor background = chart_.palette().color(QPalette::Button);
    for (int column = 0; column < ImageSize.width(); column += 7) {
        EXPECT_EQ(At(column, 2), background);
    }
    EXPECT_GT(layout_.plot.top, 10);
    // Some label text, darker than the background, left of the ticks.
    int textPixels = 0;
    for (int column = 0; column < layout_.plot.left - TickLength; ++column) {
        for (int row = layout_.plot.top; row <= layout_.plot.bottom; ++row) {
            textPixels += At(column, row).lightness() < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(textPixels, 20);
    EXPECT_EQ(layout_.labels.front().text.find('.'), 1u);
    EXPECT_EQ(At(layout_.plot.left, Row(1.1)), QColor(Qt::black)) << "axis line";
}

TEST(ChartRenderMarkersTest, CircleMarkersFilledAndOutlined) {
    TChart chart;
    ClearAllSeries(chart.Model());
    chart.Model().LineSeries2().AppendPoint(0, 1, "", std::nullopt);
    chart.Model().LineSeries2().AppendPoint(10, 2, "", clRed);
    const QImage image = RenderedChart(chart, ImageSize);
    const TChartLayout layout = chart.Layout(image.rect(), &image);
    ASSERT_TRUE(layout.HasScales());
    const int column = layout.x->Pixel(10);
    const int row = layout.y->Pixel(2);
    EXPECT_EQ(image.pixelColor(column, row), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(column, row - MarkerRadius), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(column - MarkerRadius, row), QColor(Qt::black));
    EXPECT_GE(row - MarkerRadius, layout.plot.top) << "the scales leave room for the marker";
    // The first marker in the series' colour, left of where the red segment leaves it.
    EXPECT_EQ(image.pixelColor(layout.x->Pixel(0) - 2, layout.y->Pixel(1)), QColor(Qt::blue));
}

TEST(ChartRenderEmptyTest, NoPointsPaintsTheBackgroundOnly) {
    TChart chart;
    ClearAllSeries(chart.Model());
    const QImage image = RenderedChart(chart, ImageSize);
    const QColor background = chart.palette().color(QPalette::Button);
    for (int row = 0; row < ImageSize.height(); row += 13) {
        for (int column = 0; column < ImageSize.width(); column += 11) {
            ASSERT_EQ(image.pixelColor(column, row), background);
        }
    }
}

TEST(ChartRenderFlatTest, OneFlatCandleDrawsItsBodyMidChart) {
    TChart chart;
    ClearAllSeries(chart.Model());
    chart.Model().Series17().AppendCandle(1.25, 1.25, 1.25, 1.25);
    const QImage image = RenderedChart(chart, ImageSize);
    const TChartLayout layout = chart.Layout(image.rect(), &image);
    ASSERT_TRUE(layout.HasScales());
    const TCandleGeometry g =
        CandleGeometryOf(chart.Model().Series17().Candles()[0], *layout.x, *layout.y);
    EXPECT_NEAR(g.column, (layout.plot.left + layout.plot.right) / 2, 1);
    EXPECT_NEAR(g.openRow, (layout.plot.top + layout.plot.bottom) / 2, 1);
    for (const int row : {g.openRow, g.openRow - 1}) {
        for (int column = g.bodyLeft; column <= g.bodyRight; ++column) {
            EXPECT_EQ(image.pixelColor(column, row), QColor(Qt::black)) << column << "," << row;
        }
    }
}

} // namespace
} // namespace quillon
