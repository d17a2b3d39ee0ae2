#include "chart/ChartPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <array>
#include <optional>

#include "chart/Candles.h"
#include "chart/ChartModel.h"

namespace quillon {

namespace {

const QColor GridColor(128, 128, 128);
const QColor AxisColor(0, 0, 0);

QColor ToQColor(TColor color) {
    return QColor(color.red, color.green, color.blue);
}

QRect ToQRect(const TPixelRect& rect) {
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right, rect.bottom));
}

// Solid one-pixel pens by colour. A series switches between a handful of colours (its own and a
// few point colours); keeping their pens spares Qt a new pen at every switch.
class TPenCache {
public:
    const QPen& PenFor(TColor color) {
        for (std::size_t i = 0; i < colors_.size(); ++i) {
            if (colors_[i] == color) {
                return pens_[i];
            }
        }
        const std::size_t slot = next_;
        next_ = (next_ + 1) % colors_.size();
        colors_[slot] = color;
        pens_[slot] = QPen(ToQColor(color), 0);
        return pens_[slot];
    }

private:
    std::array<std::optional<TColor>, 8> colors_;
    std::array<QPen, 8> pens_;
    std::size_t next_ = 0;
};

void PaintLeftAxis(QPainter& painter, const TChartLayout& layout) {
    const TPixelRect& plot = layout.plot;
    painter.setPen(QPen(GridColor, 0, Qt::DotLine));
    for (const TAxisLabel& label : layout.labels) {
        painter.drawLine(plot.left + 1, label.row, plot.right, label.row);
    }
    painter.setPen(QPen(AxisColor, 0));
    painter.drawLine(plot.left, plot.top, plot.left, plot.bottom);
    const int lineHeight = painter.fontMetrics().height();
    for (const TAxisLabel& label : layout.labels) {
        painter.drawLine(plot.left - TickLength, label.row, plot.left - 1, label.row);
        painter.drawText(ToQRect(LabelTextBox(layout, label, lineHeight)),
                         Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(label.text));
    }
}

// A pen of the line's look; the main chart's lines are all solid and one pixel wide.
QPen StrokeOf(TColor color, TLineStyle style, int width) {
    QPen pen(ToQColor(color), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (style == TLineStyle::Dash) {
        pen.setDashPattern({6, 4});
    } else if (style == TLineStyle::Dot) {
        pen.setDashPattern({1, 3});
    }
    return pen;
}

// A line of a look of its own, in one stroke so that its dashes run on from point to point.
void PaintStyledLine(QPainter& painter, const TLineSeries& series, const TChartLayout& layout) {
    QPolygon line;
    for (const TLinePoint& point : series.Points()) {
        const QPoint at(layout.x->Pixel(point.x), layout.y->Pixel(point.y));
        if (line.isEmpty() || line.back() != at) {
            line << at;
        }
    }
    painter.setPen(StrokeOf(series.Color(), series.LineStyle(), series.LineWidth()));
    painter.drawPolyline(line);
}

void PaintLayer(QPainter& painter, const TLineSeries& series, const TChartLayout& layout,
                TPenCache& pens) {
    if (series.LineStyle() != TLineStyle::Solid || series.LineWidth() != 1) {
        PaintStyledLine(painter, series, layout);
        return;
    }
    std::optional<QPoint> previous;
    for (const TLinePoint& point : series.Points()) {
        const QPoint at(layout.x->Pixel(point.x), layout.y->Pixel(point.y));
        const TColor color = point.color.value_or(series.Color());
        if (previous && at != *previous) {
            painter.setPen(pens.PenFor(color));
            painter.drawLine(*previous, at);
        }
        if (series.MarkersVisible()) {
            painter.setPen(pens.PenFor(clBlack));
            painter.setBrush(ToQColor(color));
            painter.drawEllipse(at, MarkerRadius, MarkerRadius);
            painter.setBrush(Qt::NoBrush);
        }
        previous = at;
    }
}

// The high-low line first, then the body over it, filled and outlined in the border colour.
void PaintLayer(QPainter& painter, const TCandleSeries& series, const TChartLayout& layout,
                TPenCache& pens) {
    const std::vector<TCandle>& candles = series.Candles();
    painter.setPen(pens.PenFor(TCandleSeries::BorderColor));
    for (std::size_t i = 0; i < candles.size(); ++i) {
        const TCandleGeometry g = CandleGeometryOf(candles[i], *layout.x, *layout.y);
        if (g.bodyRight < layout.plot.left || g.bodyLeft > layout.plot.right) {
            continue;
        }
        painter.drawLine(g.column, g.lowRow, g.column, g.highRow);
        const int top = g.BodyTop();
        const int bottom = g.BodyBottom();
        if (bottom - top > 1) {
            const TColor fill = CandleColor(candles, static_cast<int>(i), series.Color());
            painter.fillRect(
                QRect(QPoint(g.bodyLeft + 1, top + 1), QPoint(g.bodyRight - 1, bottom - 1)),
                ToQColor(fill));
        }
        painter.drawRect(QRect(g.bodyLeft, top, g.bodyRight - g.bodyLeft, bottom - top));
    }
}

// Row by row from the tip, which lies MarkGap rows off the point: one pixel wide, then three,
// then five.
void PaintLayer(QPainter& painter, const TMarkSeries& series, const TChartLayout& layout,
                TPenCache& pens) {
    for (const TMark& mark : series.Points()) {
        const int column = layout.x->Pixel(mark.x);
        const int direction = mark.up ? 1 : -1;
        const int tip = layout.y->Pixel(mark.y) + direction * MarkGap;
        painter.setPen(pens.PenFor(mark.up ? TMarkSeries::UpColor : TMarkSeries::DownColor));
        for (int step = 0; step < MarkSize; ++step) {
            const int row = tip + direction * step;
            painter.drawLine(column - step / 2, row, column + step / 2, row);
        }
    }
}

// In the title band, right of the price labels: for each named line a short stroke of its look
// and its name, the line on top first, as many as the band has room for.
void PaintLegend(QPainter& painter, const TChartModel& model, const TChartLayout& layout) {
    constexpr int StrokeLength = 18;
    constexpr int Gap = 4;
    constexpr int EntryGap = 14;
    const QFontMetrics metrics = painter.fontMetrics();
    const int top = layout.area.top;
    const int middle = top + metrics.height() / 2;
    int left = layout.plot.left + 2;
    const std::span<const TChartLayer> layers = model.Layers();
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
        const auto* line = std::get_if<TLineSeries>(&*layer);
        if (line == nullptr || line->Name().empty()) {
            continue;
        }
        const QString name = QString::fromStdString(line->Name());
        const int textLeft = left + StrokeLength + Gap;
        const int right = textLeft + metrics.horizontalAdvance(name);
        if (right > layout.area.right) {
            return;
        }
        painter.setPen(StrokeOf(line->Color(), line->LineStyle(), line->LineWidth()));
        painter.drawLine(left, middle, left + StrokeLength - 1, middle);
        painter.setPen(QPen(AxisColor, 0));
        painter.drawText(textLeft, top + metrics.ascent(), name);
        left = right + EntryGap;
    }
}

} // namespace

void PaintChart(QPainter& painter, const TChartModel& model, const TChartLayout& layout,
                const QColor& background) {
    painter.fillRect(ToQRect(layout.area), background);
    if (!layout.HasScales()) {
        return;
    }
    PaintLeftAxis(painter, layout);
    painter.save();
    TPixelRect seriesArea = layout.plot;
    ++seriesArea.left;
    painter.setClipRect(ToQRect(seriesArea));
    painter.setBrush(Qt::NoBrush);
    TPenCache pens;
    for (const TChartLayer& layer : model.Layers()) {
        std::visit([&](const auto& series) { PaintLayer(painter, series, layout, pens); }, layer);
    }
    painter.restore();
    if (model.ShowsLegend()) {
        PaintLegend(painter, model, layout);
    }
}

} // namespace quillon
