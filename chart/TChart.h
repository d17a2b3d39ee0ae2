#pragma once

#include <QWidget>
#include <optional>
#include <span>

#include "chart/ChartLayout.h"
#include "chart/ChartModel.h"
#include "chart/HoverTip.h"

class QRubberBand;

namespace quillon {

// The chart widget: paints its layers with automatic scales and price labels on the left,
// shows a tip over the candle under the pointer, and zooms to a rectangle dragged with the left
// button. Any change of the model (points or zoom) schedules a repaint.
class TChart : public QWidget {
    Q_OBJECT

public:
    explicit TChart(QWidget* parent = nullptr);
    // A chart of line layers only, one for each look (see TChartModel).
    TChart(std::span<const TLineLook> lines, std::string axisFormat, QWidget* parent = nullptr);

    TChartModel& Model() { return model_; }
    const TChartModel& Model() const { return model_; }

    // Paints the chart into `area` of any paint device, laid out as for that size.
    void Render(QPainter& painter, const QRect& area) const;
    // Where the labels, the plot and the series fall when the chart fills `area` of `device`,
    // or of the widget itself when none is given.
    TChartLayout Layout(const QRect& area, const QPaintDevice* device = nullptr) const;

    // The hint text: the tip over the candle last pointed at, empty once the pointer has moved
    // over no candle.
    QString HintText() const;

    // The leftmost column, from `left` on, at which a line of text over the chart in rows
    // top..bottom clears the price labels and the axis line as they now stand.
    int LeftClearOfLabels(int top, int bottom, int left) const;

    bool IsZoomed() const { return model_.Zoom().has_value(); }

    // Taken from the system locale at construction.
    const TNumberSeparators& NumberSeparators() const { return separators_; }
    void SetNumberSeparators(const TNumberSeparators& separators);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateHoverTip(const QPoint& at, const QPoint& globalAt);
    void FinishDrag(const QPoint& at);
    void ZoomTo(const QRect& dragged);
    // The layout of the widget's own area, if it has scales.
    std::optional<TChartLayout> ScaledLayout() const;

    TChartModel model_;
    TNumberSeparators separators_;
    THoverTip hoverTip_;
    std::optional<QPoint> dragStart_;
    QRubberBand* rubberBand_;
};

} // namespace quillon
