#pragma once

class QDialog;
class QWidget;

namespace quillon {

// Puts a top-level window in the middle of the screen it is on.
void PlaceInScreenCentre(QWidget& window);

// Shows a window modally in the middle of the screen and returns when it has closed; the
// window's answer does not matter.
void ShowModalInScreenCentre(QDialog& dialog);

} // namespace quillon
