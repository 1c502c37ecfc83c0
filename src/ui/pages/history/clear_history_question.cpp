#include "ui/pages/history/clear_history_question.h"

#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/confirm_line.h"
#include "ui/kit/kit_label.h"

#include <QVBoxLayout>

ClearHistoryQuestion::ClearHistoryQuestion(QWidget* parent)
    : QWidget(parent)
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* card = new Card(16);
    fill->addWidget(card);

    auto* texts = new QWidget;
    auto* column = new QVBoxLayout(texts);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget((new KitLabel(L10n::s("history.deleteTitle"), TextRole::Heading))->wrapping());
    column->addWidget(
        (new KitLabel(L10n::s("history.deleteBody"), TextRole::Callout, Scheme::Text::Secondary))
            ->wrapping());
    m_line = new ConfirmLine(texts, L10n::s("history.delete"));
    m_line->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    card->content()->addWidget(m_line);

    connect(m_line, &ConfirmLine::answered, this, [this](bool clear) {
        hide();
        emit answered(clear);
    });
    hide();
}

void ClearHistoryQuestion::ask()
{
    show();
    m_line->focusCancel(Qt::ShortcutFocusReason);
}

LabelButton* ClearHistoryQuestion::cancelButton() const
{
    return m_line->cancelButton();
}

LabelButton* ClearHistoryQuestion::deleteButton() const
{
    return m_line->actionButton();
}
