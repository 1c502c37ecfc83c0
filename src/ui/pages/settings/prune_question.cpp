#include "ui/pages/settings/prune_question.h"

#include "core/text/l10n.h"
#include "ui/kit/confirm_line.h"
#include "ui/kit/kit_label.h"
#include "ui/pages/settings/settings_texts.h"

#include <QApplication>
#include <QVBoxLayout>

PruneQuestion::PruneQuestion(QWidget* parent)
    : QWidget(parent)
    , m_text((new KitLabel({}, TextRole::Callout))->wrapping())
    , m_line(new ConfirmLine(m_text, L10n::s("settings.prune.remove")))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_line);
    connect(m_line, &ConfirmLine::answered, this, &PruneQuestion::answer);
    hide();
}

void PruneQuestion::ask(qsizetype count, std::function<void(bool)> decide)
{
    if (!isVisible())
        m_focusBefore = QApplication::focusWidget();
    m_decide = std::move(decide);
    m_text->setText(L10n::format(QStringLiteral("settings.prune.question"), {SettingsTexts::entries(count)}));
    show();
    m_line->focusCancel(Qt::OtherFocusReason);
}

void PruneQuestion::drop()
{
    m_decide = nullptr;
    hide();
}

QString PruneQuestion::text() const
{
    return isHidden() ? QString() : m_text->text();
}

LabelButton* PruneQuestion::cancelButton() const
{
    return m_line->cancelButton();
}

LabelButton* PruneQuestion::removeButton() const
{
    return m_line->actionButton();
}

void PruneQuestion::answer(bool remove)
{
    const std::function<void(bool)> decide = std::exchange(m_decide, nullptr);
    hide();
    if (m_focusBefore)
        m_focusBefore->setFocus(Qt::OtherFocusReason);
    if (decide)
        decide(remove);
}
