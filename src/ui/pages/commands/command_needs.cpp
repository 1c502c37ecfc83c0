#include "ui/pages/commands/command_needs.h"
#include "ui/kit/label_button.h"

#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"
#include "ui/pages/commands/symbol_column.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

CommandNeeds::CommandNeeds(AppState& state, AppCommands& commands, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_providerStatus(new KitLabel({}, TextRole::Callout, Scheme::Text::Secondary))
    , m_setUp(new LabelButton(LabelButton::Style::Soft, L10n::s("commands.provider.setUp"), nullptr,
                              Symbol::Gear))
    , m_native(new KitLabel({}, TextRole::Callout, Scheme::Text::Secondary))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* card = new Card(20);
    fill->addWidget(card);
    card->content()->setSpacing(14);
    card->content()->addWidget(new KitLabel(L10n::s("commands.needs"), TextRole::Heading));
    const SymbolColumn provider(
        Symbol::Sparkles, new KitLabel(L10n::s("commands.provider"), TextRole::BodyMedium), m_providerStatus);
    provider.row->addWidget(m_setUp, 0, Qt::AlignVCenter);
    card->content()->addLayout(provider.row);
    card->content()->addLayout(
        SymbolColumn(Symbol::Globe, new KitLabel(L10n::s("commands.native"), TextRole::BodyMedium), m_native)
            .row);

    connect(m_setUp, &LabelButton::clicked, this,
            [&commands] { commands.openSettings(SettingsPlace::Correction); });
    connect(&m_state, &AppState::engineReadyChanged, this, &CommandNeeds::follow);
    connect(&m_state, &AppState::polishAvailableChanged, this, &CommandNeeds::follow);
    connect(&m_state, &AppState::configChanged, this, &CommandNeeds::follow);
    follow();
}

CommandNeeds::Provider CommandNeeds::provider(const AppState& state)
{
    // Until the engine answers, it reports no provider whatever is set up.
    if (!state.engineReady())
        return Provider::Waiting;
    return state.polishAvailable() ? Provider::Ready : Provider::Missing;
}

void CommandNeeds::follow()
{
    const Provider now = provider(m_state);
    switch (now) {
    case Provider::Ready:
        m_providerStatus->setText(L10n::s("commands.provider.ready"));
        break;
    case Provider::Missing:
        m_providerStatus->setText(L10n::s("commands.provider.missing"));
        break;
    case Provider::Waiting:
        m_providerStatus->setText(L10n::s("commands.provider.waiting"));
        break;
    }
    m_setUp->setVisible(now == Provider::Missing);
    const QString native = m_state.config().nativeLanguage;
    m_native->setText(
        L10n::format(QStringLiteral("commands.native.detail"), {L10n::s(QStringLiteral("lang.") + native)}));
}
