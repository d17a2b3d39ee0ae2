#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quillon {

// The about box: a picture, a contact address and "ok", which is the only way out.
class TForm9 : public QDialog {
    Q_OBJECT

public:
    explicit TForm9(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* StaticText1 = nullptr;
    QPushButton* Button1 = nullptr;
};

} // namespace quillon
