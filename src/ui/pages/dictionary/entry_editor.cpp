#include "ui/pages/dictionary/entry_editor.h"

#include "core/text/l10n.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"
#include "ui/kit/text_field.h"
#include "ui/pages/dictionary/entry_check.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

EntryEditor::EntryEditor(QWidget* parent)
    : QWidget(parent)
    , m_term(new TextField(L10n::s("dictionary.term"), TextRole::Body, this))
    , m_heard(new TextField(L10n::s("dictionary.heardAsField"), TextRole::Body, this))
    , m_actions(new QHBoxLayout)
    , m_reason(new KitLabel({}, TextRole::CalloutMedium, Scheme::red, this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(m_term, 1);
    row->addWidget(m_heard, 1);
    m_actions->setSpacing(8);
    row->addLayout(m_actions);
    column->addLayout(row);
    m_reason->wrapping();
    m_reason->setVisible(false);
    column->addWidget(m_reason);

    for (TextField* field : {m_term, m_heard}) {
        field->setName(field->editor()->placeholderText());
        field->editor()->installEventFilter(this);
        connect(field->editor(), &QLineEdit::returnPressed, this, &EntryEditor::submitted);
        connect(field->editor(), &QLineEdit::textEdited, this, [this] { showReason({}); });
    }
}

QLineEdit* EntryEditor::termField() const
{
    return m_term->editor();
}

QLineEdit* EntryEditor::heardField() const
{
    return m_heard->editor();
}

void EntryEditor::setFields(const QString& term, const QString& heardAs)
{
    m_term->setText(term);
    m_heard->setText(heardAs);
    showReason({});
}

void EntryEditor::clear()
{
    setFields({}, {});
}

std::optional<DictionaryItem> EntryEditor::take()
{
    const auto checked = EntryCheck::check(m_term->text(), m_heard->text());
    if (const auto* refusal = std::get_if<EntryCheck::Refusal>(&checked)) {
        showReason(EntryCheck::reason(*refusal));
        return std::nullopt;
    }
    showReason({});
    return std::get<DictionaryItem>(checked);
}

QString EntryEditor::reason() const
{
    return m_reason->isVisibleTo(this) ? m_reason->text() : QString();
}

bool EntryEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        emit cancelled();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void EntryEditor::showReason(const QString& reason)
{
    m_reason->setText(reason);
    m_reason->setVisible(!reason.isEmpty());
    m_reason->setAccessibleDescription(reason);
}
