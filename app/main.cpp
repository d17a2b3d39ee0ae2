#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "app/StartupMessages.h"
#include "ui/ApplicationForms.h"

int main(int argc, char* argv[]) {
    if (!quillon::DisplayNamed(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                               std::getenv("QT_QPA_PLATFORM"))) {
        std::fputs("quillon: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are "
                   "not set)\n",
                   stderr);
        return EXIT_FAILURE;
    }
    quillon::HoldToolkitMessagesDuringStartup();
    QApplication application(argc, argv);
    quillon::ReleaseToolkitMessages();

    // The main window first, then the indicator window and the about box, hidden.
    quillon::TApplicationForms forms;
    forms.Form1.show();
    return application.exec();
}
