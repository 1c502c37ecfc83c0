#pragma once

#include "core/model/dictation_preview.h"
#include "core/model/note_save_outcome.h"
#include "core/model/translate_language.h"

#include <QList>
#include <QString>

struct QuendaConfig;

// The decisions of the overlay's cards that need no widget: what they list, how long they stay.
namespace CardRules {

// One row of the translate menu; the native language's row is marked and followed by a divider.
struct TranslateRow {
    QString code;
    bool native = false;
    friend bool operator==(const TranslateRow&, const TranslateRow&) = default;
};

QList<TranslateRow> translateRows(const QList<TranslateLanguage>& languages, const QString& nativeId);

// Seconds the note and result cards stay: none (no countdown) when cards stay, never negative.
int resultDismissSeconds(const QuendaConfig& config, bool cardsStay);
// Only a copied preview counts down; a working one waits and an inserted one closes at once.
int previewDismissSeconds(const QuendaConfig& config, DictationPreviewStatus status, bool cardsStay);

// The note button's mark: only for a text that had words and was written somewhere lasting.
bool showsNotedMark(const QString& text, const NoteSaveOutcome& outcome);

} // namespace CardRules
