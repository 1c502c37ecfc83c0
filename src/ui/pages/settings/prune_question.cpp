#include "ui/pages/settings/prune_question.h"

#include "core/text/l10n.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/scheme.h"
#include "ui/pages/settings/settings_texts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>

PruneQuestion::PruneQuestion(QWidget* parent)
    : QWidget(parent)
    , m_text((new KitLabel({}, TextRole::Callout))->wrapping())
    , m_cancel(new LabelButton(LabelButton::Style::Soft, L10n::s("common.cancel")))
    , m_remove(
          new LabelButton(LabelButton::Style::Soft, L10n::s("settings.prune.remove"), nullptr, Symbol::Trash))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(m_text, 1);
    row->addSpacing(8);
    row->addWidget(m_cancel, 0, Qt::AlignVCenter);
    row->addWidget(m_remove, 0, Qt::AlignVCenter);
    m_remove->setColour(Scheme::red(palette()));

    connect(m_cancel, &LabelButton::clicked, this, [this] { answer(false); });
    connect(m_remove, &LabelButton::clicked, this, [this] { answer(true); });
    hide();
}

void PruneQuestion::ask(qsizetype count, std::function<void(bool)> decide)
{
    if (!isVisible())
        m_focusBefore = QApplication::focusWidget();
    m_decide = std::move(decide);
    m_text->setText(L10n::format(QStringLiteral("settings.prune.question"), {SettingsTexts::entries(count)}));
    show();
    m_cancel->setFocus(Qt::OtherFocusReason);
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

void PruneQuestion::answer(bool remove)
{
    const std::function<void(bool)> decide = std::exchange(m_decide, nullptr);
    hide();
    if (m_focusBefore)
        m_focusBefore->setFocus(Qt::OtherFocusReason);
    if (decide)
        decide(remove);
}

void PruneQuestion::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        answer(false);
        return;
    }
    QWidget::keyPressEvent(event);
}

void PruneQuestion::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        m_remove->setColour(Scheme::red(palette()));
    QWidget::changeEvent(event);
}
