#include "ui/main/ErrorBox.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace quillon {

void ShowStandardErrorBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

} // namespace quillon
