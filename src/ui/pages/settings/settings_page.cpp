#include "ui/pages/settings/settings_page.h"

#include "core/model/main_section.h"
#include "core/text/l10n.h"
#include "ui/kit/page.h"

#include <QVBoxLayout>

SettingsPage::SettingsPage(QWidget* parent)
    : QWidget(parent)
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(
        new Page(MainSectionText::title(MainSection::Settings), L10n::s("page.purpose.settings"), this));
}
