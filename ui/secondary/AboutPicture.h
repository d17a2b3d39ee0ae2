#pragma once

#include <QImage>

namespace quillon {

// The about box's picture, 480 x 360 in 24-bit colour: candles of a made-up market with two
// smoothed waves over them, their rise and fall marks, and an oscillating wave below.
QImage DrawAboutPicture();

} // namespace quillon
