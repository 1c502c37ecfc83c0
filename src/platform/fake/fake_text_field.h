#pragma once

#include "platform/fake/fake_key_synthesizer.h"
#include "platform/pasteboard.h"

#include <QObject>
#include <QString>

// A text field with the keyboard focus that takes posted chords the way real ones do: a paste
// replaces the selection with the clipboard's plain text and leaves the caret after it, a copy
// puts the selection on the clipboard. As a terminal it inserts nothing on Ctrl+V and counts
// Ctrl+C as an interrupt of its command.
class FakeTextField final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeTextField)

public:
    FakeTextField(Pasteboard& board, FakeKeySynthesizer& keys, QObject* parent = nullptr);

    // Positions and lengths in UTF-16 code units.
    void setText(const QString& text, qsizetype selectionStart, qsizetype selectionLength = 0);
    void setTerminal(bool terminal) { m_terminal = terminal; }

    QString text() const { return m_text; }
    qsizetype selectionStart() const { return m_start; }
    qsizetype selectionLength() const { return m_length; }
    int interrupts() const { return m_interrupts; }

private:
    void receive(KeySynthesizer::Chord chord, KeySynthesizer::Target target);

    Pasteboard& m_board;
    QString m_text;
    qsizetype m_start = 0;
    qsizetype m_length = 0;
    bool m_terminal = false;
    int m_interrupts = 0;
};
