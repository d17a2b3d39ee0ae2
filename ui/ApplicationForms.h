#pragma once

#include "ui/main/Unit1.h"
#include "ui/secondary/Unit8.h"
#include "ui/secondary/Unit9.h"

namespace quillon {

// The program's three windows in start-up order: the main window first, so that it is the
// application's main window, then the indicator window and the about box, both hidden. They live
// until the program ends.
struct TApplicationForms {
    explicit TApplicationForms(TDesktopServices services = {});

    TForm1 Form1;
    TForm8 Form8;
    TForm9 Form9;
};

} // namespace quillon
