#include "app/StartupMessages.h"

#include <cstdio>
#include <cstdlib>

#include <QString>
#include <QtGlobal>

namespace quillon {

namespace {

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

// The first complaint names the cause ("could not connect to display :0"); the fatal one that
// follows only says that no platform plugin could be started.
QString& FirstHeldMessage() {
    static QString message;
    return message;
}

void HoldMessage(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
    if (type != QtFatalMsg) {
        if (FirstHeldMessage().isEmpty()) {
            FirstHeldMessage() = message;
        }
        return;
    }
    const QString cause = FirstHeldMessage().isEmpty() ? message.section(QLatin1Char('\n'), 0, 0)
                                                       : FirstHeldMessage();
    std::fprintf(stderr, "quillon: cannot open a window: %s\n", qPrintable(cause.simplified()));
    std::_Exit(EXIT_FAILURE);
}

} // namespace

bool DisplayNamed(const char* x11Display, const char* waylandDisplay, const char* qtPlatform) {
    return IsSet(x11Display) || IsSet(waylandDisplay) || IsSet(qtPlatform);
}

void HoldToolkitMessagesDuringStartup() {
    qInstallMessageHandler(HoldMessage);
}

void ReleaseToolkitMessages() {
    qInstallMessageHandler(nullptr);
}

} // namespace quillon
