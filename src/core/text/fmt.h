#pragma once

#include <QDateTime>
#include <QString>

// Short time texts in the active language. Dates are shown in the system time zone; "now" is an
// argument so callers with a Clock (and tests) decide what the current moment is.
namespace Fmt {

// Hour and minute as the locale writes a time of day, with a day-period marker where it uses 12 hours.
QString time(const QDateTime& date);
// "Just now" below a minute (and for future dates), else e.g. "5 min. ago" in the largest unit.
QString relative(const QDateTime& date, const QDateTime& now = QDateTime::currentDateTime());
// "Today", "Yesterday", else weekday, day and month, e.g. "Saturday, March 1".
QString day(const QDateTime& date, const QDateTime& now = QDateTime::currentDateTime());
// A count of minutes: under a minute, whole minutes below an hour, else hours with a fraction.
QString minutes(double minutes);
// A running recording clock "m:ss"; minutes are not folded into hours.
QString clock(double seconds);

} // namespace Fmt
