#include "ui/main/LocaleText.h"

#include "base/PriceText.h"
#include "base/TimePattern.h"

namespace quillon {

char DecimalSeparator(const QLocale& locale) {
    return DecimalSeparatorOf(locale.decimalPoint().toStdString());
}

QString LongTimeText(const QLocale& locale, QTime time) {
    const std::string pattern =
        ClockTimePattern(locale.timeFormat(QLocale::LongFormat).toStdString());
    return locale.toString(time, QString::fromStdString(pattern));
}

} // namespace quillon
