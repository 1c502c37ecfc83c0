#pragma once

#include <QString>

#include <ostream>

// Readable QStrings in GoogleTest failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
