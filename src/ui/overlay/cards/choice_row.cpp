#include "ui/overlay/cards/choice_row.h"

#include "core/text/l10n.h"
#include "ui/kit/line_limited_label.h"
#include "ui/kit/theme.h"
#include "ui/overlay/cards/card_parts.h"
#include "ui/overlay/cards/choice_action_button.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ChoiceRow::ChoiceRow(const OverlayResultChoice& choice, QWidget* parent)
    : QWidget(parent)
    , m_choice(choice)
    , m_text(CardParts::wrapped(choice.text, TextRole::BodyMedium, Theme::white(0.72), 5, this, true))
    , m_insert(new ChoiceActionButton(L10n::s(QStringLiteral("overlay.choice.insert")), Symbol::Insert, true,
                                      this))
    , m_copy(
          new ChoiceActionButton(L10n::s(QStringLiteral("overlay.choice.copy")), Symbol::Copy, false, this))
    , m_note(new ChoiceActionButton(L10n::s(QStringLiteral("overlay.choice.note")), Symbol::NoteAdd, false,
                                    this))
{
    auto* column = new QVBoxLayout(this);
    column->setSpacing(8);
    column->setContentsMargins(12, 11, 12, 11);
    column->addWidget(CardParts::label(choice.title, TextRole::CalloutStrong, Theme::white(0.9), this));
    column->addWidget(m_text);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(m_insert);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_note);
    buttons->addStretch(1);
    column->addLayout(buttons);

    connect(m_insert, &ChoiceActionButton::clicked, this, &ChoiceRow::insertRequested);
    connect(m_copy, &ChoiceActionButton::clicked, this, &ChoiceRow::copyRequested);
    connect(m_note, &ChoiceActionButton::clicked, this, &ChoiceRow::noteRequested);
}

void ChoiceRow::setCopied(bool copied)
{
    m_copied = copied;
    m_copy->setLook(
        L10n::s(copied ? QStringLiteral("overlay.choice.copied") : QStringLiteral("overlay.choice.copy")),
        copied ? Symbol::Check : Symbol::Copy);
}

void ChoiceRow::setNoted(bool noted)
{
    m_noted = noted;
    m_note->setLook(
        L10n::s(noted ? QStringLiteral("overlay.choice.noted") : QStringLiteral("overlay.choice.note")),
        noted ? Symbol::Check : Symbol::NoteAdd);
}
