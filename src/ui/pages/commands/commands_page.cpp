#include "ui/pages/commands/commands_page.h"

#include "core/model/main_section.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/card.h"
#include "ui/kit/empty_hint.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/page.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/commands/command_examples.h"
#include "ui/pages/commands/command_needs.h"
#include "ui/pages/history/recent_history.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

CommandsPage::CommandsPage(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_binder(new SettingsBinder(state, this))
    , m_mode(m_binder->toggle(&QuendaConfig::commandMode, L10n::s("commands.mode")))
    , m_explanation(new KitLabel({}, TextRole::Callout, Scheme::Text::Secondary))
    , m_needs(new CommandNeeds(state))
    , m_recent(new RecentHistory(state, HistoryRow::Mode::Relative, recentCount,
                                 new EmptyHint(Symbol::Wand, L10n::s("commands.recentEmptyTitle"),
                                               L10n::s("commands.recentEmptyBody")),
                                 nullptr, [](const HistoryEntry& entry) {
                                     return entry.isDictation() && entry.wasCommand.value_or(false);
                                 }))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* page = new Page(MainSectionText::title(MainSection::Commands), L10n::s("commands.subtitle"), this);
    fill->addWidget(page);

    auto* mode = new Card(20);
    mode->content()->setSpacing(8);
    auto* top = new QHBoxLayout;
    top->addWidget(new KitLabel(L10n::s("commands.mode"), TextRole::Heading), 1);
    top->addWidget(m_mode);
    mode->content()->addLayout(top);
    mode->content()->addWidget(m_explanation->wrapping());
    page->content()->addWidget(mode);

    page->content()->addWidget(new CommandExamples(state));
    page->content()->addWidget(m_needs);

    auto* recent = new Card(20);
    recent->content()->setSpacing(8);
    recent->content()->addWidget(new KitLabel(L10n::s("commands.recent"), TextRole::Heading));
    recent->content()->addWidget(m_recent);
    page->content()->addWidget(recent);

    m_binder->follow(this, [this] { followConfig(); });
}

QStringList CommandsPage::exampleLanguages(const QuendaConfig& config)
{
    QStringList languages{L10n::loaded().code, config.nativeLanguage};
    if (config.language != QLatin1String("auto"))
        languages << config.language;
    languages.removeDuplicates();
    return languages;
}

void CommandsPage::followConfig()
{
    const bool on = m_state.config().commandMode;
    m_explanation->setText(L10n::s(on ? "commands.mode.on" : "commands.mode.off"));
}
