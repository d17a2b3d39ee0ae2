#pragma once

class QDialog;

namespace quillon {

// A dialog closes on Esc by default; the secondary windows do not: the indicator window is left
// with its title bar's close button and the about box with its "ok" button. Esc typed anywhere in
// the window, the memo included, is taken and does nothing.
void KeepOpenOnEscape(QDialog& dialog);

} // namespace quillon
