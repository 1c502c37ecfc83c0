#include "ui/kit/confirm_line.h"

#include "core/text/l10n.h"
#include "ui/kit/label_button.h"
#include "ui/kit/scheme.h"

#include <QHBoxLayout>
#include <QKeyEvent>

ConfirmLine::ConfirmLine(QWidget* texts, const QString& action, QWidget* parent)
    : QWidget(parent)
    , m_cancel(new LabelButton(LabelButton::Style::Soft, L10n::s("common.cancel")))
    , m_action(new LabelButton(LabelButton::Style::Soft, action, nullptr, Symbol::Trash))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(texts, 1);
    row->addSpacing(8);
    row->addWidget(m_cancel, 0, Qt::AlignVCenter);
    row->addWidget(m_action, 0, Qt::AlignVCenter);
    m_action->setColour(Scheme::red(palette()));

    connect(m_cancel, &LabelButton::clicked, this, [this] { emit answered(false); });
    connect(m_action, &LabelButton::clicked, this, [this] { emit answered(true); });
}

void ConfirmLine::focusCancel(Qt::FocusReason reason)
{
    m_cancel->setFocus(reason);
}

void ConfirmLine::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        emit answered(false);
        return;
    }
    QWidget::keyPressEvent(event);
}

void ConfirmLine::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        m_action->setColour(Scheme::red(palette()));
    QWidget::changeEvent(event);
}
