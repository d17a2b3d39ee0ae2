#pragma once

#include <QString>

namespace quillon {

// The folder of the sample bar file that comes with the program, found from the program's own
// folder the same way in the build tree and once installed.
QString BundledSampleFolder();

// Where the open dialog starts: a trading terminal's files folder when there is one on this
// machine (see InitialDialogFolder), else the sample file's folder.
QString OpenDialogInitialFolder();

} // namespace quillon
