#include "ui/ScreenPlacement.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quillon {

void PlaceInScreenCentre(QWidget& window) {
    const QScreen* screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void ShowModalInScreenCentre(QDialog& dialog) {
    PlaceInScreenCentre(dialog);
    dialog.exec();
}

} // namespace quillon
