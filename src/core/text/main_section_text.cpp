#include "core/text/main_section_text.h"

#include "core/text/l10n.h"

QString MainSectionText::title(MainSection section)
{
    return L10n::s(QStringLiteral("nav.") + table.text(section));
}
