#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// What stands before the caret where a dictation goes, as far as a person typing there would
// let it decide the space in front of the text and the case of its first word.
struct CaretContext {
    enum class Sentence {
        Unknown,   // nothing could be read: the text goes in as the engine wrote it
        Starts,    // the field's or a line's start, or after a sentence's end
        Continues, // inside a sentence
    };

    Sentence sentence = Sentence::Unknown;
    // A word or a closing mark stands right before the caret.
    bool spaceFirst = false;

    // `before` is the text before the caret (or before the selection the text replaces), as far
    // as it was read; `fromFieldStart` when it reaches back to the field's start.
    static CaretContext after(QStringView before, bool fromFieldStart);

    // `text` with its first word cased for this place: a capital where a sentence starts, a
    // small letter inside one. "I" and the terms in `keep` stay as written, and so does a word
    // with a capital past its first letter.
    QString cased(const QString& text, const QStringList& keep) const;
    // `text` with the one space it needs in front here; none before a closing mark or a space.
    QString spaced(const QString& text) const;

    friend bool operator==(const CaretContext&, const CaretContext&) = default;
};
