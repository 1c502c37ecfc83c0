#include "ui/pages/dictionary/entry_check.h"

#include "core/model/dictionary_lines.h"
#include "core/text/l10n.h"

#include <algorithm>

namespace {

bool hasLineBreak(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == u'\n' || c == u'\r' || c == u'\x0B' || c == u'\x0C' || c == u'\x85' || c == u'\x2028' ||
               c == u'\x2029';
    });
}

} // namespace

std::variant<DictionaryItem, EntryCheck::Refusal> EntryCheck::check(const QString& term,
                                                                    const QString& heardAs)
{
    const DictionaryItem item{QUuid::createUuid(), term.trimmed(), heardAs.trimmed()};
    if (item.term.isEmpty())
        return Refusal::EmptyTerm;
    if (hasLineBreak(item.term) || hasLineBreak(item.heardAs))
        return Refusal::LineBreak;
    if (item.term.contains(QLatin1String("->")) || item.heardAs.contains(QLatin1String("->")))
        return Refusal::Arrow;
    // Only the exact form: "github -> GitHub" is how a spelling is taught.
    if (item.heardAs == item.term)
        return Refusal::HeardIsTerm;
    // What is left that would not read back is a line starting with "#".
    if (!DictionaryLines::writable(item))
        return Refusal::Comment;
    return item;
}

QString EntryCheck::reason(Refusal refusal)
{
    switch (refusal) {
    case Refusal::EmptyTerm:
        return L10n::s("dictionary.refused.emptyTerm");
    case Refusal::HeardIsTerm:
        return L10n::s("dictionary.refused.heardIsTerm");
    case Refusal::LineBreak:
        return L10n::s("dictionary.refused.lineBreak");
    case Refusal::Arrow:
        return L10n::s("dictionary.refused.arrow");
    case Refusal::Comment:
        return L10n::s("dictionary.refused.comment");
    }
    return {};
}
