#include "core/base/iso_date.h"

#include <QTimeZone>

QString IsoDate::format(const QDateTime& date)
{
    return date.toUTC().toString(Qt::ISODate);
}

std::optional<QDateTime> IsoDate::parse(const QString& text)
{
    QDateTime date = QDateTime::fromString(text, Qt::ISODateWithMs);
    // A date-time without a zone designator is not internet date-time text.
    if (!date.isValid() || date.timeSpec() == Qt::LocalTime)
        return std::nullopt;
    return date;
}
