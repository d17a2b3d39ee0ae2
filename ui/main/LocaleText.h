#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

namespace quillon {

// The locale's decimal separator as the bar reader takes it, one byte; a point where the locale
// has none that fits.
char DecimalSeparator(const QLocale& locale);

// The time of day in the locale's long time format: hours as the locale writes them, two-digit
// minutes and seconds, the locale's separators and AM/PM marker, and no time zone.
QString LongTimeText(const QLocale& locale, QTime time);

} // namespace quillon
