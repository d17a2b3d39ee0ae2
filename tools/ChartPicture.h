#pragma once

#include <QByteArray>
#include <QSize>
#include <string>

#include "tools/ChartOptions.h"

namespace quillon {

class TRun;

// The window's chart after `run`, as its chart area of `size` shows it: a TChart in the windows'
// font, fed as the window's run feeds it, painted by its own Render into a PNG or an SVG (lines
// and text as vectors). Needs a QApplication.
QByteArray ChartPicture(const TRun& run, QSize size, TPictureFormat format);

// Writes bytes to a temporary file beside path and renames it into place, so that a failure
// leaves no partial file; a failure raises its path and reason.
void WriteFileInPlace(const std::string& path, const QByteArray& bytes);

} // namespace quillon
