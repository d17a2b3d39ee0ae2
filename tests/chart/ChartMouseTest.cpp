#include <gtest/gtest.h>

#include <QTest>
#include <QToolTip>

#include "ChartTestSupport.h"
#include "chart/Candles.h"

namespace quillon {
namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

// A shown chart with a rising candle at x 0, a falling one at x 1 and a flat one at x 2.
class ChartMouseTest : public testing::Test {
protected:
    void SetUp() override {
        chart_.SetNumberSeparators(TNumberSeparators{",", "."});
        TChartModel& model = chart_.Model();
        ClearAllSeries(model);
        model.Series17().AppendCandle(1.20, 1.30, 1.15, 1.25);
        model.Series17().AppendCandle(1.25, 1.28, 1.10, 1.12);
        model.Series17().AppendCandle(1.12, 1.20, 1.05, 1.12);
        chart_.resize(400, 300);
        chart_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart_));
        chart_.installEventFilter(&paints_);
        QTest::qWait(20);
        paints_.paints = 0;
    }

    TCandleGeometry Candle(int index) const {
        const TChartLayout layout = chart_.Layout(chart_.rect());
        return CandleGeometryOf(chart_.Model().Series17().Candles()[index], *layout.x, *layout.y);
    }
    void MoveTo(QPoint at) {
        QTest::mouseMove(&chart_, at);
        QCoreApplication::processEvents();
    }
    static bool TipHidesSoon() {
        for (int wait = 0; wait < 40 && QToolTip::isVisible(); ++wait) {
            QTest::qWait(50);
        }
        return !QToolTip::isVisible();
    }

    TChart chart_;
    PaintCounter paints_;
};

TEST_F(ChartMouseTest, TipOverCandlesWithoutRepaint) {
    const TCandleGeometry rising = Candle(0);
    const TCandleGeometry falling = Candle(1);
    // In the rising body two columns left of its line: the mended hit test answers.
    MoveTo(QPoint(rising.column - 2, (rising.BodyTop() + rising.BodyBottom()) / 2));
    EXPECT_EQ(chart_.HintText(), "0 1,25");
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "0 1,25");
    MoveTo(QPoint(rising.column + 1, rising.BodyTop() + 1));
    EXPECT_EQ(chart_.HintText(), "0 1,25");
    MoveTo(QPoint(falling.column, falling.lowRow - 1));
    EXPECT_EQ(chart_.HintText(), "1 1,12");
    EXPECT_EQ(QToolTip::text(), "1 1,12");
    MoveTo(QPoint(falling.column + 20, falling.highRow));
    EXPECT_EQ(chart_.HintText(), "");
    EXPECT_TRUE(TipHidesSoon());
    MoveTo(QPoint(falling.column + 25, falling.highRow));
    EXPECT_EQ(chart_.HintText(), "");
    QTest::qWait(20);
    EXPECT_EQ(paints_.paints, 0) << "mouse moves repaint nothing";

    chart_.Model().Series17().AppendCandle(1.12, 1.13, 1.11, 1.125);
    QTest::qWait(20);
    EXPECT_GT(paints_.paints, 0) << "a change of points repaints";
}

TEST_F(ChartMouseTest, FlatCandleBodyAnswers) {
    const TCandleGeometry flat = Candle(2);
    MoveTo(QPoint(flat.bodyRight + 1, flat.closeRow));
    EXPECT_EQ(chart_.HintText(), "2 1,12");
}

TEST_F(ChartMouseTest, DragDownRightZoomsAndUpLeftReturns) {
    const TChartLayout before = chart_.Layout(chart_.rect());
    const QPoint from(before.plot.left + 40, before.plot.top + 30);
    const QPoint to(from + QPoint(120, 90));
    QTest::mousePress(&chart_, Qt::LeftButton, {}, from);
    QTest::mouseMove(&chart_, to);
    QTest::mouseRelease(&chart_, Qt::LeftButton, {}, to);
    ASSERT_TRUE(chart_.IsZoomed());
    const TChartLayout zoomed = chart_.Layout(chart_.rect());
    EXPECT_DOUBLE_EQ(zoomed.x->Range().low, before.x->ValueAt(from.x()));
    EXPECT_DOUBLE_EQ(zoomed.x->Range().high, before.x->ValueAt(to.x()));
    EXPECT_DOUBLE_EQ(zoomed.y->Range().high, before.y->ValueAt(from.y()));
    EXPECT_DOUBLE_EQ(zoomed.y->Range().low, before.y->ValueAt(to.y()));

    // Too short a drag leaves the zoom as it is.
    QTest::mousePress(&chart_, Qt::LeftButton, {}, to);
    QTest::mouseRelease(&chart_, Qt::LeftButton, {}, to - QPoint(10, 10));
    EXPECT_TRUE(chart_.IsZoomed());

    QTest::mousePress(&chart_, Qt::LeftButton, {}, to);
    QTest::mouseMove(&chart_, from);
    QTest::mouseRelease(&chart_, Qt::LeftButton, {}, from);
    EXPECT_FALSE(chart_.IsZoomed());
    EXPECT_EQ(chart_.Layout(chart_.rect()).x->Range(), before.x->Range());
}

TEST_F(ChartMouseTest, EmptyingTheCandlesDropsTheZoom) {
    const TChartLayout before = chart_.Layout(chart_.rect());
    const QPoint from(before.plot.left + 40, before.plot.top + 30);
    QTest::mousePress(&chart_, Qt::LeftButton, {}, from);
    QTest::mouseRelease(&chart_, Qt::LeftButton, {}, from + QPoint(50, 50));
    ASSERT_TRUE(chart_.IsZoomed());
    chart_.Model().LineSeries3().ClearPoints();
    EXPECT_TRUE(chart_.IsZoomed());
    chart_.Model().Series17().ClearPoints();
    EXPECT_FALSE(chart_.IsZoomed());

    chart_.Model().Series17().AppendCandle(1, 2, 0.5, 1.5);
    QTest::mousePress(&chart_, Qt::LeftButton, {}, from);
    QTest::mouseRelease(&chart_, Qt::LeftButton, {}, from + QPoint(50, 50));
    ASSERT_TRUE(chart_.IsZoomed());
    chart_.ResetZoom();
    EXPECT_FALSE(chart_.IsZoomed());
}

} // namespace
} // namespace quillon
