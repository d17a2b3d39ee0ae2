#pragma once

#include <QWidget>

#include "chart/ChartModel.h"

namespace quillon {

// The chart widget: paints its series model with QPainter and repaints after any change of
// points.
class TChart : public QWidget {
    Q_OBJECT

public:
    explicit TChart(QWidget* parent = nullptr);

    TChartModel& Model() { return model_; }
    const TChartModel& Model() const { return model_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TChartModel model_;
};

} // namespace quillon
