#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace quillon {

// Shows an error's text (already ended by the "." rule) over a window and returns when the user
// has closed it. Tests put a recorder in its place.
using TErrorBoxPresenter = std::function<void(QWidget* parent, const QString& text)>;

// The standard error box: stop icon, one "OK" button, the application's title as caption.
void ShowStandardErrorBox(QWidget* parent, const QString& text);

} // namespace quillon
