#pragma once

#include "core/model/dictionary_item.h"

#include <QString>

#include <variant>

// What the page accepts as a dictionary entry from the user's two fields, and why it refuses
// the rest: every refused entry would read back from the dictionary as something else or do
// nothing.
namespace EntryCheck {

enum class Refusal { EmptyTerm, HeardIsTerm, LineBreak, Arrow, Comment };

// The fields trimmed as an entry, or the reason they make none.
std::variant<DictionaryItem, Refusal> check(const QString& term, const QString& heardAs);
// The reason in the user's language.
QString reason(Refusal refusal);

} // namespace EntryCheck
