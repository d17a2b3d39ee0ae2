#include "ui/secondary/AboutPicture.h"

#include <cmath>
#include <vector>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quillon {

namespace {

constexpr QSize PictureSize(480, 360);
constexpr int CandleCount = 56;
constexpr QRectF PlotArea(24, 92, 432, 196);

struct TPictureCandle {
    double open;
    double high;
    double low;
    double close;
};

// A price that swings slowly with a faster ripple on top; fixed, so the picture never changes.
std::vector<TPictureCandle> MadeUpCandles() {
    std::vector<TPictureCandle> candles;
    double previousClose = 100.0;
    for (int i = 0; i < CandleCount; ++i) {
        const double close =
            100.0 + 7.0 * std::sin(i / 8.0) + 2.2 * std::sin(i / 1.7) + 1.1 * std::cos(i * 2.3);
        const double wick = 0.6 + 0.5 * std::fabs(std::sin(i * 1.3));
        candles.push_back({previousClose, std::max(previousClose, close) + wick,
                           std::min(previousClose, close) - wick, close});
        previousClose = close;
    }
    return candles;
}

// The mean of the closes over a window that ends at each candle.
std::vector<double> TrailingMean(const std::vector<TPictureCandle>& candles, int window) {
    std::vector<double> mean;
    double sum = 0.0;
    for (int i = 0; i < static_cast<int>(candles.size()); ++i) {
        sum += candles[i].close;
        if (i >= window) {
            sum -= candles[i - window].close;
        }
        mean.push_back(sum / std::min(i + 1, window));
    }
    return mean;
}

class TPicturePlot {
public:
    TPicturePlot(double low, double high)
        : low_(low)
        , high_(high) {}

    double X(int i) const { return PlotArea.left() + (i + 0.5) * PlotArea.width() / CandleCount; }
    double Y(double price) const {
        return PlotArea.bottom() - (price - low_) / (high_ - low_) * PlotArea.height();
    }

private:
    double low_;
    double high_;
};

void DrawBackground(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, PictureSize.height());
    sky.setColorAt(0.0, QColor(12, 24, 52));
    sky.setColorAt(1.0, QColor(34, 62, 110));
    painter.fillRect(QRect(QPoint(0, 0), PictureSize), sky);
    painter.setPen(QPen(QColor(255, 255, 255, 28), 1));
    for (int y = 100; y < 300; y += 28) {
        painter.drawLine(QPointF(PlotArea.left(), y), QPointF(PlotArea.right(), y));
    }
}

void DrawCandles(QPainter& painter, const TPicturePlot& plot,
                 const std::vector<TPictureCandle>& candles) {
    for (int i = 0; i < static_cast<int>(candles.size()); ++i) {
        const TPictureCandle& c = candles[i];
        const double x = plot.X(i);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(QPointF(x, plot.Y(c.high)), QPointF(x, plot.Y(c.low)));
        const QRectF body(QPointF(x - 3, plot.Y(std::max(c.open, c.close))),
                          QPointF(x + 3, plot.Y(std::min(c.open, c.close)) + 1));
        painter.setBrush(c.close >= c.open ? QColor(Qt::white) : QColor(Qt::red));
        painter.drawRect(body);
    }
}

void DrawWave(QPainter& painter, const TPicturePlot& plot, const std::vector<double>& wave,
              const QColor& colour, int width) {
    QPainterPath path;
    path.moveTo(plot.X(0), plot.Y(wave[0]));
    for (int i = 1; i < static_cast<int>(wave.size()); ++i) {
        path.lineTo(plot.X(i), plot.Y(wave[i]));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, width));
    painter.drawPath(path);
}

// Lime where both waves rose over the step before, red where both fell.
void DrawTurnMarks(QPainter& painter, const TPicturePlot& plot, const std::vector<double>& slow,
                   const std::vector<double>& fast) {
    painter.setPen(Qt::NoPen);
    for (int i = 2; i < static_cast<int>(slow.size()); ++i) {
        const bool up = slow[i - 1] > slow[i - 2] && fast[i - 1] > fast[i - 2];
        const bool down = slow[i - 1] < slow[i - 2] && fast[i - 1] < fast[i - 2];
        if (up || down) {
            painter.setBrush(up ? QColor(0, 255, 0) : QColor(255, 0, 0));
            painter.drawEllipse(QPointF(plot.X(i), plot.Y(slow[i]) + (up ? -5 : 5)), 2.2, 2.2);
        }
    }
}

void DrawOscillation(QPainter& painter, const std::vector<double>& slow,
                     const std::vector<double>& fast) {
    QPainterPath path;
    for (int i = 0; i < static_cast<int>(slow.size()); ++i) {
        const double x = PlotArea.left() + (i + 0.5) * PlotArea.width() / CandleCount;
        const double y = 318 - 6.0 * (fast[i] - slow[i]);
        i == 0 ? path.moveTo(x, y) : path.lineTo(x, y);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 210), 1.5));
    painter.drawPath(path);
}

void DrawTitle(QPainter& painter) {
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(40);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(252, 209, 36));
    painter.drawText(QPointF(24, 56), QStringLiteral("Quillon"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(15);
    painter.setFont(subtitle);
    painter.setPen(QColor(220, 230, 255));
    painter.drawText(QPointF(26, 78), QStringLiteral("waves in the price bars"));
}

} // namespace

QImage DrawAboutPicture() {
    QImage picture(PictureSize, QImage::Format_ARGB32_Premultiplied);
    const std::vector<TPictureCandle> candles = MadeUpCandles();
    const std::vector<double> slow = TrailingMean(candles, 9);
    const std::vector<double> fast = TrailingMean(candles, 4);
    double low = candles.front().low;
    double high = candles.front().high;
    for (const TPictureCandle& c : candles) {
        low = std::min(low, c.low);
        high = std::max(high, c.high);
    }
    const TPicturePlot plot(low, high);

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawBackground(painter);
    DrawWave(painter, plot, fast, QColor(130, 155, 254), 2);
    DrawCandles(painter, plot, candles);
    DrawWave(painter, plot, slow, QColor(80, 120, 255), 3);
    DrawTurnMarks(painter, plot, slow, fast);
    DrawOscillation(painter, slow, fast);
    DrawTitle(painter);
    painter.end();
    return picture.convertToFormat(QImage::Format_RGB888);
}

} // namespace quillon
