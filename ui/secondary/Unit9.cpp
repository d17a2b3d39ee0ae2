#include "ui/secondary/Unit9.h"

#include <QLabel>
#include <QPushButton>

#include "chart/WindowFont.h"
#include "ui/secondary/AboutPicture.h"
#include "ui/secondary/KeepOpenOnEscape.h"

namespace quillon {

namespace {

constexpr QSize ClientSize(369, 263);
constexpr const char* ContactAddress = "quillon@example.org";

} // namespace

TForm9::TForm9(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Hi !"));
    UseWindowFont(*this);
    setFixedSize(ClientSize);
    KeepOpenOnEscape(*this);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(QPoint(0, 0), ClientSize));
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(DrawAboutPicture()));

    StaticText1 = new QLabel(QString::fromUtf8(ContactAddress), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setGeometry(16, 240, 119, 17);
    StaticText1->setAutoFillBackground(true);
    QPalette caption = StaticText1->palette();
    caption.setColor(QPalette::Window, caption.color(QPalette::Active, QPalette::Highlight));
    caption.setColor(QPalette::WindowText, Qt::white);
    StaticText1->setPalette(caption);

    Button1 = new QPushButton(QStringLiteral("ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(320, 240, 33, 17);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace quillon
