#include "chart/TChart.h"

#include <QPainter>

namespace quillon {

TChart::TChart(QWidget* parent)
    : QWidget(parent) {
    model_.SetChangeListener([this] { update(); });
}

void TChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
}

} // namespace quillon
