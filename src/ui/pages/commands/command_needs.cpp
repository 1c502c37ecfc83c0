#include "ui/pages/commands/command_needs.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"
#include "ui/kit/scheme_symbol.h"
#include "ui/kit/soft_button.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// A symbol, a title over a detail, and room for a control at the end.
QHBoxLayout* needRow(Symbol symbol, const QString& title, KitLabel* detail)
{
    auto* line = new QHBoxLayout;
    line->setSpacing(12);
    line->addWidget(new SchemeSymbol(
                        symbol, 16, [](const QPalette& p) { return Scheme::text(p, Scheme::Text::Primary); }),
                    0, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(new KitLabel(title, 13, QFont::Medium));
    column->addWidget(detail->wrapping());
    line->addLayout(column, 1);
    return line;
}

} // namespace

CommandNeeds::CommandNeeds(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_providerStatus(new KitLabel({}, 11.5, QFont::Normal, Scheme::Text::Secondary))
    , m_setUp(new SoftButton(L10n::s("commands.provider.setUp"), nullptr, Symbol::Gear))
    , m_native(new KitLabel({}, 11.5, QFont::Normal, Scheme::Text::Secondary))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* card = new Card(20);
    fill->addWidget(card);
    card->content()->setSpacing(14);
    card->content()->addWidget(new KitLabel(L10n::s("commands.needs"), 14, QFont::DemiBold));
    QHBoxLayout* provider = needRow(Symbol::Sparkles, L10n::s("commands.provider"), m_providerStatus);
    provider->addWidget(m_setUp, 0, Qt::AlignVCenter);
    card->content()->addLayout(provider);
    card->content()->addLayout(needRow(Symbol::Globe, L10n::s("commands.native"), m_native));

    // The settings page opens at its top; the correction section is the user's to find there.
    connect(m_setUp, &SoftButton::clicked, this, [this] { m_state.setSection(MainSection::Settings); });
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
