#include "ui/pages/settings/settings_row.h"

#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"
#include "ui/kit/text_field.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

SettingsRow::SettingsRow(const QString& title, QWidget* control, const QString& detail, Place place,
                         QWidget* parent)
    : QWidget(parent)
    , m_control(control)
    , m_title(new KitLabel(title, TextRole::BodyMedium))
    , m_problem((new KitLabel({}, TextRole::Caption, Scheme::orange))->wrapping())
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(6);

    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(2);
    m_title->setWordWrap(true);
    texts->addWidget(m_title);
    if (!detail.isEmpty()) {
        m_detail = (new KitLabel(detail, TextRole::Caption, Scheme::Text::Secondary))->wrapping();
        texts->addWidget(m_detail);
    }

    if (!control) {
        outer->addLayout(texts);
    } else if (place == Place::Trailing) {
        auto* line = new QHBoxLayout;
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(10);
        line->addLayout(texts, 1);
        line->addSpacing(6);
        line->addWidget(control, 0, Qt::AlignVCenter);
        outer->addLayout(line);
        m_controlLine = line;
    } else {
        outer->addLayout(texts);
        outer->addWidget(control);
        m_controlLine = outer;
    }
    m_problem->hide();
    outer->addWidget(m_problem);

    if (!control)
        return;
    // Assistive tools on Linux read a menu's label only through its buddy relation, which Qt finds
    // among the menu's siblings: the control must be the row's own child.
    m_title->setBuddy(control);
    // A text field is read by the editor inside it.
    auto* field = qobject_cast<TextField*>(control);
    QWidget* read = field ? field->editor() : control;
    if (read->accessibleName().isEmpty())
        read->setAccessibleName(title);
    if (!detail.isEmpty() && read->accessibleDescription().isEmpty())
        read->setAccessibleDescription(detail);
}

void SettingsRow::addBeforeControl(QWidget* widget)
{
    m_controlLine->insertWidget(m_controlLine->indexOf(m_control), widget, 0, Qt::AlignVCenter);
}

void SettingsRow::setProblem(const QString& text)
{
    m_problem->setText(text);
    m_problem->setVisible(!text.isEmpty());
}

QString SettingsRow::problemText() const
{
    return m_problem->isHidden() ? QString() : m_problem->text();
}
