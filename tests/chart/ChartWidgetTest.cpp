#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QToolTip>

#include "ChartTestSupport.h"
#include "SampleRun.h"
#include "chart/Candles.h"
#include "chart/TChart.h"

namespace quillon {
namespace {

const QColor White(Qt::white), Red(Qt::red), Black(Qt::black), Blue(Qt::blue), Lime(0, 255, 0);

QImage RenderedChart(const TChart& chart, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    chart.Render(painter, image.rect());
    return image;
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// Candles at x 0..3: rising, falling, rising, flat. The close wave LineSeries3 runs between them
// with a lime spike up at x 1.5 and a red one down at x 2.5; LineSeries4 lies under the candles
// and the open wave Series18 over them.
class ChartWidgetTest : public testing::Test {
protected:
    void SetUp() override {
        chart_.SetNumberSeparators(TNumberSeparators{",", "."});
        TChartModel& model = chart_.Model();
        ClearAllSeries(model);
        model.Series17().AppendCandle(1.10, 1.22, 1.06, 1.18);
        model.Series17().AppendCandle(1.18, 1.20, 1.04, 1.10);
        model.Series17().AppendCandle(1.12, 1.17, 1.11, 1.16);
        model.Series17().AppendCandle(1.12, 1.17, 1.11, 1.12);
        const std::tuple<double, double, TPointColor> wave[] = {
            {0.5, 1.13, {}},
            {1.5, 1.19, clLime},
            {1.5, 1.13, {}},
            {2.5, 1.13, {}},
            {2.5, 1.07, clRed},
            {3.5, 1.13, {}},
            // On the pixel of the one before: no segment, so the pixel keeps the blue.
            {3.5, 1.13, clRed}};
        for (const auto& [x, y, color] : wave) {
            model.LineSeries3().AppendPoint(x, y, "", color);
        }
        for (const double x : {0, 3}) {
            model.LineSeries4().AppendPoint(x, 1.15, "", std::nullopt);
            model.Series18().AppendPoint(x, 1.14, "", std::nullopt);
        }
        chart_.resize(400, 300);
        image_ = RenderedChart(chart_, chart_.size());
        layout_ = chart_.Layout(image_.rect(), &image_);
        ASSERT_TRUE(layout_.HasScales());
    }

    int Column(double x) const { return layout_.x->Pixel(x); }
    int Row(double y) const { return layout_.y->Pixel(y); }
    QColor At(int column, int row) const { return image_.pixelColor(column, row); }
    TCandleGeometry Candle(int index) const {
        return CandleGeometryOf(chart_.Model().Series17().Candles()[index], *layout_.x, *layout_.y);
    }
    bool ShowsNear(int column, int row, const QColor& color) const {
        for (int d = -1; d <= 1; ++d) {
            if (At(column + d, row) == color || At(column, row + d) == color) {
                return true;
            }
        }
        return false;
    }

    void Show() {
        chart_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart_));
        // The pointer works on the widget's own layout; the pictures' must match it.
        const TChartLayout own = chart_.Layout(chart_.rect());
        ASSERT_EQ(own.plot.left, layout_.plot.left);
        ASSERT_EQ(own.plot.top, layout_.plot.top);
        chart_.installEventFilter(&paints_);
        QTest::qWait(20);
        paints_.paints = 0;
    }
    void MoveTo(QPoint at) {
        QTest::mouseMove(&chart_, at);
        QCoreApplication::processEvents();
    }
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(&chart_, Qt::LeftButton, {}, from);
        QTest::mouseMove(&chart_, to);
        QTest::mouseRelease(&chart_, Qt::LeftButton, {}, to);
    }

    TChart chart_;
    QImage image_;
    TChartLayout layout_;
    PaintCounter paints_;
};

TEST_F(ChartWidgetTest, CandleBodiesOutlinesAndHighLowLines) {
    const TCandleGeometry rising = Candle(0), falling = Candle(1);
    EXPECT_EQ(At(rising.column + 1, Row(1.17)), White);
    EXPECT_EQ(At(rising.column, Row(1.17)), White) << "the body covers the high-low line";
    EXPECT_EQ(At(falling.column - 1, Row(1.17)), Red);
    for (const TCandleGeometry& g : {rising, falling}) {
        EXPECT_EQ(At(g.bodyLeft, Row(1.16)), Black);
        EXPECT_EQ(At(g.bodyRight, Row(1.16)), Black);
        EXPECT_EQ(At(g.column, g.BodyTop()), Black);
        EXPECT_EQ(At(g.column, g.BodyBottom()), Black);
        EXPECT_EQ(At(g.column, g.BodyTop() - 3), Black) << "high-low line above the body";
        EXPECT_EQ(At(g.column, g.BodyBottom() + 3), Black) << "high-low line below the body";
        EXPECT_NE(At(g.column + 1, g.BodyTop() - 3), Black) << "the line is one pixel wide";
    }
    // The flat candle's body: its outline on its row and the one above.
    const TCandleGeometry flat = Candle(3);
    for (int column = flat.bodyLeft; column <= flat.bodyRight; ++column) {
        EXPECT_EQ(At(column, flat.openRow), Black);
        EXPECT_EQ(At(column, flat.openRow - 1), Black);
    }
}

TEST_F(ChartWidgetTest, SpikesOnTheCloseWave) {
    // The segment leading up into the lime point is lime, the way back down blue.
    EXPECT_TRUE(ShowsNear(Column(1.25), Row(1.175), Lime));
    EXPECT_EQ(At(Column(1.5), Row(1.16)), Blue);
    EXPECT_EQ(At(Column(2.5), Row(1.10)), Red);
    EXPECT_TRUE(ShowsNear(Column(3.0), Row(1.10), Blue));
    EXPECT_EQ(At(Column(3.5), Row(1.13)), Blue) << "no segment between points on one pixel";
}

TEST_F(ChartWidgetTest, GridThenCloseWavesThenCandlesThenOpenWaves) {
    const TCandleGeometry falling = Candle(1);
    EXPECT_EQ(At(falling.column + 1, Row(1.15)), Red);
    EXPECT_EQ(At(falling.column + 1, Row(1.14)), White);
    EXPECT_EQ(At(Column(0.5), Row(1.15)), Blue);
    EXPECT_EQ(At(Column(0.5), Row(1.14)), White);

    // A grid line through the falling body, clear of the waves: hidden there, shown beside it.
    const TAxisLabel* crossing = nullptr;
    for (const TAxisLabel& label : layout_.labels) {
        if (label.row > falling.BodyTop() + 1 && label.row < falling.BodyBottom() - 1 &&
            std::abs(label.row - Row(1.14)) > 1 && std::abs(label.row - Row(1.15)) > 1) {
            crossing = &label;
        }
    }
    ASSERT_NE(crossing, nullptr);
    EXPECT_EQ(At(falling.column + 1, crossing->row), Red);
    const QColor background = chart_.palette().color(QPalette::Button);
    int gridPixels = 0;
    for (int column = falling.bodyRight + 3; column < Candle(2).bodyLeft - 2; ++column) {
        const QColor pixel = At(column, crossing->row);
        const bool grey = pixel.red() == pixel.green() && pixel.green() == pixel.blue();
        gridPixels += grey && pixel != background && pixel.red() > 64 && pixel.red() < 200;
    }
    EXPECT_GT(gridPixels, 3);
}

TEST_F(ChartWidgetTest, TitleBandAndLabelsLeftOfTheAxis) {
    const QColor background = chart_.palette().color(QPalette::Button);
    for (int column = 0; column < image_.width(); column += 7) {
        EXPECT_EQ(At(column, 2), background);
    }
    int textPixels = 0;
    for (int column = 0; column < layout_.plot.left - TickLength; ++column) {
        for (int row = layout_.plot.top; row <= layout_.plot.bottom; ++row) {
            textPixels += At(column, row).lightness() < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(textPixels, 20);
    EXPECT_EQ(layout_.labels.front().text.find(','), 1u) << "the user's decimal separator";
    EXPECT_EQ(At(layout_.plot.left, Row(1.1)), Black) << "axis line";
}

TEST_F(ChartWidgetTest, CircleMarkersFlatChartsAndNoPoints) {
    ClearAllSeries(chart_.Model());
    image_ = RenderedChart(chart_, chart_.size());
    const QColor background = chart_.palette().color(QPalette::Button);
    for (int row = 0; row < image_.height(); row += 13) {
        for (int column = 0; column < image_.width(); column += 11) {
            ASSERT_EQ(At(column, row), background);
        }
    }
    // One flat point stays mid chart; a red point shows filled and outlined.
    chart_.Model().LineSeries2().AppendPoint(0, 1, "", std::nullopt);
    image_ = RenderedChart(chart_, chart_.size());
    layout_ = chart_.Layout(image_.rect(), &image_);
    ASSERT_TRUE(layout_.HasScales());
    EXPECT_NEAR(Column(0), (layout_.plot.left + layout_.plot.right) / 2, 1);
    EXPECT_NEAR(Row(1), (layout_.plot.top + layout_.plot.bottom) / 2, 1);
    chart_.Model().LineSeries2().AppendPoint(10, 2, "", clRed);
    image_ = RenderedChart(chart_, chart_.size());
    layout_ = chart_.Layout(image_.rect(), &image_);
    EXPECT_EQ(At(Column(10), Row(2)), Red);
    EXPECT_EQ(At(Column(10), Row(2) - MarkerRadius), Black);
    EXPECT_EQ(At(Column(10) - MarkerRadius, Row(2)), Black);
    // The first marker in the series' colour, left of where the red segment leaves it.
    EXPECT_EQ(At(Column(0) - 2, Row(1)), Blue);
}

TEST_F(ChartWidgetTest, TipOverCandlesWithoutRepaint) {
    Show();
    const TCandleGeometry rising = Candle(0), falling = Candle(1), flat = Candle(3);
    // In the rising body two columns left of its line: the mended hit test answers.
    MoveTo(QPoint(rising.column - 2, (rising.BodyTop() + rising.BodyBottom()) / 2));
    EXPECT_EQ(chart_.HintText(), "0 1,18");
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "0 1,18");
    MoveTo(QPoint(rising.column + 1, rising.BodyTop() + 1));
    MoveTo(QPoint(falling.column, falling.lowRow - 1));
    EXPECT_EQ(QToolTip::text(), "1 1,1");
    MoveTo(QPoint(flat.bodyRight + 1, flat.closeRow));
    EXPECT_EQ(chart_.HintText(), "3 1,12");
    MoveTo(QPoint(falling.column + 20, falling.highRow));
    EXPECT_EQ(chart_.HintText(), "");
    for (int wait = 0; wait < 40 && QToolTip::isVisible(); ++wait) {
        QTest::qWait(50);
    }
    EXPECT_FALSE(QToolTip::isVisible());
    MoveTo(QPoint(falling.column + 25, falling.highRow));
    QTest::qWait(20);
    EXPECT_EQ(paints_.paints, 0) << "mouse moves repaint nothing";

    chart_.Model().Series17().AppendCandle(1.12, 1.13, 1.11, 1.125);
    QTest::qWait(20);
    EXPECT_GT(paints_.paints, 0) << "a change of points repaints";
}

TEST_F(ChartWidgetTest, DragDownRightZoomsAndUpLeftOrANewRunReturns) {
    Show();
    const TChartLayout before = chart_.Layout(chart_.rect());
    const QPoint from(before.plot.left + 40, before.plot.top + 30);
    const QPoint to(from + QPoint(120, 90));
    Drag(from, to);
    ASSERT_TRUE(chart_.IsZoomed());
    const TChartLayout zoomed = chart_.Layout(chart_.rect());
    EXPECT_DOUBLE_EQ(zoomed.x->Range().low, before.x->ValueAt(from.x()));
    EXPECT_DOUBLE_EQ(zoomed.x->Range().high, before.x->ValueAt(to.x()));
    EXPECT_DOUBLE_EQ(zoomed.y->Range().high, before.y->ValueAt(from.y()));
    EXPECT_DOUBLE_EQ(zoomed.y->Range().low, before.y->ValueAt(to.y()));
    Drag(to, to - QPoint(10, 10));
    EXPECT_TRUE(chart_.IsZoomed()) << "too short a drag";
    Drag(to, from);
    EXPECT_FALSE(chart_.IsZoomed());
    EXPECT_EQ(chart_.Layout(chart_.rect()).x->Range(), before.x->Range());

    // A run empties the candles before refilling them: that drops the zoom, other series don't.
    Drag(from, to);
    chart_.Model().LineSeries3().ClearPoints();
    EXPECT_TRUE(chart_.IsZoomed());
    chart_.Model().Series17().ClearPoints();
    EXPECT_FALSE(chart_.IsZoomed());
}

// Leaves the picture of a run over a random walk in the build folder for a person to look at.
TEST(ChartScreenshotTest, RandomWalkRun) {
    TChart chart;
    FillSampleRun(chart.Model(), 400, 7);
    const QImage image = RenderedChart(chart, QSize(1200, 700));
    int lime = 0, red = 0, white = 0;
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            const QColor pixel = image.pixelColor(column, row);
            lime += pixel == Lime;
            red += pixel == Red;
            white += pixel == White;
        }
    }
    EXPECT_GT(lime, 20);
    EXPECT_GT(red, 1000);
    EXPECT_GT(white, 1000);
    const QString folder = QStringLiteral(QUILLON_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(image.save(folder + "/chart.png"));
}

} // namespace
} // namespace quillon

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
