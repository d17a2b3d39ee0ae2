#include "chart/TChart.h"

#include <QFontMetrics>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QToolTip>

#include "base/Errors.h"
#include "chart/Candles.h"
#include "chart/ChartPainter.h"
#include "chart/Zoom.h"

namespace quillon {

namespace {

TNumberSeparators SystemSeparators() {
    const QLocale locale = QLocale::system();
    return TNumberSeparators{locale.decimalPoint().toStdString(),
                             locale.groupSeparator().toStdString()};
}

TPixelRect ToPixelRect(const QRect& rect) {
    return TPixelRect{rect.left(), rect.top(), rect.right(), rect.bottom()};
}

TTextMeasure MeasureOf(const QFontMetrics& metrics) {
    return TTextMeasure{metrics.height(), [&metrics](std::string_view text) {
                            return metrics.horizontalAdvance(QString::fromUtf8(
                                text.data(), static_cast<qsizetype>(text.size())));
                        }};
}

} // namespace

TChart::TChart(QWidget* parent)
    : QWidget(parent)
    , separators_(SystemSeparators())
    , rubberBand_(new QRubberBand(QRubberBand::Rectangle, this)) {
    setMouseTracking(true);
    model_.SetChangeListener([this] { update(); });
}

TChart::TChart(std::span<const TLineLook> lines, std::string axisFormat, QWidget* parent)
    : QWidget(parent)
    , model_(lines, std::move(axisFormat))
    , separators_(SystemSeparators())
    , rubberBand_(new QRubberBand(QRubberBand::Rectangle, this)) {
    setMouseTracking(true);
    model_.SetChangeListener([this] { update(); });
}

void TChart::Render(QPainter& painter, const QRect& area) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font());
    try {
        const TChartLayout layout = Layout(area, painter.device());
        PaintChart(painter, model_, layout, palette().color(QPalette::Button));
    } catch (const QuillonError&) {
        // Values beyond what the scales can carry: the chart refuses nothing and shows nothing.
        painter.fillRect(area, palette().color(QPalette::Button));
    }
    painter.restore();
}

TChartLayout TChart::Layout(const QRect& area, const QPaintDevice* device) const {
    const QFontMetrics metrics(font(), device != nullptr ? device : this);
    return LayoutChart(model_, model_.Zoom(), ToPixelRect(area), MeasureOf(metrics), separators_);
}

QString TChart::HintText() const {
    return QString::fromStdString(hoverTip_.HintText());
}

int TChart::LeftClearOfLabels(int top, int bottom, int left) const {
    const std::optional<TChartLayout> layout = ScaledLayout();
    if (!layout) {
        return left;
    }
    const int lineHeight = QFontMetrics(font(), this).height();
    for (const TAxisLabel& label : layout->labels) {
        const TPixelRect box = LabelTextBox(*layout, label, lineHeight);
        if (box.top <= bottom && top <= box.bottom && left <= layout->plot.left) {
            // One column past the axis line.
            return layout->plot.left + 2;
        }
    }
    return left;
}

void TChart::SetNumberSeparators(const TNumberSeparators& separators) {
    separators_ = separators;
    update();
}

void TChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    Render(painter, rect());
}

void TChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragStart_ = event->position().toPoint();
    rubberBand_->setGeometry(QRect(*dragStart_, QSize()));
    rubberBand_->show();
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (dragStart_) {
        rubberBand_->setGeometry(QRect(*dragStart_, at).normalized());
        return;
    }
    UpdateHoverTip(at, event->globalPosition().toPoint());
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragStart_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    FinishDrag(event->position().toPoint());
}

std::optional<TChartLayout> TChart::ScaledLayout() const {
    try {
        TChartLayout layout = Layout(rect());
        if (layout.HasScales()) {
            return layout;
        }
    } catch (const QuillonError&) {
        // Values beyond what the scales can carry, as when painting.
    }
    return std::nullopt;
}

void TChart::UpdateHoverTip(const QPoint& at, const QPoint& globalAt) {
    std::optional<std::string> tipText;
    if (const std::optional<TChartLayout> layout = ScaledLayout()) {
        if (const TCandleSeries* series = model_.Candles()) {
            const std::vector<TCandle>& candles = series->Candles();
            if (const std::optional<int> hit =
                    CandleAt(candles, *layout->x, *layout->y, at.x(), at.y())) {
                tipText = HoverTipText(candles[static_cast<std::size_t>(*hit)], separators_);
            }
        }
    }
    switch (hoverTip_.Update(tipText)) {
    case TTipAction::Show:
        QToolTip::showText(globalAt, HintText(), this);
        break;
    case TTipAction::Hide:
        QToolTip::hideText();
        break;
    case TTipAction::None:
        break;
    }
}

void TChart::FinishDrag(const QPoint& at) {
    const QPoint from = *dragStart_;
    dragStart_.reset();
    rubberBand_->hide();
    switch (ClassifyDrag(from.x(), from.y(), at.x(), at.y())) {
    case TDragAction::ZoomIn:
        ZoomTo(QRect(from, at));
        break;
    case TDragAction::ZoomReset:
        model_.ResetZoom();
        break;
    case TDragAction::None:
        break;
    }
}

void TChart::ZoomTo(const QRect& dragged) {
    const std::optional<TChartLayout> layout = ScaledLayout();
    if (!layout) {
        return;
    }
    const QRect seriesArea(QPoint(layout->plot.left + 1, layout->plot.top),
                           QPoint(layout->plot.right, layout->plot.bottom));
    const QRect inside = dragged.intersected(seriesArea);
    // A range needs two distinct ends each way.
    if (inside.width() > 1 && inside.height() > 1) {
        model_.ZoomTo(RangesUnder(*layout, ToPixelRect(inside)));
    }
}

} // namespace quillon
