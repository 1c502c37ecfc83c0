#pragma once

#include <QList>
#include <QString>

#include <optional>

// The pages of the main window.
enum class MainSection { Home, Commands, History, Notes, Style, Dictionary, Settings };

namespace MainSectionText {

// All pages, in sidebar order.
const QList<MainSection>& all();
// "home", "commands", ... : the case name.
QString rawValue(MainSection section);
// Exactly one of the seven raw values; anything else is absent.
std::optional<MainSection> fromRaw(const QString& raw);
// The UI text of "nav." followed by the raw value.
QString title(MainSection section);

} // namespace MainSectionText
