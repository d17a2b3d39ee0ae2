#include "ui/secondary/KeepOpenOnEscape.h"

#include <QDialog>
#include <QKeyEvent>

namespace quillon {

namespace {

// Sees the keys that the window's controls leave to the window, before the window does.
class TEscapeKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void KeepOpenOnEscape(QDialog& dialog) {
    dialog.installEventFilter(new TEscapeKeyFilter(&dialog));
}

} // namespace quillon
