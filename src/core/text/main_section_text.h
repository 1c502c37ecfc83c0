#pragma once

#include "core/model/main_section.h"

#include <QString>

namespace MainSectionText {

// The UI text of "nav." followed by the page's name.
QString title(MainSection section);

} // namespace MainSectionText
