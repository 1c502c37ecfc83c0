#include "ui/pages/settings/correction_section.h"

#include "core/text/l10n.h"
#include "ui/pages/settings/settings_section.h"

#include <QVBoxLayout>

CorrectionSection::CorrectionSection(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_section(new SettingsSection(Symbol::TextCheck, L10n::s("settings.correction.title"), this))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_section);
}
