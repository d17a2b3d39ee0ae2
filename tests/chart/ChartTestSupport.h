#pragma once

#include <QImage>
#include <QPainter>

#include "chart/ChartModel.h"
#include "chart/TChart.h"

namespace quillon {

inline void ClearAllSeries(TChartModel& model) {
    for (int i = 0; i < TChartModel::SeriesCount; ++i) {
        if (TChartModel::IsCandleSeries(i)) {
            model.Series17().ClearPoints();
        } else {
            model.LineSeriesAt(i).ClearPoints();
        }
    }
}

inline QImage RenderedChart(const TChart& chart, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    chart.Render(painter, image.rect());
    return image;
}

inline QColor ToQColor(TColor color) {
    return QColor(color.red, color.green, color.blue);
}

} // namespace quillon
