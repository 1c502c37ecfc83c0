#include "ui/pages/settings/settings_section.h"

#include "ui/kit/card.h"
#include "ui/kit/heading_role.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"
#include "ui/kit/symbol_view.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

SettingsSection::SettingsSection(Symbol symbol, const QString& title, QWidget* parent)
    : QWidget(parent)
    , m_card(new Card(20, this))
    , m_heading(new KitLabel(title, TextRole::Heading))
    , m_rows(new QVBoxLayout)
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_card);
    m_card->content()->setSpacing(14);

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(new SymbolView(symbol, 15, Scheme::text(palette(), Scheme::Text::Primary)));
    top->addWidget(m_heading, 1);
    HeadingRole::mark(m_heading);
    m_card->content()->addLayout(top);

    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(14);
    m_card->content()->addLayout(m_rows);
}

void SettingsSection::addRow(QWidget* row)
{
    m_rows->addWidget(row);
}
