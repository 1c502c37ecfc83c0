#include "ui/pages/history/clear_history_question.h"

#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/soft_button.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

ClearHistoryQuestion::ClearHistoryQuestion(QWidget* parent)
    : QWidget(parent)
    , m_cancel(new SoftButton(L10n::s("common.cancel")))
    , m_delete(new SoftButton(L10n::s("history.delete"), nullptr, Symbol::Trash))
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
    m_delete->setForeground(Scheme::red(palette()));

    connect(m_cancel, &SoftButton::clicked, this, [this] { answer(false); });
    connect(m_delete, &SoftButton::clicked, this, [this] { answer(true); });
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
        m_delete->setForeground(Scheme::red(palette()));
    QWidget::changeEvent(event);
}
