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
    if (cardsStay ||
        (status != DictationPreviewStatus::Copied && status != DictationPreviewStatus::ReplacedCopy))
        return 0;
    return clampedSeconds(config.dictationPreviewDismissSeconds);
}

bool CardRules::showsNotedMark(const QString& text, const NoteSaveOutcome& outcome)
{
    // A blank text is answered like a save to the own store although nothing was written.
    return !text.trimmed().isEmpty() && outcome.kind != NoteSaveOutcome::Kind::Unsaved;
}
