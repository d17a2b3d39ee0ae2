#pragma once

class QWidget;

namespace quillon {

// The windows' font, which the chart shares wherever it is painted (the window, quillon-chart's
// pictures): 11 pixels high, slightly narrowed so that the captions fit the control
// sizes of the layout as they did in the compact desktop font the layout was drawn for.
void UseWindowFont(QWidget& window);

} // namespace quillon
