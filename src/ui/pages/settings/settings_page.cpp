#include "ui/pages/settings/settings_page.h"

#include "core/model/main_section.h"
#include "core/text/l10n.h"
#include "ui/kit/page.h"
#include "ui/pages/settings/correction_section.h"

#include <QVBoxLayout>

SettingsPage::SettingsPage(AppState& state, OpenAIKeyStore* keys, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_correction(new CorrectionSection(state, keys))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* page =
        new Page(MainSectionText::title(MainSection::Settings), L10n::s("page.purpose.settings"), this);
    fill->addWidget(page);
    page->content()->addWidget(m_correction);
}
