#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "app/StartupMessages.h"
#include "ui/ApplicationForms.h"

int main(int argc, char* argv[]) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    // Here the windows go to an X11 or a Wayland display, which the environment names; where the
    // system has a window server of its own there is nothing to check.
    if (!quillon::DisplayNamed(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                               std::getenv("QT_QPA_PLATFORM"))) {
        std::fputs("quillon: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are "
                   "not set)\n",
                   stderr);
        return EXIT_FAILURE;
    }
#endif
    quillon::HoldToolkitMessagesDuringStartup();
    // The program takes no arguments: the toolkit sees only the program's name, so that its own
    // options (-reverse, -style, -stylesheet, -platform, ...) leave the windows as they are. Its
    // environment, QT_QPA_PLATFORM among it, still counts.
    int toolkitArgc = std::min(argc, 1);
    QApplication application(toolkitArgc, argv);
    quillon::ReleaseToolkitMessages();

    // The main window first, then the indicator window and the about box, hidden.
    quillon::TApplicationForms forms;
    forms.Form1.show();
    return application.exec();
}
