#pragma once

#include <QImage>

namespace quillon {

// The about box's picture, 480 x 360 in 24-bit colour: the title over the window's chart of a
// made-up market, painted by the chart's own code: candles with two smoothed waves over them,
// their rise and fall marks, and the oscillating waves below.
QImage DrawAboutPicture();

} // namespace quillon
