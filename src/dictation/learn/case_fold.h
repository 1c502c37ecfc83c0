#pragma once

#include <QString>

// Word comparison for the learned dictionary, where a correction and its entry must agree on what
// counts as the same word.
namespace CaseFold {

// Full case folding and no locale, so that "STRASSE" and "Straße" are one word.
bool equal(const QString& a, const QString& b);

} // namespace CaseFold
