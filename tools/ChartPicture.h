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

// The window's page "Track record" after `run`: the running totals of the three records (the
// whole file's worked out here) in a TChart of their own, with the records' figures under it
// where there is room for them and for a chart of some height. Needs a QApplication.
QByteArray TrackPicture(const TRun& run, QSize size, TPictureFormat format);

} // namespace quillon
