#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace quillon {

// The window with the MetaTrader 4 indicator that writes the bar file, for the user to copy into
// the terminal. The text is editable; closing only hides the window, so edits stay until exit.
class TForm8 : public QDialog {
    Q_OBJECT

public:
    explicit TForm8(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
};

// The indicator's text as the program carries it, without a line end after its last line.
QString IndicatorTemplateText();

} // namespace quillon
