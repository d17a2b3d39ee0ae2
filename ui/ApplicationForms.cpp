#include "ui/ApplicationForms.h"

namespace quillon {

TApplicationForms::TApplicationForms(TDesktopServices services)
    : Form1(std::move(services)) {
    Form1.AttachSecondaryForms(Form8, Form9);
}

} // namespace quillon
