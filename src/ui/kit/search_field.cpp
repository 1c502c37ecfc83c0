#include "ui/kit/search_field.h"

#include "core/text/l10n.h"
#include "ui/kit/icon_button.h"
#include "ui/kit/text_field.h"

#include <QLineEdit>
#include <QVBoxLayout>

SearchField::SearchField(const QString& placeholder, QWidget* parent)
    : QWidget(parent)
    , m_field(new TextField(placeholder, TextRole::Body, this))
    , m_clear(new IconButton(Symbol::ClearCircle, L10n::s(QStringLiteral("search.clear"))))
{
    setFixedWidth(fixedWidth);
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_field);
    m_field->setName(placeholder);
    m_field->setLeadingSymbol(Symbol::Search);
    m_field->addTrailing(m_clear);
    // Its place is kept while it is hidden, so the first letter typed moves nothing around the field.
    QSizePolicy keep = m_clear->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_clear->setSizePolicy(keep);
    m_clear->setVisible(false);
    QLineEdit* editor = m_field->editor();
    connect(editor, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_clear->setVisible(!text.isEmpty());
        emit textChanged(text);
    });
    connect(m_clear, &IconButton::clicked, this, [this, editor] {
        editor->clear();
        editor->setFocus(Qt::OtherFocusReason);
    });
}

QString SearchField::text() const
{
    return m_field->text();
}

void SearchField::setText(const QString& text)
{
    m_field->setText(text);
}

QLineEdit* SearchField::editor() const
{
    return m_field->editor();
}
