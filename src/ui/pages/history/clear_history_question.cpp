#include "ui/pages/history/clear_history_question.h"
#include "ui/kit/label_button.h"

#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/kit_label.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

ClearHistoryQuestion::ClearHistoryQuestion(QWidget* parent)
    : QWidget(parent)
    , m_cancel(new LabelButton(LabelButton::Style::Soft, L10n::s("common.cancel")))
    , m_delete(new LabelButton(LabelButton::Style::Soft, L10n::s("history.delete"), nullptr, Symbol::Trash))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* card = new Card(16);
    fill->addWidget(card);

    auto* line = new QWidget;
    line->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget((new KitLabel(L10n::s("history.deleteTitle"), TextRole::Heading))->wrapping());
    texts->addWidget((new KitLabel(L10n::s("history.deleteBody"), TextRole::Callout, Scheme::Text::Secondary))
                         ->wrapping());
    row->addLayout(texts, 1);
    row->addSpacing(8);
    row->addWidget(m_cancel, 0, Qt::AlignVCenter);
    row->addWidget(m_delete, 0, Qt::AlignVCenter);
    card->content()->addWidget(line);
    m_delete->setColour(Scheme::red(palette()));

    connect(m_cancel, &LabelButton::clicked, this, [this] { answer(false); });
    connect(m_delete, &LabelButton::clicked, this, [this] { answer(true); });
    hide();
}

void ClearHistoryQuestion::ask()
{
    show();
    m_cancel->setFocus(Qt::ShortcutFocusReason);
}

void ClearHistoryQuestion::answer(bool clear)
{
    hide();
    emit answered(clear);
}

void ClearHistoryQuestion::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        answer(false);
        return;
    }
    QWidget::keyPressEvent(event);
}

void ClearHistoryQuestion::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        m_delete->setColour(Scheme::red(palette()));
    QWidget::changeEvent(event);
}
