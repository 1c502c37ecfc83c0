#include "ui/pages/dictionary/dictionary_page.h"

#include "core/model/main_section.h"
#include "core/text/l10n.h"
#include "ui/kit/page.h"

#include <QVBoxLayout>

DictionaryPage::DictionaryPage(QWidget* parent)
    : QWidget(parent)
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(
        new Page(MainSectionText::title(MainSection::Dictionary), L10n::s("page.purpose.dictionary"), this));
}
