#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// ISO-8601 internet date-time text as the stored files use it: UTC, whole seconds.
namespace IsoDate {

QString format(const QDateTime& date);
// Accepts the written form and, leniently, fractional seconds or an explicit offset.
std::optional<QDateTime> parse(const QString& text);

} // namespace IsoDate
