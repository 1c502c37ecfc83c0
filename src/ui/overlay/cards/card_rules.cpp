#include "ui/overlay/cards/card_rules.h"

#include "core/config/quenda_config.h"

#include <algorithm>
#include <limits>

namespace {

int clampedSeconds(qint64 seconds)
{
    return static_cast<int>(std::clamp<qint64>(seconds, 0, std::numeric_limits<int>::max()));
}

} // namespace

QList<TranslateLanguage> CardRules::translateTargets(const QString& nativeLanguage)
{
    static const QStringList fixed{QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"),
                                   QStringLiteral("es"), QStringLiteral("it"), QStringLiteral("pt"),
                                   QStringLiteral("nl"), QStringLiteral("pl"), QStringLiteral("tr")};
    QStringList codes{nativeLanguage};
    for (const QString& code : fixed) {
        if (code != nativeLanguage)
            codes << code;
    }
    QList<TranslateLanguage> targets;
    for (const QString& code : codes) {
        const auto& all = TranslateLanguage::all();
        const auto found = std::find_if(all.begin(), all.end(), [&](const auto& l) { return l.id == code; });
        if (found != all.end())
            targets << *found;
    }
    return targets;
}

QList<CardRules::TranslateRow> CardRules::translateRows(const QList<TranslateLanguage>& languages,
                                                        const QString& nativeId)
{
    QList<TranslateRow> rows;
    for (const TranslateLanguage& language : languages)
        rows.append({.code = language.id, .native = language.id == nativeId});
    return rows;
}

int CardRules::resultDismissSeconds(const QuendaConfig& config, bool cardsStay)
{
    return cardsStay ? 0 : clampedSeconds(config.overlayResultDismissSeconds);
}

int CardRules::previewDismissSeconds(const QuendaConfig& config, DictationPreviewStatus status,
                                     bool cardsStay)
{
    if (cardsStay || status != DictationPreviewStatus::Copied)
        return 0;
    return clampedSeconds(config.dictationPreviewDismissSeconds);
}

bool CardRules::showsNotedMark(const QString& text, const NoteSaveOutcome& outcome)
{
    // A blank text is answered like a save to the own store although nothing was written.
    return !text.trimmed().isEmpty() && outcome.kind != NoteSaveOutcome::Kind::Unsaved;
}
