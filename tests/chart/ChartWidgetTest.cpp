#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QToolTip>
#include <tuple>

#include "ChartTestSupport.h"
#include "PixelCount.h"
#include "chart/Candles.h"
#include "chart/TChart.h"

namespace quillon {
namespace {

const QColor White(Qt::white), Red(Qt::red), Black(Qt::black), Blue(Qt::blue), Lime(0, 255, 0);

struct CountingChart : TChart {
    int paints = 0;
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        TChart::paintEvent(event);
    }
};

// Candles at x 0..3: rising, falling, rising, flat; LineSeries3 runs between them with a lime spike
// up at x 1.5 and a red one down at x 2.5; LineSeries4 lies under the candles, Series18 over them.
class ChartWidgetTest : public testing::Test {
protected:
    void SetUp() override {
        chart_.SetNumberSeparators(TNumberSeparators{",", "."});
        chart_.resize(400, 300);
        TChartModel& model = chart_.Model();
        ClearAllSeries(model);
        model.Series17().AppendCandle(1.10, 1.22, 1.06, 1.18);
        model.Series17().AppendCandle(1.18, 1.20, 1.04, 1.10);
        model.Series17().AppendCandle(1.12, 1.17, 1.11, 1.16);
        model.Series17().AppendCandle(1.12, 1.17, 1.11, 1.12);
        // The last point lies on the pixel of the one before: no segment, the pixel stays blue.
        const std::tuple<double, double, TPointColor> wave[] = {
            {0.5, 1.13, {}},    {1.5, 1.19, clLime}, {1.5, 1.13, {}},   {2.5, 1.13, {}},
            {2.5, 1.07, clRed}, {3.5, 1.13, {}},     {3.5, 1.13, clRed}};
        for (const auto& [x, y, color] : wave) {
            model.LineSeries3().AppendPoint(x, y, "", color);
        }
        for (const double x : {0, 3}) {
            model.LineSeries4().AppendPoint(x, 1.15, "", std::nullopt);
            model.Series18().AppendPoint(x, 1.14, "", std::nullopt);
        }
        Render();
        ASSERT_TRUE(layout_.HasScales());
    }

    void Render() {
        image_ = QImage(chart_.size(), QImage::Format_RGB32);
        image_.fill(Qt::magenta);
        QPainter painter(&image_);
        chart_.Render(painter, image_.rect());
        layout_ = chart_.Layout(image_.rect(), &image_);
    }
    int Column(double x) const { return layout_.x->Pixel(x); }
    int Row(double y) const { return layout_.y->Pixel(y); }
    QColor At(int column, int row) const { return image_.pixelColor(column, row); }
    bool ShowsNear(int column, int row, const QColor& color) const {
        return CountPixels(image_, QRect(column - 1, row - 1, 3, 3), color) > 0;
    }
    TCandleGeometry Candle(int index) const {
        return CandleGeometryOf(chart_.Model().Series17().Candles()[index], *layout_.x, *layout_.y);
    }

    void MoveTo(QPoint at) {
        QTest::mouseMove(&chart_, at);
        QCoreApplication::processEvents();
    }

    CountingChart chart_;
    QImage image_;
    TChartLayout layout_;
};

TEST_F(ChartWidgetTest, SeriesInListOrderGridLabelsAndMarkersWhereTheLayoutPutsThem) {
    const TCandleGeometry rising = Candle(0), falling = Candle(1), flat = Candle(3);
    const std::tuple<const char*, int, int, QColor> probes[] = {
        {"rising body", rising.column + 1, Row(1.17), White},
        {"falling body", falling.column - 1, Row(1.17), Red},
        {"body's left edge", rising.bodyLeft, Row(1.16), Black},
        {"falling body's bottom", falling.column, falling.BodyBottom(), Black},
        {"high-low line above the body", rising.column, rising.BodyTop() - 3, Black},
        {"flat body's row", flat.bodyLeft + 1, flat.openRow, Black},
        {"flat body's row above", flat.bodyRight - 1, flat.openRow - 1, Black},
        {"segment down from the lime spike", Column(1.5), Row(1.16), Blue},
        {"the red spike", Column(2.5), Row(1.10), Red},
        {"no segment between points on one pixel", Column(3.5), Row(1.13), Blue},
        {"close wave", Column(0.5), Row(1.15), Blue},
        {"candles over the close waves", falling.column + 1, Row(1.15), Red},
        {"open waves over the candles", falling.column + 1, Row(1.14), White},
    };
    for (const auto& [what, column, row, color] : probes) {
        EXPECT_EQ(At(column, row), color) << what;
    }
    EXPECT_NE(At(rising.column + 1, rising.BodyTop() - 3), Black) << "a one-pixel high-low line";
    EXPECT_TRUE(ShowsNear(Column(1.25), Row(1.175), Lime)) << "the segment into the lime spike";
    EXPECT_TRUE(ShowsNear(Column(3.0), Row(1.10), Blue)) << "the segment out of the red spike";

    // A grid line through the falling body, clear of the waves: hidden there, shown beside it.
    const auto crossing = std::find_if(layout_.labels.begin(), layout_.labels.end(), [&](auto& l) {
        return l.row > falling.BodyTop() + 1 && l.row < falling.BodyBottom() - 1 &&
               std::abs(l.row - Row(1.14)) > 1 && std::abs(l.row - Row(1.15)) > 1;
    });
    ASSERT_NE(crossing, layout_.labels.end());
    const QRect inside(falling.bodyLeft + 1, crossing->row,
                       falling.bodyRight - falling.bodyLeft - 1, 1);
    EXPECT_EQ(CountPixels(image_, inside, Red), inside.width());
    const QColor background = chart_.palette().color(QPalette::Button);
    const auto grid = [&](QColor c) {
        return c.saturation() == 0 && c.lightness() > 64 && c.lightness() < 200 && c != background;
    };
    EXPECT_GT(CountPixels(image_, QRect(falling.bodyRight + 3, crossing->row, 40, 1), grid), 3);

    // Each label's ink is centred on its grid line, but for those kept inside the chart's edges.
    const int line = QFontMetrics(chart_.font(), &image_).height();
    const auto dark = [](QColor pixel) { return pixel.lightness() < 128; };
    for (const TAxisLabel& label : layout_.labels) {
        if (label.row - line < layout_.area.top || label.row + line > layout_.area.bottom) {
            continue;
        }
        std::vector<int> inked;
        for (int row = label.row - line * 3 / 4; row <= label.row + line * 3 / 4; ++row) {
            if (CountPixels(image_, QRect(0, row, layout_.plot.left - TickLength, 1), dark) > 0) {
                inked.push_back(row);
            }
        }
        ASSERT_FALSE(inked.empty()) << label.text;
        EXPECT_LE(std::abs(inked.front() + inked.back() - 2 * label.row), line / 2) << label.text;
    }
    // Scales over every point and price; labels clear of each other and of the title band.
    EXPECT_EQ(layout_.y->Range(), (TValueRange{1.04, 1.22}));
    EXPECT_GE(layout_.labels[0].row - layout_.labels[1].row, line * 3 / 2);
    EXPECT_GT(layout_.plot.top, line);
    EXPECT_EQ(At(layout_.plot.left, Row(1.1)), Black) << "axis line";

    // Circle markers: the first in the series' colour, left of where the red segment leaves it.
    ClearAllSeries(chart_.Model());
    chart_.Model().LineSeries2().AppendPoint(0, 1, "", std::nullopt);
    chart_.Model().LineSeries2().AppendPoint(10, 2, "", clRed);
    Render();
    EXPECT_EQ(At(Column(10), Row(2)), Red);
    EXPECT_EQ(At(Column(10), Row(2) - MarkerRadius), Black);
    EXPECT_EQ(At(Column(0) - 2, Row(1)), Blue);

    // Marks: a lime triangle pointing up under its point, a red one pointing down over it, each
    // kept inside the plot.
    ClearAllSeries(chart_.Model());
    chart_.Model().Marks().AppendMark(0, 1, true);
    chart_.Model().Marks().AppendMark(10, 2, false);
    Render();
    const int up = Row(1) + MarkGap, down = Row(2) - MarkGap, last = MarkSize - 1;
    EXPECT_EQ(std::vector({At(Column(0), up), At(Column(0) - 2, up + last), At(Column(0) - 1, up),
                           At(Column(10) + 2, down - last), At(Column(10), down + 1)}),
              std::vector({Lime, Lime, background, Red, background}));
    EXPECT_TRUE(layout_.plot.Contains(Column(0) - 2, up + last + 1));
    EXPECT_TRUE(layout_.plot.Contains(Column(10) + 2, down - last - 1));
}

// In the rising body two columns left of its line the mended hit test answers; mouse moves
// repaint nothing. A drag down and right over 16 pixels both ways zooms to the dragged values; as
// far up and left returns.
TEST_F(ChartWidgetTest, TipOverCandlesWithoutRepaintAndDragZooms) {
    chart_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart_));
    layout_ = chart_.Layout(chart_.rect());
    QTest::qWait(20);
    chart_.paints = 0;
    const TCandleGeometry rising = Candle(0), falling = Candle(1);
    MoveTo(QPoint(rising.column - 2, (rising.BodyTop() + rising.BodyBottom()) / 2));
    EXPECT_EQ(QToolTip::text(), "0 1,18") << "shown at once";
    MoveTo(QPoint(falling.column, falling.lowRow - 1));
    EXPECT_EQ(QToolTip::text(), "1 1,1");
    MoveTo(QPoint(falling.column + 20, falling.highRow));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); })) << "the tip hides";
    QTest::qWait(20);
    EXPECT_EQ(chart_.paints, 0) << "mouse moves repaint nothing";

    const QPoint from(layout_.plot.left + 40, layout_.plot.top + 30), to(from + QPoint(120, 90));
    const TChartRanges dragged{{layout_.x->ValueAt(from.x()), layout_.x->ValueAt(to.x())},
                               {layout_.y->ValueAt(to.y()), layout_.y->ValueAt(from.y())}};
    const std::tuple<QPoint, QPoint, bool> drags[] = {{from, to, true},
                                                      {to, to - QPoint(15, 15), true},
                                                      {to, to - QPoint(16, 16), false},
                                                      {from, from + QPoint(15, 90), false}};
    for (const auto& [start, end, zoomed] : drags) {
        QTest::mousePress(&chart_, Qt::LeftButton, {}, start);
        QTest::mouseMove(&chart_, end);
        QTest::mouseRelease(&chart_, Qt::LeftButton, {}, end);
        EXPECT_EQ(chart_.Model().Zoom(), zoomed ? std::optional(dragged) : std::nullopt);
        EXPECT_EQ(chart_.Layout(chart_.rect()).x->Range(), zoomed ? dragged.x : layout_.x->Range());
    }
    // Two rows of the plot under a drag are two distinct ends, enough to zoom to.
    const QPoint edge(layout_.plot.left + 40, layout_.plot.bottom - 1),
        beyond(edge + QPoint(60, 40));
    QTest::mousePress(&chart_, Qt::LeftButton, {}, edge);
    QTest::mouseMove(&chart_, beyond);
    QTest::mouseRelease(&chart_, Qt::LeftButton, {}, beyond);
    EXPECT_TRUE(chart_.Model().Zoom());
    chart_.paints = 0;
    chart_.Model().Series17().AppendCandle(1.12, 1.13, 1.11, 1.125);
    QTest::qWait(20);
    EXPECT_GT(chart_.paints, 0) << "a change of points repaints";
}

} // namespace
} // namespace quillon

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
