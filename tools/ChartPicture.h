#pragma once

#include <QByteArray>
#include <QSize>

#include "tools/ChartOptions.h"

namespace quillon {

class TRun;

// The window's chart after `run`, as its chart area of `size` shows it: a TChart in the windows'
// font, fed as the window's run feeds it, painted by its own Render into a PNG or an SVG (lines
// and text as vectors). With atClose, also the run's marks at close and the line on them at the
// top left, where the window shows its status line. Needs a QApplication.
QByteArray ChartPicture(const TRun& run, QSize size, TPictureFormat format, bool atClose = false);

} // namespace quillon
