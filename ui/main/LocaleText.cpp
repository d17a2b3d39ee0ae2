#include "ui/main/LocaleText.h"

#include "base/TimePattern.h"

namespace quillon {

char DecimalSeparator(const QLocale& locale) {
    const QString separator = locale.decimalPoint();
    if (separator.size() != 1 || separator.front().unicode() > 0x7F) {
        return '.';
    }
    return static_cast<char>(separator.front().unicode());
}

QString LongTimeText(const QLocale& locale, QTime time) {
    const std::string pattern =
        ClockTimePattern(locale.timeFormat(QLocale::LongFormat).toStdString());
    return locale.toString(time, QString::fromStdString(pattern));
}

} // namespace quillon
