#pragma once

#include <QLocale>
#include <QString>
#include <QVariantList>

// printf-style filling of looked-up texts. Table texts come from a user-writable folder, so a
// conversion never trusts its argument: each argument carries its own type, and a conversion
// that does not fit prints the argument as text instead of reading the wrong thing.
namespace TextFormat {

// Conversions: d i u f F e E g G (length modifiers hh h l ll q z t j L accepted and ignored),
// @ and s for text, %% for a percent sign; flags - + space 0, width, precision, and n$ positions.
// A conversion that is unknown or has no argument stays as written; surplus arguments are ignored.
// Numbers use the locale's digits, decimal point and signs, without grouping.
QString format(const QString& pattern, const QLocale& locale, const QVariantList& arguments);

} // namespace TextFormat
