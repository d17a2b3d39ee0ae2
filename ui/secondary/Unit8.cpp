#include "ui/secondary/Unit8.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "chart/Color.h"
#include "chart/WindowFont.h"
#include "ui/secondary/KeepOpenOnEscape.h"

namespace quillon {

namespace {

constexpr QSize ClientSize(688, 453);

} // namespace

QString IndicatorTemplateText() {
    QFile file(QStringLiteral(":/quillon/IndicatorTemplate.mq4"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text = QString::fromUtf8(file.readAll());
    // Every line of the file ends with a line end; in the memo the last line is the empty one.
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text;
}

TForm8::TForm8(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Form8"));
    setSizeGripEnabled(true);
    KeepOpenOnEscape(*this);
    UseWindowFont(*this);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette cream = Memo1->palette();
    cream.setColor(QPalette::Base, QColor(clCream.red, clCream.green, clCream.blue));
    Memo1->setPalette(cream);
    Memo1->setPlainText(IndicatorTemplateText());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
    resize(ClientSize);
}

} // namespace quillon
