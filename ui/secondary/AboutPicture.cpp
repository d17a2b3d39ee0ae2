#include "ui/secondary/AboutPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "bars/RunWaves.h"
#include "chart/ChartFeed.h"
#include "chart/TChart.h"
#include "chart/WindowFont.h"

namespace quillon {

namespace {

constexpr QSize PictureSize(480, 360);
constexpr QRect ChartArea(0, 88, 480, 272);
constexpr int CandleCount = 56;
// Lags short enough for so few candles that the waves follow the swings and turn a few times.
constexpr int PictureLag1 = 12;
constexpr int PictureLag2 = 5;

// A price that swings slowly with a faster ripple on top; fixed, so the picture never changes.
void MakeUpBars(TBarTable& bars) {
    double previousClose = 1.1;
    for (int i = 0; i < CandleCount; ++i) {
        const double close = 1.1 + 0.007 * std::sin(i / 8.0) + 0.0022 * std::sin(i / 1.7) +
                             0.0011 * std::cos(i * 2.3);
        const double wick = 0.0006 + 0.0005 * std::fabs(std::sin(i * 1.3));
        bars.BarOpen[i] = previousClose;
        bars.BarHigh[i] = std::max(previousClose, close) + wick;
        bars.BarLow[i] = std::min(previousClose, close) - wick;
        bars.BarClose[i] = close;
        previousClose = close;
    }
}

void DrawTitle(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, ChartArea.top());
    sky.setColorAt(0.0, QColor(12, 24, 52));
    sky.setColorAt(1.0, QColor(34, 62, 110));
    painter.fillRect(QRect(0, 0, PictureSize.width(), ChartArea.top()), sky);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(40);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(252, 209, 36));
    painter.drawText(QPointF(24, 50), QStringLiteral("Quillon"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(15);
    painter.setFont(subtitle);
    painter.setPen(QColor(220, 230, 255));
    painter.drawText(QPointF(26, 74), QStringLiteral("waves in the price bars"));
}

} // namespace

QImage DrawAboutPicture() {
    // Some 64 KB together: kept off the stack.
    const auto bars = std::make_unique<TBarTable>();
    const auto waves = std::make_unique<TRunWaves>();
    MakeUpBars(*bars);
    WorkOutWaves(*bars, CandleCount, PictureLag1, PictureLag2, *waves, 1);
    TChart chart;
    UseWindowFont(chart);
    FeedChart(*bars, *waves, CandleCount, chart.Model());

    QImage picture(PictureSize, QImage::Format_RGB32);
    QPainter painter(&picture);
    DrawTitle(painter);
    chart.Render(painter, ChartArea);
    painter.end();
    return picture.convertToFormat(QImage::Format_RGB888);
}

} // namespace quillon
