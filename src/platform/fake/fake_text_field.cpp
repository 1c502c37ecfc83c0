#include "platform/fake/fake_text_field.h"

#include <algorithm>

using Chord = KeySynthesizer::Chord;
using Target = KeySynthesizer::Target;

FakeTextField::FakeTextField(Pasteboard& board, FakeKeySynthesizer& keys, QObject* parent)
    : QObject(parent)
    , m_board(board)
{
    connect(&keys, &FakeKeySynthesizer::chordPosted, this, &FakeTextField::receive);
}

void FakeTextField::setText(const QString& text, qsizetype selectionStart, qsizetype selectionLength)
{
    m_text = text;
    m_start = std::clamp<qsizetype>(selectionStart, 0, text.size());
    m_length = std::clamp<qsizetype>(selectionLength, 0, text.size() - m_start);
}

void FakeTextField::receive(Chord chord, Target target)
{
    // Terminals read Ctrl+V and Ctrl+C as control characters, not as edits.
    const bool control = m_terminal && target == Target::Application;
    if (chord == Chord::Copy) {
        if (control)
            ++m_interrupts;
        else if (m_length > 0)
            m_board.writeText(m_text.mid(m_start, m_length));
        return;
    }
    if (control)
        return;
    const QString inserted = m_board.plainText().value_or(QString());
    m_text.replace(m_start, m_length, inserted);
    m_start += inserted.size();
    m_length = 0;
}
