#pragma once

#include <QString>

// Shorthand for UTF-8 literals in tests (the build forbids implicit casts from char strings).
inline QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
